#pragma once
// A decoded sound held whole in memory: interleaved stereo 16-bit frames.
#include <cstddef>
#include <cstdint>
#include <vector>

struct TPcmSound {
  uint32_t Rate = 44100;
  std::vector<int16_t> Samples;  // left, right, left, right, ...

  size_t Frames() const { return Samples.size() / 2; }
};

// Longest sound decoded whole (about six minutes at 44.1 kHz); anything
// longer is refused rather than allowed to grow without bound.
inline constexpr size_t kMaxPcmFrames = size_t{1} << 24;
