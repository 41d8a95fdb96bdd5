#pragma once
// A decoded sound held whole in memory: 16-bit frames, interleaved stereo
// (left, right, ...) as the readers make them, or one sample a frame once a
// sound whose two sides are equal has been folded to mono.
#include <cstddef>
#include <cstdint>
#include <vector>

struct TPcmSound {
  uint32_t Rate = 44100;
  uint32_t Channels = 2;  // 2 interleaved, or 1
  std::vector<int16_t> Samples;

  size_t Frames() const { return Samples.size() / Channels; }
  // Keeps one side of a stereo sound whose sides are the same in every frame
  // (the game's effects are mono files, decoded to stereo): half the memory,
  // the same sound. False, and nothing changed, otherwise.
  bool FoldToMono();
};

// Longest sound decoded whole (about six minutes at 44.1 kHz); anything
// longer is refused rather than allowed to grow without bound.
inline constexpr size_t kMaxPcmFrames = size_t{1} << 24;
