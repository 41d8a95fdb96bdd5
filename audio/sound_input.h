#pragma once
// The bytes of a sound: a window of a memory block the caller keeps alive, or
// a window of a file on disk. Read-only, seekable within the window.
#include <memory>
#include <string>

#include "shell/stream.h"

struct TSoundLocation {
  bool FromMemory = false;
  const void* Memory = nullptr;  // when FromMemory
  std::string Path;              // otherwise
  int64_t Offset = 0;
  int64_t Length = 0;  // 0: up to the end of the file (a memory block needs a length)
};

class TSoundInput : public TVXStreamBase {
 public:
  // Null when the file cannot be opened or the window lies outside it.
  static std::unique_ptr<TSoundInput> Open(const TSoundLocation& Location);

  size_t Read(void* Buffer, size_t Count) override;
  size_t Write(const void*, size_t) override { return 0; }
  bool Seek(int64_t Position) override;
  int64_t Position() const override { return FPosition; }
  int64_t Size() const override { return FLength; }

 private:
  TSoundInput() = default;
  const uint8_t* FMemory = nullptr;
  TVXStreamPtr FFile;
  int64_t FOffset = 0;
  int64_t FLength = 0;
  int64_t FPosition = 0;
};
