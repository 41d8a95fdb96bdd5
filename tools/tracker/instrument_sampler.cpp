#include "tools/tracker/instrument_sampler.h"

#include <algorithm>
#include <cmath>

#include "tools/synth/synth_render.h"

namespace {

constexpr double kSamplePeakDb = -1.0;

uint16_t Ticks(double Seconds, double TickSeconds) {
  return static_cast<uint16_t>(std::clamp(std::lround(Seconds / TickSeconds), 0L, 60000L));
}

void AddPoint(std::vector<TXmEnvelopePoint>& Env, uint16_t Tick, double Level) {
  const uint16_t V = static_cast<uint16_t>(std::clamp(std::lround(Level * 64.0), 0L, 64L));
  // XM envelopes need rising ticks; a zero-length stage is skipped.
  if (!Env.empty() && Tick <= Env.back().Tick) {
    Env.back().Value = V;
    return;
  }
  Env.push_back({Tick, V});
}

}  // namespace

TXmInstrument MakeInstrument(const TTuneInstrument& In, int Bpm, double Gain) {
  TXmInstrument Out;
  Out.Name = In.Name;
  TXmSample& S = Out.Sample;
  S.Volume = static_cast<uint8_t>(std::clamp(std::lround(In.Volume * Gain), 0L, 64L));
  S.Panning = static_cast<uint8_t>(std::clamp(128L + std::lround(In.Pan * 1.27), 0L, 255L));
  const int Rate = SynthRender::kSampleRate;

  if (In.Drum) {
    auto Wave = SynthRender::RenderLayers(In.Layers, static_cast<size_t>(std::lround(In.Length * Rate)));
    SynthRender::NormalizePeak(Wave, kSamplePeakDb);
    const size_t Fade = std::min<size_t>(Wave.size(), Rate / 200);
    for (size_t I = 0; I < Fade; ++I) Wave[Wave.size() - 1 - I] *= static_cast<double>(I) / Fade;
    S.Data = SynthRender::ToPcm16(Wave);
    TuneSample(S, 440.0 * std::pow(2.0, (kDrumNote - 58) / 12.0), Rate);
    return Out;
  }

  // Every layer completes a whole number of cycles in the loop, so the loop
  // joins without a seam.
  const double Base = static_cast<double>(Rate) / In.Period;
  const size_t LoopLen = static_cast<size_t>(In.Period) * In.Cycles;
  std::vector<TSynthLayer> Layers = In.Layers;
  for (auto& L : Layers) {
    if (L.Ratio <= 0) L.Ratio = 1.0;
    L.Ratio = std::max(1.0, std::round(L.Ratio * In.Cycles)) / In.Cycles;
  }
  const size_t Pre = static_cast<size_t>(std::lround(In.Pre * Rate));
  std::vector<double> Wave;
  if (Pre == 0) {
    // Let filters settle for one loop, keep the second.
    auto Two = SynthRender::RenderLayers(Layers, 2 * LoopLen, Base);
    Wave.assign(Two.begin() + static_cast<long>(LoopLen), Two.end());
  } else {
    Wave = SynthRender::RenderLayers(Layers, Pre + LoopLen, Base);
  }
  SynthRender::NormalizePeak(Wave, kSamplePeakDb);
  S.Data = SynthRender::ToPcm16(Wave);
  S.LoopStart = static_cast<uint32_t>(Pre);
  S.LoopLength = static_cast<uint32_t>(LoopLen);
  TuneSample(S, Base, Rate);

  const double Tick = 2.5 / Bpm;
  auto& Env = Out.VolumeEnvelope;
  const uint16_t TA = Ticks(In.Attack, Tick);
  const uint16_t TD = static_cast<uint16_t>(TA + Ticks(In.Decay, Tick));
  AddPoint(Env, 0, TA > 0 ? 0.0 : 1.0);
  if (TA > 0) AddPoint(Env, TA, 1.0);
  if (TD > TA) AddPoint(Env, TD, In.SustainLevel);
  Out.SustainPoint = static_cast<int>(Env.size()) - 1;
  AddPoint(Env, static_cast<uint16_t>(TD + std::max<uint16_t>(1, Ticks(In.Release, Tick))), 0.0);
  return Out;
}
