#pragma once
// The one seekable byte stream every loader reads through. Memory and file
// streams derive from it; whoever asks for a stream owns it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TVXStreamBase {
 public:
  virtual ~TVXStreamBase() = default;

  // Reads up to Count bytes; returns how many were read (short at the end,
  // never past it).
  virtual size_t Read(void* Buffer, size_t Count) = 0;
  // Writes Count bytes; returns how many were written (0 on a read-only stream).
  virtual size_t Write(const void* Buffer, size_t Count) = 0;
  // Moves to an absolute position; positions past the end are allowed
  // (a later write extends the stream). Returns false for a negative position.
  virtual bool Seek(int64_t Position) = 0;
  virtual int64_t Position() const = 0;
  virtual int64_t Size() const = 0;

  bool Eof() const { return Position() >= Size(); }
  int64_t Remaining() const {
    const int64_t R = Size() - Position();
    return R > 0 ? R : 0;
  }
  // Relative seek from the current position.
  bool Skip(int64_t Delta) { return Seek(Position() + Delta); }

  // Exact reads: true only when all bytes were there.
  bool ReadExact(void* Buffer, size_t Count) { return Read(Buffer, Count) == Count; }
  bool WriteExact(const void* Buffer, size_t Count) { return Write(Buffer, Count) == Count; }

  // Little-endian helpers; false (value untouched) when the stream ends early.
  bool ReadU8(uint8_t& Value);
  bool ReadU16(uint16_t& Value);
  bool ReadU32(uint32_t& Value);
  bool ReadI32(int32_t& Value);
  bool WriteU8(uint8_t Value);
  bool WriteU16(uint16_t Value);
  bool WriteU32(uint32_t Value);
  bool WriteI32(int32_t Value);
  bool WriteString(const std::string& Text) { return WriteExact(Text.data(), Text.size()); }

  // Everything from the current position to the end.
  std::vector<uint8_t> ReadRest();
  // The whole stream, position restored afterwards.
  std::vector<uint8_t> ReadAll();
  // Copies up to Count bytes from Source at its position; returns bytes copied.
  int64_t CopyFrom(TVXStreamBase& Source, int64_t Count);
};

using TVXStreamPtr = std::unique_ptr<TVXStreamBase>;
