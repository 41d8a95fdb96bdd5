#include "tools/synth/synth_render.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace SynthRender {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Band-limiting correction for the jumps of saw and pulse waves.
double PolyBlep(double T, double Dt) {
  if (T < Dt) {
    T /= Dt;
    return T + T - T * T - 1.0;
  }
  if (T > 1.0 - Dt) {
    T = (T - 1.0) / Dt;
    return T * T + T + T + 1.0;
  }
  return 0.0;
}

// Xorshift: tiny, seeded, and the same on every machine.
class TNoise {
 public:
  explicit TNoise(uint32_t Seed) : FState(Seed ? Seed : 0x9E3779B9u) {}
  double Next() {
    FState ^= FState << 13;
    FState ^= FState >> 17;
    FState ^= FState << 5;
    return static_cast<double>(FState) / 2147483648.0 - 1.0;
  }

 private:
  uint32_t FState;
};

// Topology-preserving state-variable filter: stays stable under fast sweeps.
class TFilter {
 public:
  double Process(TFilterKind Kind, double Cutoff, double Q, double In) {
    const double Fc = std::clamp(Cutoff, 10.0, 0.45 * kSampleRate);
    const double G = std::tan(std::numbers::pi * Fc / kSampleRate);
    const double K = 1.0 / Q;
    const double A1 = 1.0 / (1.0 + G * (G + K));
    const double A2 = G * A1;
    const double A3 = G * A2;
    const double V3 = In - FIc2;
    const double V1 = A1 * FIc1 + A2 * V3;
    const double V2 = FIc2 + A2 * FIc1 + A3 * V3;
    FIc1 = 2.0 * V1 - FIc1;
    FIc2 = 2.0 * V2 - FIc2;
    switch (Kind) {
      case TFilterKind::LowPass: return V2;
      case TFilterKind::HighPass: return In - K * V1 - V2;
      case TFilterKind::BandPass: return V1;
      case TFilterKind::None: break;
    }
    return In;
  }

 private:
  double FIc1 = 0.0, FIc2 = 0.0;
};

double Envelope(const TSynthLayer& L, double T) {
  if (T < 0) return 0.0;
  if (T < L.Attack) return T / L.Attack;
  T -= L.Attack;
  if (T < L.Hold || L.Decay <= 0) return 1.0;
  const double U = (T - L.Hold) / L.Decay;
  if (U >= 1.0) return L.Sustain;
  return L.Sustain + (1.0 - L.Sustain) * std::pow(1.0 - U, L.Curve);
}

// Exponential sweep from A to B over Span seconds, then B.
double Sweep(double A, double B, double Span, double T) {
  if (B <= 0 || A <= 0) return A;
  const double U = Span > 0 ? std::min(T / Span, 1.0) : 1.0;
  return A * std::pow(B / A, U);
}

void RenderLayer(const TSynthLayer& L, double BaseFreq, std::vector<double>& Out) {
  const double Span = L.EnvelopeSpan() > 0 ? L.EnvelopeSpan() : 1.0;
  const double Start = L.Freq > 0 && L.Ratio > 0 && BaseFreq > 0 ? BaseFreq * L.Ratio : L.Freq;
  const double End = L.FreqTo > 0 && L.Ratio > 0 && BaseFreq > 0 ? BaseFreq * L.Ratio * L.FreqTo / L.Freq : L.FreqTo;
  const double Gain = std::pow(10.0, L.GainDb / 20.0);
  const double Duty = L.Wave == TWaveShape::Square ? 0.5 : L.Duty;
  TNoise Noise(L.Seed);
  TFilter Filter;
  double Phase = 0.0;
  double Held = Noise.Next();
  const size_t First = static_cast<size_t>(std::llround(L.Start * kSampleRate));
  for (size_t I = First; I < Out.size(); ++I) {
    const double T = static_cast<double>(I - First) / kSampleRate;
    double F = Sweep(Start, End, L.Glide > 0 ? L.Glide : Span, T);
    if (L.VibDepth != 0 && L.VibRate > 0) F *= std::pow(2.0, L.VibDepth / 12.0 * std::sin(kTwoPi * L.VibRate * T));
    const double Dt = std::min(F / kSampleRate, 0.5);
    double S = 0.0;
    switch (L.Wave) {
      case TWaveShape::Sine: S = std::sin(kTwoPi * Phase); break;
      case TWaveShape::Saw: S = 2.0 * Phase - 1.0 - PolyBlep(Phase, Dt); break;
      case TWaveShape::Square:
      case TWaveShape::Pulse: {
        S = Phase < Duty ? 1.0 : -1.0;
        S += PolyBlep(Phase, Dt);
        S -= PolyBlep(std::fmod(Phase + 1.0 - Duty, 1.0), Dt);
        break;
      }
      case TWaveShape::Triangle: S = 1.0 - 4.0 * std::fabs(Phase - 0.5); break;
      case TWaveShape::Noise: S = Noise.Next(); break;
      case TWaveShape::Crackle: S = Held; break;
    }
    Phase += Dt;
    if (Phase >= 1.0) {
      Phase -= 1.0;
      Held = Noise.Next();
    }
    if (L.Filter != TFilterKind::None) {
      const double Fc = Sweep(L.Cutoff, L.CutoffTo, L.FilterTime > 0 ? L.FilterTime : Span, T);
      S = Filter.Process(L.Filter, Fc, L.Q, S);
    }
    if (L.Drive > 0) S = std::tanh(L.Drive * S) / std::tanh(L.Drive);
    Out[I] += Gain * Envelope(L, T) * S;
  }
}

}  // namespace

std::vector<double> RenderLayers(const std::vector<TSynthLayer>& Layers, size_t Count, double BaseFreq) {
  std::vector<double> Out(Count, 0.0);
  for (const auto& L : Layers) RenderLayer(L, BaseFreq, Out);
  return Out;
}

std::vector<double> RenderPatch(const TSynthPatch& Patch) {
  const size_t Count = static_cast<size_t>(std::llround(Patch.Length * kSampleRate));
  auto Out = RenderLayers(Patch.Layers, Count);
  NormalizePeak(Out, Patch.PeakDb);
  const size_t Fade = std::min<size_t>(Count, kSampleRate / 200);
  for (size_t I = 0; I < Fade; ++I) Out[Count - 1 - I] *= static_cast<double>(I) / Fade;
  return Out;
}

double Peak(const std::vector<double>& Samples) {
  double P = 0.0;
  for (double S : Samples) P = std::max(P, std::fabs(S));
  return P;
}

void NormalizePeak(std::vector<double>& Samples, double PeakDb) {
  const double P = Peak(Samples);
  if (P <= 0) return;
  const double Scale = std::pow(10.0, PeakDb / 20.0) / P;
  for (double& S : Samples) S *= Scale;
}

std::vector<int16_t> ToPcm16(const std::vector<double>& Samples) {
  std::vector<int16_t> Out(Samples.size());
  for (size_t I = 0; I < Samples.size(); ++I)
    Out[I] = static_cast<int16_t>(std::clamp(std::lround(Samples[I] * 32767.0), -32768L, 32767L));
  return Out;
}

}  // namespace SynthRender
