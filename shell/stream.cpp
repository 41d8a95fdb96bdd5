#include "shell/stream.h"

#include <algorithm>

bool TVXStreamBase::ReadU8(uint8_t& Value) { return ReadExact(&Value, 1); }

bool TVXStreamBase::ReadU16(uint16_t& Value) {
  uint8_t B[2];
  if (!ReadExact(B, 2)) return false;
  Value = static_cast<uint16_t>(B[0] | (B[1] << 8));
  return true;
}

bool TVXStreamBase::ReadU32(uint32_t& Value) {
  uint8_t B[4];
  if (!ReadExact(B, 4)) return false;
  Value = static_cast<uint32_t>(B[0]) | (static_cast<uint32_t>(B[1]) << 8) | (static_cast<uint32_t>(B[2]) << 16) |
          (static_cast<uint32_t>(B[3]) << 24);
  return true;
}

bool TVXStreamBase::ReadI32(int32_t& Value) {
  uint32_t U;
  if (!ReadU32(U)) return false;
  Value = static_cast<int32_t>(U);
  return true;
}

bool TVXStreamBase::WriteU8(uint8_t Value) { return WriteExact(&Value, 1); }

bool TVXStreamBase::WriteU16(uint16_t Value) {
  const uint8_t B[2] = {static_cast<uint8_t>(Value), static_cast<uint8_t>(Value >> 8)};
  return WriteExact(B, 2);
}

bool TVXStreamBase::WriteU32(uint32_t Value) {
  const uint8_t B[4] = {static_cast<uint8_t>(Value), static_cast<uint8_t>(Value >> 8),
                        static_cast<uint8_t>(Value >> 16), static_cast<uint8_t>(Value >> 24)};
  return WriteExact(B, 4);
}

bool TVXStreamBase::WriteI32(int32_t Value) { return WriteU32(static_cast<uint32_t>(Value)); }

std::vector<uint8_t> TVXStreamBase::ReadRest() {
  std::vector<uint8_t> Data(static_cast<size_t>(Remaining()));
  Data.resize(Read(Data.data(), Data.size()));
  return Data;
}

std::vector<uint8_t> TVXStreamBase::ReadAll() {
  const int64_t Old = Position();
  Seek(0);
  std::vector<uint8_t> Data = ReadRest();
  Seek(Old);
  return Data;
}

int64_t TVXStreamBase::CopyFrom(TVXStreamBase& Source, int64_t Count) {
  uint8_t Buffer[65536];
  int64_t Done = 0;
  while (Done < Count) {
    const size_t Want = static_cast<size_t>(std::min<int64_t>(Count - Done, sizeof Buffer));
    const size_t Got = Source.Read(Buffer, Want);
    if (Got == 0) break;
    const size_t Put = Write(Buffer, Got);
    Done += static_cast<int64_t>(Put);
    if (Put < Got) break;
  }
  return Done;
}
