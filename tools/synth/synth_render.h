#pragma once
// Turns synth layers into samples. Everything is plain arithmetic on doubles
// with a seeded noise generator, so the same layers always give the same samples.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/synth/synth_patch.h"

namespace SynthRender {

inline constexpr int kSampleRate = 44100;

// Sums the layers over Count samples. Layers with a Ratio take their pitch
// from BaseFreq times the ratio; the others play their own Freq.
std::vector<double> RenderLayers(const std::vector<TSynthLayer>& Layers, size_t Count, double BaseFreq = 0.0);
// A whole sound: its layers over its length, scaled to its peak, with a few
// milliseconds of fade at the end so a cut tail cannot click.
std::vector<double> RenderPatch(const TSynthPatch& Patch);
// Largest absolute sample value.
double Peak(const std::vector<double>& Samples);
// Scales the samples so that their peak is PeakDb below full scale.
void NormalizePeak(std::vector<double>& Samples, double PeakDb);
// Rounds to 16-bit samples, clamped to the 16-bit range.
std::vector<int16_t> ToPcm16(const std::vector<double>& Samples);

}  // namespace SynthRender
