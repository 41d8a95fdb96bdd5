#include "tools/tracker/tune.h"

#include <cmath>
#include <sstream>

using SynthText::Number;
using SynthText::SplitKeyValue;
using SynthText::Words;

const TTuneInstrument* TTune::FindInstrument(const std::string& Name) const {
  const int I = InstrumentIndex(Name);
  return I < 0 ? nullptr : &Instruments[static_cast<size_t>(I)];
}

int TTune::InstrumentIndex(const std::string& Name) const {
  for (size_t I = 0; I < Instruments.size(); ++I)
    if (Instruments[I].Name == Name) return static_cast<int>(I);
  return -1;
}

const TTunePart* TTune::FindPart(const std::string& Name) const {
  for (const auto& P : Parts)
    if (P.Name == Name) return &P;
  return nullptr;
}

const TTuneSection* TTune::FindSection(const std::string& Name) const {
  for (const auto& S : Sections)
    if (S.Name == Name) return &S;
  return nullptr;
}

namespace {

int Integer(const std::string& Key, const std::string& Value, int Lo, int Hi) {
  const double D = Number(Key, Value);
  if (D < Lo || D > Hi || D != std::floor(D))
    throw ESynthSyntax(Key + " must be a whole number from " + std::to_string(Lo) + " to " + std::to_string(Hi));
  return static_cast<int>(D);
}

std::string RestOfLine(std::string_view Line, const std::string& Keyword) {
  const size_t P = Line.find(Keyword);
  std::string R(Line.substr(P + Keyword.size()));
  const size_t A = R.find_first_not_of(" \t");
  const size_t B = R.find_last_not_of(" \t\r");
  return A == std::string::npos ? std::string() : R.substr(A, B - A + 1);
}

void ParseInstrumentKey(TTuneInstrument& I, const std::string& K, const std::string& V) {
  if (K == "vol") I.Volume = Integer(K, V, 0, 64);
  else if (K == "pan") I.Pan = Integer(K, V, -100, 100);
  else if (K == "period") I.Period = Integer(K, V, 8, 4000);
  else if (K == "cycles") I.Cycles = Integer(K, V, 1, 1000);
  else if (K == "pre") I.Pre = Number(K, V);
  else if (K == "length") I.Length = Number(K, V);
  else if (K == "env") {
    std::vector<double> D;
    std::stringstream S(V);
    std::string Item;
    while (std::getline(S, Item, ',')) D.push_back(Number(K, Item));
    if (D.size() != 4) throw ESynthSyntax("env takes attack,decay,sustain,release");
    // Longer stages would overrun the 16-bit tick positions of the envelope.
    for (double X : D)
      if (X < 0 || X > 60) throw ESynthSyntax("env values must lie from 0 to 60");
    if (D[2] > 1) throw ESynthSyntax("env sustain must not exceed 1");
    I.Attack = D[0];
    I.Decay = D[1];
    I.SustainLevel = D[2];
    I.Release = D[3];
  } else {
    throw ESynthSyntax("unknown instrument key '" + K + "'");
  }
  if (I.Pre < 0 || I.Pre > 10 || I.Length <= 0 || I.Length > 10)
    throw ESynthSyntax("pre and length must lie within 10 seconds");
}

}  // namespace

TTune ParseTune(std::string_view Text) {
  TTune T;
  ParseTuneInto(Text, T);
  return T;
}

void ParseTuneInto(std::string_view Text, TTune& T) {
  enum class TBlock { None, Instrument, Chords, Part, Drums } Block = TBlock::None;
  std::string LastChords;
  size_t LineNo = 0, Pos = 0;
  while (Pos <= Text.size()) {
    size_t End = Text.find('\n', Pos);
    if (End == std::string_view::npos) End = Text.size();
    std::string_view Line = Text.substr(Pos, End - Pos);
    Pos = End + 1;
    ++LineNo;
    const size_t Semi = Line.find(';');
    if (Semi != std::string_view::npos) Line = Line.substr(0, Semi);
    const auto W = Words(Line);
    if (W.empty()) continue;
    const bool Indented = Line[0] == ' ' || Line[0] == '\t';
    try {
      if (Indented) {
        switch (Block) {
          case TBlock::None: throw ESynthSyntax("indented line outside a block");
          case TBlock::Instrument:
            if (W[0] != "layer") throw ESynthSyntax("instruments hold only layer lines");
            T.Instruments.back().Layers.push_back(SynthText::ParseLayer(W, 1));
            break;
          case TBlock::Chords: {
            auto& C = T.Chords[LastChords];
            C.insert(C.end(), W.begin(), W.end());
            break;
          }
          case TBlock::Part: T.Parts.back().Tokens.insert(T.Parts.back().Tokens.end(), W.begin(), W.end()); break;
          case TBlock::Drums: T.Parts.back().Drums.push_back({W[0], {W.begin() + 1, W.end()}}); break;
        }
        continue;
      }
      Block = TBlock::None;
      const std::string& Cmd = W[0];
      auto Need = [&](size_t N) {
        if (W.size() < N) throw ESynthSyntax("'" + Cmd + "' needs more words");
      };
      if (Cmd == "title") T.Title = RestOfLine(Line, "title");
      else if (Cmd == "author") T.Author = RestOfLine(Line, "author");
      else if (Cmd == "speed") {
        Need(2);
        T.Speed = Integer(Cmd, W[1], 1, 31);
      } else if (Cmd == "bpm") {
        Need(2);
        T.Bpm = Integer(Cmd, W[1], 32, 255);
      } else if (Cmd == "bar") {
        Need(2);
        T.RowsPerBar = Integer(Cmd, W[1], 1, 64);
      } else if (Cmd == "gain") {
        Need(2);
        T.Gain = Number(Cmd, W[1]);
      } else if (Cmd == "restart") {
        Need(2);
        T.Restart = Integer(Cmd, W[1], 0, 255);
      } else if (Cmd == "instrument" || Cmd == "drum") {
        Need(2);
        TTuneInstrument I;
        I.Name = W[1];
        I.Drum = Cmd == "drum";
        for (size_t K = 2; K < W.size(); ++K) {
          std::string Key, Value;
          SplitKeyValue(W[K], Key, Value);
          ParseInstrumentKey(I, Key, Value);
        }
        if (T.FindInstrument(I.Name)) throw ESynthSyntax("instrument '" + I.Name + "' defined twice");
        T.Instruments.push_back(std::move(I));
        Block = TBlock::Instrument;
      } else if (Cmd == "chords") {
        Need(2);
        if (T.Chords.count(W[1])) throw ESynthSyntax("chords '" + W[1] + "' defined twice");
        T.Chords[W[1]] = {W.begin() + 2, W.end()};
        LastChords = W[1];
        Block = TBlock::Chords;  // more symbols may follow on indented lines
      } else if (Cmd == "melody" || Cmd == "bass" || Cmd == "arp" || Cmd == "pad" || Cmd == "drums") {
        Need(2);
        TTunePart P;
        P.Name = W[1];
        P.Kind = Cmd == "melody" ? TPartKind::Melody
                 : Cmd == "bass" ? TPartKind::Bass
                 : Cmd == "arp"  ? TPartKind::Arp
                 : Cmd == "pad"  ? TPartKind::Pad
                                 : TPartKind::Drums;
        P.Instrument = Cmd == "melody" ? "lead" : Cmd;
        P.Octave = Cmd == "bass" ? 2 : 4;
        for (size_t K = 2; K < W.size(); ++K) {
          if (W[K].find('=') == std::string::npos) {
            P.Tokens.push_back(W[K]);
            continue;
          }
          std::string Key, Value;
          SplitKeyValue(W[K], Key, Value);
          if (Key == "inst") P.Instrument = Value;
          else if (Key == "octave") P.Octave = Integer(Key, Value, 0, 7);
          else if (Key == "center") P.Center = Integer(Key, Value, 24, 96);
          else throw ESynthSyntax("unknown part key '" + Key + "'");
        }
        if (T.FindPart(P.Name)) throw ESynthSyntax("part '" + P.Name + "' defined twice");
        T.Parts.push_back(std::move(P));
        Block = Cmd == "drums" ? TBlock::Drums : TBlock::Part;
      } else if (Cmd == "section") {
        Need(2);
        TTuneSection S;
        S.Name = W[1];
        for (size_t K = 2; K < W.size(); ++K) {
          std::string Key, Value;
          SplitKeyValue(W[K], Key, Value);
          if (Key == "bars") S.Bars = Integer(Key, Value, 1, 64);
          else if (Key == "chords") S.Chords = Value;
          else if (Key == "shift") S.Shift = Integer(Key, Value, -24, 24);
          else if (Key == "lead" || Key == "counter" || Key == "arp" || Key == "pad" || Key == "bass" || Key == "drums")
            S.Parts[Key] = Value;
          else throw ESynthSyntax("unknown section key '" + Key + "'");
        }
        if (T.FindSection(S.Name)) throw ESynthSyntax("section '" + S.Name + "' defined twice");
        T.Sections.push_back(std::move(S));
      } else if (Cmd == "play") {
        T.Play.insert(T.Play.end(), W.begin() + 1, W.end());
      } else {
        throw ESynthSyntax("unknown statement '" + Cmd + "'");
      }
    } catch (const ESynthSyntax& E) { throw ESynthSyntax("line " + std::to_string(LineNo) + ": " + E.what()); }
  }
}
