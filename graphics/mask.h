#pragma once
// TMask: a byte map of an image's solid pixels, for collision checks.
#include <cstdint>
#include <vector>

class TImage;

class TMask {
 public:
  static constexpr const char* kVersion = "MaskUnit, version 1.01";

  // Value where the pixel is not black, 0 where it is; an image without a
  // surface gives an empty mask.
  TMask(const TImage& Image, uint8_t Value);

  int32_t Width = 0;
  int32_t Height = 0;
  // Width*Height bytes, top row first.
  std::vector<uint8_t> Data;

  // The byte at (X, Y); 0 outside the mask.
  uint8_t At(int X, int Y) const;
};
