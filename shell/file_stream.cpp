#include "shell/file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

std::unique_ptr<TFileStream> TFileStream::Open(const std::string& FileName, TMode Mode) {
  const char* How = Mode == TMode::Read ? "rb" : Mode == TMode::ReadWrite ? "r+b" : "w+b";
  const int Flags = Mode == TMode::Read        ? O_RDONLY
                    : Mode == TMode::Create    ? O_RDWR | O_CREAT | O_TRUNC
                    : Mode == TMode::CreateNew ? O_RDWR | O_CREAT | O_EXCL
                                               : O_RDWR;
  // Never wait in open(): a FIFO would hold the program until something
  // writes into it. Only a regular file is a stream that can seek; fopen
  // would happily open a folder for reading too.
  const int Fd = ::open(FileName.c_str(), Flags | O_NONBLOCK | O_CLOEXEC, 0666);
  if (Fd < 0) return nullptr;
  struct stat St;
  const bool Known = fstat(Fd, &St) == 0;
  if (!Known || !S_ISREG(St.st_mode)) {
    const int Cause = !Known ? errno : S_ISDIR(St.st_mode) ? EISDIR : EINVAL;
    ::close(Fd);
    errno = Cause;
    return nullptr;
  }
  fcntl(Fd, F_SETFL, fcntl(Fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* F = fdopen(Fd, How);
  if (!F) {
    const int Cause = errno;
    ::close(Fd);
    errno = Cause;
    return nullptr;
  }
  return std::unique_ptr<TFileStream>(new TFileStream(F, FileName, Mode != TMode::Read));
}

TFileStream::TFileStream(std::FILE* File, std::string FileName, bool Writable)
    : FFile(File), FFileName(std::move(FileName)), FWritable(Writable) {}

TFileStream::~TFileStream() { std::fclose(FFile); }

size_t TFileStream::Read(void* Buffer, size_t Count) {
  if (Count == 0) return 0;
  // C streams need a positioning call between a write and a read.
  if (FLastWasWrite) {
    std::fseek(FFile, 0, SEEK_CUR);
    FLastWasWrite = false;
  }
  return std::fread(Buffer, 1, Count, FFile);
}

size_t TFileStream::Write(const void* Buffer, size_t Count) {
  if (!FWritable || Count == 0) return 0;
  if (!FLastWasWrite) {
    std::fseek(FFile, 0, SEEK_CUR);
    FLastWasWrite = true;
  }
  return std::fwrite(Buffer, 1, Count, FFile);
}

bool TFileStream::Seek(int64_t Position) {
  if (Position < 0) return false;
  return fseeko(FFile, static_cast<off_t>(Position), SEEK_SET) == 0;
}

int64_t TFileStream::Position() const { return static_cast<int64_t>(ftello(FFile)); }

int64_t TFileStream::Size() const {
  std::fflush(FFile);
  struct stat St;
  if (fstat(fileno(FFile), &St) != 0) return 0;
  return static_cast<int64_t>(St.st_size);
}

bool TFileStream::Sync() {
  if (std::fflush(FFile) != 0) return false;
  return fsync(fileno(FFile)) == 0;
}

int TFileStream::Handle() const { return fileno(FFile); }
