#include "registry/store_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "shell/logger.h"
#include "shell/safe_file_writer.h"

namespace {
// Closes the descriptor whatever way the read ends.
class TDescriptor {
 public:
  explicit TDescriptor(int Fd) : FFd(Fd) {}
  ~TDescriptor() {
    if (FFd >= 0) ::close(FFd);
  }
  TDescriptor(const TDescriptor&) = delete;
  TDescriptor& operator=(const TDescriptor&) = delete;
  int Get() const { return FFd; }

 private:
  int FFd;
};

TFileRead Unreadable(std::string* Error, const std::string& Reason) {
  if (Error) *Error = Reason;
  return TFileRead::Unreadable;
}
}  // namespace

TFileRead ReadWholeFile(const std::string& FileName, std::vector<uint8_t>& Bytes, std::string* Error) {
  Bytes.clear();
  // Not blocking: a named pipe would otherwise wait for a writer forever.
  TDescriptor File(::open(FileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (File.Get() < 0) {
    if (errno == ENOENT) return TFileRead::Missing;
    return Unreadable(Error, std::strerror(errno));
  }
  struct stat St;
  if (::fstat(File.Get(), &St) != 0) return Unreadable(Error, std::strerror(errno));
  if (!S_ISREG(St.st_mode)) return Unreadable(Error, "not a regular file");
  uint8_t Buffer[65536];
  for (;;) {
    const ssize_t N = ::read(File.Get(), Buffer, sizeof Buffer);
    if (N == 0) break;
    if (N < 0) {
      if (errno == EINTR) continue;
      return Unreadable(Error, std::strerror(errno));
    }
    Bytes.insert(Bytes.end(), Buffer, Buffer + N);
  }
  return TFileRead::Read;
}

bool TStoreFile::KeepAside(const std::string& FileName) {
  std::vector<uint8_t> Bytes;
  std::string Error;
  switch (ReadWholeFile(FileName, Bytes, &Error)) {
    case TFileRead::Missing: return true;  // gone meanwhile: nothing left to lose
    case TFileRead::Unreadable:
      Log->Error("Not saved: " + FileName + " could not be read (" + Error +
                     ") and cannot be kept aside, so it is left as it is",
                 FHeading);
      return false;
    case TFileRead::Read: break;
  }
  // An earlier damage's copy may be the only one of something else: each
  // copy gets a name of its own, and a name taken meanwhile moves on.
  for (int N = 0; N < kMaxKeptCopies; ++N) {
    const std::string Kept = KeptCopyName(FileName, N);
    struct stat St;
    if (::lstat(Kept.c_str(), &St) == 0) continue;
    bool Existed = false;
    if (TSafeFileWriter::WriteNewFile(Kept, Bytes.data(), Bytes.size(), &Error, &Existed)) {
      Log->Status("Damaged file kept as " + Kept, FHeading);
      FKeptAs = Kept;
      return true;
    }
    if (!Existed) {
      Log->Error("Not saved: cannot keep the damaged file: " + Error, FHeading);
      return false;
    }
  }
  Log->Error("Not saved: " + std::to_string(kMaxKeptCopies) + " damaged copies of " + FileName +
                 " are kept already; it is left as it is until some are moved away",
             FHeading);
  return false;
}

std::string KeptCopyName(const std::string& FileName, int N) {
  return FileName + ".bad" + (N > 0 ? "." + std::to_string(N) : std::string());
}

bool TStoreFile::Save(const std::string& FileName, const std::vector<uint8_t>& Bytes) {
  if (!FDamagedFile.empty() && FDamagedFile == FileName) {
    if (!KeepAside(FileName)) return false;
    FDamagedFile.clear();
  }
  std::string Error;
  if (!TSafeFileWriter::WriteFile(FileName, Bytes.data(), Bytes.size(), &Error)) {
    Log->Error("Not saved, the previous file is kept: " + Error, FHeading);
    return false;
  }
  return true;
}
