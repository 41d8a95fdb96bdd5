#pragma once
// Helpers for the image, sprite, mask and collection tests: small TGA files
// written into a temporary folder and a stream opener that finds them.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/image.h"
#include "storage/stream_opener.h"
#include "tests/support/scope_guard.h"
#include "tests/support/test_support.h"

struct TColor {
  uint8_t R = 0, G = 0, B = 0;
  bool operator==(const TColor&) const = default;
};

// A 24-bit top-down TGA of Width x Height where Pixel(x, y) gives each colour,
// with the given image-ID (information) bytes.
template <typename F>
std::vector<uint8_t> MakeTGA(int Width, int Height, F Pixel, const std::vector<uint8_t>& Id = {}) {
  std::vector<uint8_t> B = {static_cast<uint8_t>(Id.size()),
                            0,
                            2,
                            0,
                            0,
                            0,
                            0,
                            0,
                            0,
                            0,
                            0,
                            0,
                            static_cast<uint8_t>(Width),
                            static_cast<uint8_t>(Width >> 8),
                            static_cast<uint8_t>(Height),
                            static_cast<uint8_t>(Height >> 8),
                            24,
                            0x20};
  B.insert(B.end(), Id.begin(), Id.end());
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X) {
      const TColor C = Pixel(X, Y);
      B.push_back(C.B);
      B.push_back(C.G);
      B.push_back(C.R);
    }
  return B;
}

// Frame k of a strip painted in a colour of its own; black stays black.
inline TColor FrameColor(int K) {
  return {static_cast<uint8_t>(40 + 50 * K), static_cast<uint8_t>(200 - 30 * K), static_cast<uint8_t>(10 * K + 5)};
}

// A strip of Frames frames of Side x Side pixels, each filled with FrameColor,
// and a 2-byte information block (frame count and flags).
inline std::vector<uint8_t> MakeStrip(int Frames, int Side, uint8_t Flags = 0) {
  return MakeTGA(Frames * Side, Side, [Side](int X, int) { return FrameColor(X / Side); },
                 {static_cast<uint8_t>(Frames & 0xFF), static_cast<uint8_t>(((Frames >> 8) & 0x0F) | Flags)});
}

inline TColor ColorAt(const TImage& Image, int X, int Y) {
  TColor C;
  Image.PixelRGB(X, Y, C.R, C.G, C.B);
  return C;
}

// A temporary folder with a stream opener on it and the image depth at 32,
// as when the game runs; pictures are written with Put and opened by path.
class TImageFolder {
 public:
  TImageFolder() { SetImageDepth(32); }
  std::string Put(const std::string& Name, const std::vector<uint8_t>& Bytes) {
    WriteFileBytes(FDir.File(Name), Bytes);
    return FDir.File(Name);
  }
  std::string Put(const std::string& Name, const std::string& Text) {
    WriteFileText(FDir.File(Name), Text);
    return FDir.File(Name);
  }
  const TTempDir& Dir() const { return FDir; }

 private:
  TTempDir FDir;
  TRestore<std::unique_ptr<TVXStreamOpener>> FOpener{StreamOpener,
                                                     std::make_unique<TVXStreamOpener>(FDir.Path() + "/")};
  TScopeGuard FDepth{[Old = ImageDepth()] { SetImageDepth(Old); }};
};
