#include "tools/iconmaker/png_writer.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace Icon {

namespace {

void PutBigEndian(std::vector<uint8_t>& Out, uint32_t V) {
  for (int Shift = 24; Shift >= 0; Shift -= 8) Out.push_back(static_cast<uint8_t>(V >> Shift));
}

// Length, type, data, and the CRC over type and data.
void PutChunk(std::vector<uint8_t>& Out, const char* Type, const std::vector<uint8_t>& Data) {
  PutBigEndian(Out, static_cast<uint32_t>(Data.size()));
  const size_t TypeAt = Out.size();
  Out.insert(Out.end(), Type, Type + 4);
  Out.insert(Out.end(), Data.begin(), Data.end());
  const uLong Crc = crc32(0L, Out.data() + TypeAt, static_cast<uInt>(Out.size() - TypeAt));
  PutBigEndian(Out, static_cast<uint32_t>(Crc));
}

uint8_t ToByte(float V) { return static_cast<uint8_t>(std::lround(std::clamp(V, 0.f, 255.f))); }

}  // namespace

std::vector<uint8_t> EncodePngRgba(int Width, int Height, const std::vector<uint8_t>& Rgba) {
  if (Width <= 0 || Height <= 0 || Rgba.size() != static_cast<size_t>(Width) * Height * 4)
    throw std::invalid_argument("PNG: pixel data does not match " + std::to_string(Width) + "x" +
                                std::to_string(Height));
  // Every row starts with its filter type; 0 leaves the bytes as they are.
  const size_t Row = static_cast<size_t>(Width) * 4;
  std::vector<uint8_t> Raw;
  Raw.reserve((Row + 1) * Height);
  for (int Y = 0; Y < Height; ++Y) {
    Raw.push_back(0);
    Raw.insert(Raw.end(), Rgba.begin() + Y * Row, Rgba.begin() + (Y + 1) * Row);
  }
  uLongf Packed = compressBound(static_cast<uLong>(Raw.size()));
  std::vector<uint8_t> Idat(Packed);
  if (compress2(Idat.data(), &Packed, Raw.data(), static_cast<uLong>(Raw.size()), 9) != Z_OK)
    throw std::runtime_error("PNG: zlib could not compress the pixels");
  Idat.resize(Packed);

  std::vector<uint8_t> Header;
  PutBigEndian(Header, static_cast<uint32_t>(Width));
  PutBigEndian(Header, static_cast<uint32_t>(Height));
  // 8 bits per sample, colour type 6 (RGBA), deflate, adaptive filtering, no interlace.
  Header.insert(Header.end(), {8, 6, 0, 0, 0});

  std::vector<uint8_t> Out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  PutChunk(Out, "IHDR", Header);
  PutChunk(Out, "IDAT", Idat);
  PutChunk(Out, "IEND", {});
  return Out;
}

std::vector<uint8_t> CanvasRgba(const Maker::TCanvas& Canvas) {
  std::vector<uint8_t> Out;
  Out.reserve(static_cast<size_t>(Canvas.Width()) * Canvas.Height() * 4);
  for (int Y = 0; Y < Canvas.Height(); ++Y)
    for (int X = 0; X < Canvas.Width(); ++X) {
      const Maker::TRgb C = Canvas.ColorAt(X, Y);
      const float A = Canvas.AlphaAt(X, Y);
      // A pixel nothing covers keeps black, so resizing never bleeds stray colour.
      const bool Empty = A <= 0;
      Out.push_back(Empty ? 0 : ToByte(C.R));
      Out.push_back(Empty ? 0 : ToByte(C.G));
      Out.push_back(Empty ? 0 : ToByte(C.B));
      Out.push_back(ToByte(A * 255));
    }
  return Out;
}

}  // namespace Icon
