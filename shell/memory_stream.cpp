#include "shell/memory_stream.h"

#include <algorithm>
#include <cstring>

TMemoryStream::TMemoryStream(const void* Bytes, size_t Count)
    : FData(static_cast<const uint8_t*>(Bytes), static_cast<const uint8_t*>(Bytes) + Count) {}

TVXStreamPtr TMemoryStream::FromString(const std::string& Text) {
  return std::make_unique<TMemoryStream>(Text.data(), Text.size());
}

size_t TMemoryStream::Read(void* Buffer, size_t Count) {
  if (FPosition >= Size() || Count == 0) return 0;
  const size_t N = std::min<size_t>(Count, static_cast<size_t>(Size() - FPosition));
  std::memcpy(Buffer, FData.data() + FPosition, N);
  FPosition += static_cast<int64_t>(N);
  return N;
}

size_t TMemoryStream::Write(const void* Buffer, size_t Count) {
  if (Count == 0) return 0;
  const size_t End = static_cast<size_t>(FPosition) + Count;
  if (End > FData.size()) FData.resize(End);
  std::memcpy(FData.data() + FPosition, Buffer, Count);
  FPosition = static_cast<int64_t>(End);
  return Count;
}

bool TMemoryStream::Seek(int64_t Position) {
  if (Position < 0) return false;
  FPosition = Position;
  return true;
}
