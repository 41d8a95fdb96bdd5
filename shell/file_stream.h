#pragma once
// A stream over a file on disk.
#include <cstdio>

#include "shell/stream.h"

class TFileStream : public TVXStreamBase {
 public:
  enum class TMode {
    Read,       // existing file, read only, others may read and write it too
    Create,     // create or truncate, read and write
    ReadWrite,  // existing file, read and write
    CreateNew,  // a new file only (fails with EEXIST when the name is taken), read and write
  };

  // Opens the file; returns null (errno tells why) when it cannot be opened
  // in that mode or is no regular file (a folder, a FIFO, a device).
  static std::unique_ptr<TFileStream> Open(const std::string& FileName, TMode Mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  size_t Read(void* Buffer, size_t Count) override;
  size_t Write(const void* Buffer, size_t Count) override;
  bool Seek(int64_t Position) override;
  int64_t Position() const override;
  int64_t Size() const override;

  // Pushes written bytes to the disk (fflush + fsync).
  bool Sync();
  // The OS file descriptor, for locking.
  int Handle() const;
  const std::string& FileName() const { return FFileName; }

 private:
  TFileStream(std::FILE* File, std::string FileName, bool Writable);
  std::FILE* FFile;
  std::string FFileName;
  bool FWritable;
  bool FLastWasWrite = false;
};
