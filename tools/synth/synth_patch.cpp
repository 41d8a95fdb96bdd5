#include "tools/synth/synth_patch.h"

#include <cmath>
#include <cstdlib>

double TSynthLayer::EnvelopeSpan() const { return Attack + Hold + Decay; }

namespace SynthText {

std::vector<std::string> Words(std::string_view Line) {
  std::vector<std::string> Result;
  size_t I = 0;
  while (I < Line.size()) {
    while (I < Line.size() && (Line[I] == ' ' || Line[I] == '\t' || Line[I] == '\r')) ++I;
    size_t J = I;
    while (J < Line.size() && Line[J] != ' ' && Line[J] != '\t' && Line[J] != '\r') ++J;
    if (J > I) Result.emplace_back(Line.substr(I, J - I));
    I = J;
  }
  return Result;
}

void SplitKeyValue(const std::string& Word, std::string& Key, std::string& Value) {
  const size_t Eq = Word.find('=');
  if (Eq == std::string::npos || Eq == 0) throw ESynthSyntax("expected key=value, got '" + Word + "'");
  Key = Word.substr(0, Eq);
  Value = Word.substr(Eq + 1);
}

double Number(const std::string& Key, const std::string& Value) {
  if (Value.empty()) throw ESynthSyntax("no value for " + Key);
  char* End = nullptr;
  const double D = std::strtod(Value.c_str(), &End);
  if (End != Value.c_str() + Value.size() || !std::isfinite(D))
    throw ESynthSyntax("not a number for " + Key + ": '" + Value + "'");
  return D;
}

namespace {

TWaveShape ParseWave(const std::string& V) {
  if (V == "sine") return TWaveShape::Sine;
  if (V == "square") return TWaveShape::Square;
  if (V == "pulse") return TWaveShape::Pulse;
  if (V == "saw") return TWaveShape::Saw;
  if (V == "triangle") return TWaveShape::Triangle;
  if (V == "noise") return TWaveShape::Noise;
  if (V == "crackle") return TWaveShape::Crackle;
  throw ESynthSyntax("unknown wave '" + V + "'");
}

TFilterKind ParseFilter(const std::string& V) {
  if (V == "none") return TFilterKind::None;
  if (V == "lowpass") return TFilterKind::LowPass;
  if (V == "highpass") return TFilterKind::HighPass;
  if (V == "bandpass") return TFilterKind::BandPass;
  throw ESynthSyntax("unknown filter '" + V + "'");
}

// Times and frequencies must not be negative; a negative decay or cutoff
// would make the renderer divide by zero or run the filter unstable.
double NonNegative(const std::string& Key, const std::string& Value) {
  const double D = Number(Key, Value);
  if (D < 0) throw ESynthSyntax(Key + " must not be negative");
  return D;
}

}  // namespace

TSynthLayer ParseLayer(const std::vector<std::string>& W, size_t First) {
  TSynthLayer L;
  for (size_t I = First; I < W.size(); ++I) {
    std::string K, V;
    SplitKeyValue(W[I], K, V);
    if (K == "wave") L.Wave = ParseWave(V);
    else if (K == "freq") L.Freq = NonNegative(K, V);
    else if (K == "to") L.FreqTo = NonNegative(K, V);
    else if (K == "glide") L.Glide = NonNegative(K, V);
    else if (K == "ratio") L.Ratio = NonNegative(K, V);
    else if (K == "duty") L.Duty = NonNegative(K, V);
    else if (K == "vib") L.VibDepth = Number(K, V);
    else if (K == "vibrate") L.VibRate = NonNegative(K, V);
    else if (K == "at") L.Start = NonNegative(K, V);
    else if (K == "attack") L.Attack = NonNegative(K, V);
    else if (K == "hold") L.Hold = NonNegative(K, V);
    else if (K == "decay") L.Decay = NonNegative(K, V);
    else if (K == "sustain") L.Sustain = NonNegative(K, V);
    else if (K == "curve") L.Curve = NonNegative(K, V);
    else if (K == "gain") L.GainDb = Number(K, V);
    else if (K == "filter") L.Filter = ParseFilter(V);
    else if (K == "cutoff") L.Cutoff = NonNegative(K, V);
    else if (K == "cutoff_to") L.CutoffTo = NonNegative(K, V);
    else if (K == "ftime") L.FilterTime = NonNegative(K, V);
    else if (K == "q") L.Q = NonNegative(K, V);
    else if (K == "drive") L.Drive = NonNegative(K, V);
    else if (K == "seed") {
      const double Seed = NonNegative(K, V);
      if (Seed > 4294967295.0) throw ESynthSyntax("seed must fit in 32 bits");
      L.Seed = static_cast<uint32_t>(Seed);
    } else throw ESynthSyntax("unknown layer key '" + K + "'");
  }
  if (L.Duty <= 0 || L.Duty >= 1) throw ESynthSyntax("duty must lie between 0 and 1");
  if (L.Q < 0.1) throw ESynthSyntax("q must be at least 0.1");
  if (L.Cutoff < 1) throw ESynthSyntax("cutoff must be at least 1 Hz");
  if (L.Sustain > 1) throw ESynthSyntax("sustain must not exceed 1");
  return L;
}

TSynthPatch ParsePatch(std::string_view Text) {
  TSynthPatch P;
  bool HaveSound = false;
  size_t LineNo = 0;
  size_t Pos = 0;
  while (Pos <= Text.size()) {
    size_t End = Text.find('\n', Pos);
    if (End == std::string_view::npos) End = Text.size();
    const std::string_view Line = Text.substr(Pos, End - Pos);
    Pos = End + 1;
    ++LineNo;
    const auto W = Words(Line);
    if (W.empty() || W[0][0] == ';' || W[0][0] == '#') continue;
    try {
      if (W[0] == "sound") {
        HaveSound = true;
        for (size_t I = 1; I < W.size(); ++I) {
          std::string K, V;
          SplitKeyValue(W[I], K, V);
          if (K == "length") P.Length = Number(K, V);
          else if (K == "peak") P.PeakDb = Number(K, V);
          else throw ESynthSyntax("unknown sound key '" + K + "'");
        }
        if (P.Length <= 0 || P.Length > 30) throw ESynthSyntax("length must lie in (0, 30] seconds");
        if (P.PeakDb > 0) throw ESynthSyntax("peak must not be above 0 dB");
      } else if (W[0] == "layer") {
        P.Layers.push_back(ParseLayer(W, 1));
      } else {
        throw ESynthSyntax("unknown statement '" + W[0] + "'");
      }
    } catch (const ESynthSyntax& E) { throw ESynthSyntax("line " + std::to_string(LineNo) + ": " + E.what()); }
  }
  if (!HaveSound) throw ESynthSyntax("no 'sound' line");
  if (P.Layers.empty()) throw ESynthSyntax("no layers");
  return P;
}

}  // namespace SynthText
