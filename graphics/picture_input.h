#pragma once
// Buffered little-endian reading for the picture readers. Pictures are read
// a byte or a pixel at a time; going through the stream's virtual Read for
// each would dominate decoding. The stream is left just after the last byte
// the reader took once the input object goes away.
#include <cstdint>
#include <string>
#include <vector>

#include "shell/stream.h"

class TPictureInput {
 public:
  explicit TPictureInput(TVXStreamBase& Stream);
  ~TPictureInput();
  TPictureInput(const TPictureInput&) = delete;
  TPictureInput& operator=(const TPictureInput&) = delete;

  // Up to Count bytes; fewer at the end of the stream.
  size_t Read(void* Buffer, size_t Count);
  bool ReadExact(void* Buffer, size_t Count) { return Read(Buffer, Count) == Count; }
  bool ReadU8(uint8_t& Value) {
    if (FPos < FLen) {
      Value = FBuffer[FPos++];
      return true;
    }
    return ReadExact(&Value, 1);
  }
  bool ReadU16(uint16_t& Value);
  bool ReadU32(uint32_t& Value);
  bool ReadI32(int32_t& Value);

  int64_t Position() const { return FBufferStart + static_cast<int64_t>(FPos); }
  int64_t Size() const { return FStream.Size(); }
  int64_t Remaining() const {
    const int64_t R = Size() - Position();
    return R > 0 ? R : 0;
  }
  bool Seek(int64_t Position);
  bool Skip(int64_t Delta) { return Seek(Position() + Delta); }

 private:
  TVXStreamBase& FStream;
  std::vector<uint8_t> FBuffer;
  size_t FPos = 0, FLen = 0;
  int64_t FBufferStart = 0;  // stream position of FBuffer[0]
};

// Problems of the TGA and TXF readers go to standard output as single lines.
void WritePictureMessage(const std::string& Text);

// Whether a Width x Height picture may be allocated: within the side and size
// caps, and no bigger than StreamBytes could fill at PixelsPerByte (the densest
// encoding the format has), with a little slack for tiny pictures.
bool PictureSizeAllowed(int64_t Width, int64_t Height, int64_t StreamBytes, int64_t PixelsPerByte);
