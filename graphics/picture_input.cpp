#include "graphics/picture_input.h"

#include <algorithm>
#include <cstring>
#include <iostream>

#include "graphics/raw_picture.h"

namespace {
constexpr size_t kBufferSize = 64 * 1024;
// Pictures this small are always allowed, whatever the stream holds.
constexpr int64_t kSlackPixels = 4096;
}  // namespace

TPictureInput::TPictureInput(TVXStreamBase& Stream)
    : FStream(Stream), FBuffer(kBufferSize), FBufferStart(Stream.Position()) {}

TPictureInput::~TPictureInput() { FStream.Seek(Position()); }

size_t TPictureInput::Read(void* Buffer, size_t Count) {
  auto* Out = static_cast<uint8_t*>(Buffer);
  size_t Done = 0;
  while (Done < Count) {
    if (FPos < FLen) {
      const size_t N = std::min(Count - Done, FLen - FPos);
      std::memcpy(Out + Done, FBuffer.data() + FPos, N);
      FPos += N;
      Done += N;
      continue;
    }
    FBufferStart += static_cast<int64_t>(FLen);
    FPos = FLen = 0;
    if (Count - Done >= FBuffer.size()) {
      // Large blocks go straight to the caller.
      const size_t N = FStream.Read(Out + Done, Count - Done);
      FBufferStart += static_cast<int64_t>(N);
      Done += N;
      break;
    }
    FLen = FStream.Read(FBuffer.data(), FBuffer.size());
    if (FLen == 0) break;
  }
  return Done;
}

bool TPictureInput::ReadU16(uint16_t& Value) {
  uint8_t B[2];
  if (!ReadExact(B, 2)) return false;
  Value = static_cast<uint16_t>(B[0] | (B[1] << 8));
  return true;
}

bool TPictureInput::ReadU32(uint32_t& Value) {
  uint8_t B[4];
  if (!ReadExact(B, 4)) return false;
  Value = static_cast<uint32_t>(B[0]) | (static_cast<uint32_t>(B[1]) << 8) | (static_cast<uint32_t>(B[2]) << 16) |
          (static_cast<uint32_t>(B[3]) << 24);
  return true;
}

bool TPictureInput::ReadI32(int32_t& Value) {
  uint32_t U;
  if (!ReadU32(U)) return false;
  Value = static_cast<int32_t>(U);
  return true;
}

bool TPictureInput::Seek(int64_t Position) {
  if (Position < 0) return false;
  if (Position >= FBufferStart && Position <= FBufferStart + static_cast<int64_t>(FLen)) {
    FPos = static_cast<size_t>(Position - FBufferStart);
    return true;
  }
  if (!FStream.Seek(Position)) return false;
  FBufferStart = Position;
  FPos = FLen = 0;
  return true;
}

void WritePictureMessage(const std::string& Text) { std::cout << Text << std::endl; }

bool PictureSizeAllowed(int64_t Width, int64_t Height, int64_t StreamBytes, int64_t PixelsPerByte) {
  if (Width < 0 || Height < 0) return false;
  if (Width > TRawPicture::kMaxSide || Height > TRawPicture::kMaxSide) return false;
  const int64_t Pixels = Width * Height;
  if (Pixels * 3 > TRawPicture::kMaxDataBytes) return false;
  if (StreamBytes < 0) StreamBytes = 0;
  return Pixels <= kSlackPixels || Pixels <= StreamBytes * PixelsPerByte;
}
