#pragma once
// Helpers for the picture reader tests: ImageMagick as an independent writer
// and reader, the TGA header for hand-made files, and a folder the stream
// opener finds pictures in.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/raw_picture.h"
#include "storage/stream_opener.h"
#include "tests/support/bytes.h"
#include "tests/support/scope_guard.h"
#include "tests/support/test_support.h"

namespace picture_test {

// Pixels as ImageMagick reads them: RGB bytes, rows top-down.
struct TPPM {
  int Width = 0, Height = 0;
  std::vector<uint8_t> RGB;
};

// Parses a binary P6 file with 8-bit samples; Width 0 on failure.
inline TPPM ParsePPM(const std::vector<uint8_t>& Bytes) {
  TPPM P;
  size_t Pos = 0;
  auto Token = [&]() {
    std::string T;
    while (Pos < Bytes.size()) {
      const char C = static_cast<char>(Bytes[Pos]);
      if (C == '#') {
        while (Pos < Bytes.size() && Bytes[Pos] != '\n') ++Pos;
      } else if (C == ' ' || C == '\n' || C == '\r' || C == '\t') {
        if (!T.empty()) break;
        ++Pos;
      } else {
        T += C;
        ++Pos;
      }
    }
    return T;
  };
  if (Token() != "P6") return P;
  const int W = std::stoi(Token()), H = std::stoi(Token()), Max = std::stoi(Token());
  ++Pos;  // the one whitespace byte before the samples
  if (Max != 255 || Bytes.size() < Pos + static_cast<size_t>(W) * H * 3) return P;
  P.Width = W;
  P.Height = H;
  P.RGB.assign(Bytes.begin() + static_cast<long>(Pos), Bytes.begin() + static_cast<long>(Pos) + W * H * 3);
  return P;
}

// Runs ImageMagick's convert with the given arguments; true on success.
inline bool Magick(const std::string& Args) { return RunCommand("/usr/bin/convert " + Args + " 2>/dev/null") == 0; }

// ImageMagick's own reading of a picture file, turned upright by the
// orientation the file gives (ImageMagick otherwise keeps file row order).
inline TPPM MagickRead(const TTempDir& Dir, const std::string& File) {
  const std::string Out = Dir.File("magick-read.ppm");
  if (!Magick("'" + File + "' -auto-orient -depth 8 'ppm:" + Out + "'")) return {};
  return ParsePPM(ReadFileBytes(Out));
}

// Writes a P6 file of W x H whose pixels run in short stretches of one colour
// out of a set of about Colors colours (so run-length coding has runs and
// literal stretches), with a little noise.
inline void WritePattern(const std::string& Path, int W, int H, unsigned Seed, int Colors = 200) {
  std::string Bytes = "P6\n" + std::to_string(W) + " " + std::to_string(H) + "\n255\n";
  uint32_t S = Seed * 2654435761u + 1;
  auto Next = [&S]() {
    S = S * 1103515245u + 12345u;
    return (S >> 8) & 0xFFFFFF;
  };
  int Left = 0;
  uint32_t C = 0;
  for (int I = 0; I < W * H; ++I) {
    if (Left-- <= 0) {
      Left = static_cast<int>(Next() % 9);
      const uint32_t K = Next() % static_cast<uint32_t>(Colors);
      C = (K * 0x9E3779B1u) & 0xFFFFFF;
    }
    Bytes += static_cast<char>(C >> 16);
    Bytes += static_cast<char>(C >> 8);
    Bytes += static_cast<char>(C);
  }
  WriteFileText(Path, Bytes);
}

// Compares a picture (blue, green, red) with ImageMagick's RGB pixels.
inline ::testing::AssertionResult SamePixels(const TRawPicture& Pic, const TPPM& Ref) {
  if (Ref.Width == 0) return ::testing::AssertionFailure() << "ImageMagick could not read the picture";
  if (Pic.Width != Ref.Width || Pic.Height != Ref.Height)
    return ::testing::AssertionFailure() << "size " << Pic.Width << "x" << Pic.Height << ", expected " << Ref.Width
                                         << "x" << Ref.Height;
  int Mismatches = 0;
  std::string First;
  for (int Y = 0; Y < Pic.Height; ++Y)
    for (int X = 0; X < Pic.Width; ++X) {
      const uint8_t* P = Pic.PixelAt(X, Y);
      const uint8_t* R = &Ref.RGB[(static_cast<size_t>(Y) * Ref.Width + X) * 3];
      if (P[2] != R[0] || P[1] != R[1] || P[0] != R[2]) {
        if (Mismatches++ == 0)
          First = "(" + std::to_string(X) + "," + std::to_string(Y) + ") is " + std::to_string(P[2]) + "," +
                  std::to_string(P[1]) + "," + std::to_string(P[0]) + " instead of " + std::to_string(R[0]) + "," +
                  std::to_string(R[1]) + "," + std::to_string(R[2]);
      }
    }
  if (Mismatches == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << Mismatches << " pixels differ, first " << First;
}

// The 18-byte TGA header.
inline TBytes TgaHeader(int IdLength, int MapType, int Type, int MapLength, int MapEntrySize, int W, int H, int Depth,
                        int Descriptor) {
  TBytes T;
  T.U8(IdLength).U8(MapType).U8(Type).U16(0).U16(MapLength).U8(MapEntrySize).U16(0).U16(0).U16(W).U16(H);
  T.U8(Depth).U8(Descriptor);
  return T;
}

// A stream opener on a temporary folder for the lifetime of the object.
class TPictureFolder {
 public:
  std::string Put(const std::string& Name, const std::vector<uint8_t>& Bytes) const {
    WriteFileBytes(FDir.File(Name), Bytes);
    return FDir.File(Name);
  }
  const TTempDir& Dir() const { return FDir; }

 private:
  TTempDir FDir;
  TRestore<std::unique_ptr<TVXStreamOpener>> FOpener{StreamOpener,
                                                     std::make_unique<TVXStreamOpener>(FDir.Path() + "/")};
};

}  // namespace picture_test
