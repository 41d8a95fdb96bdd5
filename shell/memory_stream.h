#pragma once
// A stream over bytes held in memory; grows on writes.
#include "shell/stream.h"

class TMemoryStream : public TVXStreamBase {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> Bytes) : FData(std::move(Bytes)) {}
  TMemoryStream(const void* Bytes, size_t Count);
  static TVXStreamPtr FromString(const std::string& Text);

  size_t Read(void* Buffer, size_t Count) override;
  size_t Write(const void* Buffer, size_t Count) override;
  bool Seek(int64_t Position) override;
  int64_t Position() const override { return FPosition; }
  int64_t Size() const override { return static_cast<int64_t>(FData.size()); }

  const std::vector<uint8_t>& Data() const { return FData; }
  std::vector<uint8_t>& Data() { return FData; }
  void Clear() {
    FData.clear();
    FPosition = 0;
  }

 private:
  std::vector<uint8_t> FData;
  int64_t FPosition = 0;
};
