#include "shell/safe_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "shell/toolbox.h"
#include "shell/web_bridge.h"

namespace {
// A buffered write can fail without the system naming a cause.
std::string SystemCause() { return errno != 0 ? std::strerror(errno) : "write error"; }

std::string SystemError(const std::string& What, const std::string& Name) {
  return What + " " + Name + ": " + SystemCause();
}

// A rename is only durable once the folder entry itself is on the disk.
void SyncFolder(const std::string& FileName) {
  const std::string Folder = VXToolbox::ExtractFileDir(FileName);
  const int Fd = ::open(Folder.empty() ? "." : Folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (Fd < 0) return;
  ::fsync(Fd);
  ::close(Fd);
}

bool RenameOver(const std::string& From, const std::string& To, std::string& Error) {
  if (std::rename(From.c_str(), To.c_str()) == 0) return true;
  Error = SystemError("cannot replace", To);
  return false;
}

// A hard link is made only where no entry of that name exists, so two savers
// can never write over each other's file. A file system without hard links
// gets a look first and a rename.
bool LinkNew(const std::string& From, const std::string& To, std::string& Error, bool& Existed) {
  int Result = ::link(From.c_str(), To.c_str());
  if (Result != 0 && (errno == EPERM || errno == EOPNOTSUPP || errno == ENOSYS || errno == EMLINK)) {
    if (::access(To.c_str(), F_OK) == 0) errno = EEXIST;
    else if (errno == ENOENT) Result = std::rename(From.c_str(), To.c_str());
  }
  if (Result != 0) {
    Existed = errno == EEXIST;
    Error = SystemError("cannot create", To);
    return false;
  }
  // The temporary name goes; the content stays under the new one.
  ::unlink(From.c_str());
  return true;
}
// A name part no other writer picks: the process, a count within it and
// the clock, mixed so that neighbouring saves do not look alike.
std::string UniqueTag() {
  static std::atomic<uint64_t> Count{0};
  const uint64_t Now = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  uint64_t X = (static_cast<uint64_t>(::getpid()) << 40) ^ (Count.fetch_add(1) * 0x9E3779B97F4A7C15ull) ^ Now;
  X ^= X >> 31;
  X *= 0xBF58476D1CE4E5B9ull;
  X ^= X >> 29;
  static const char* const Digits = "0123456789abcdef";
  std::string Tag;
  for (int I = 0; I < 8; ++I, X >>= 4) Tag += Digits[X & 15];
  return Tag;
}

// A link's target is read relative to the folder the link lies in.
constexpr int kMaxLinks = 40;
}  // namespace

std::string FollowLinks(const std::string& FileName) {
  std::string Name = FileName;
  for (int I = 0; I < kMaxLinks; ++I) {
    struct stat St;
    if (::lstat(Name.c_str(), &St) != 0 || !S_ISLNK(St.st_mode)) return Name;
    std::string Target(static_cast<size_t>(St.st_size > 0 ? St.st_size : 255) + 1, '\0');
    const ssize_t N = ::readlink(Name.c_str(), Target.data(), Target.size());
    if (N <= 0 || static_cast<size_t>(N) >= Target.size()) return Name;
    Target.resize(static_cast<size_t>(N));
    Name = Target.front() == '/' ? Target : VXToolbox::ExtractFileDir(Name) + Target;
  }
  return Name;
}

TSafeFileWriter::TSafeFileWriter(std::string FileName) : FFileName(std::move(FileName)) {}

TSafeFileWriter::~TSafeFileWriter() {
  if (FCommitted) return;
  const bool Created = FStream != nullptr;
  FStream.reset();
  if (Created) std::remove(FTempName.c_str());
}

void TSafeFileWriter::Failed(const std::string& What, const std::string& Name) {
  FCause = SystemCause();
  FError = What + " " + Name + ": " + FCause;
}

void TSafeFileWriter::WriteFailed() { Failed("cannot write", FTempName); }

bool TSafeFileWriter::CreateTemp(const std::string& Target) {
  for (int Try = 0; Try < 100; ++Try) {
    FTempName = Target + "." + UniqueTag() + ".tmp";
    errno = 0;
    FStream = TFileStream::Open(FTempName, TFileStream::TMode::CreateNew);
    if (FStream || errno != EEXIST) break;
  }
  if (!FStream) Failed("cannot create", FTempName);
  return FStream != nullptr;
}

bool TSafeFileWriter::Open() {
  FTarget = FollowLinks(FFileName);
  // Only a regular file is replaced: renaming over a pipe or a device node
  // would take the system's own entry away.
  struct stat St;
  errno = 0;
  const bool Exists = ::stat(FTarget.c_str(), &St) == 0;
  if (!Exists && errno != ENOENT) {
    // A loop of links, or a folder on the way that cannot be searched.
    Failed("cannot replace", FFileName);
    return false;
  }
  if (Exists && !S_ISREG(St.st_mode)) {
    FExisted = true;
    FCause = S_ISDIR(St.st_mode) ? "Is a directory" : "not a regular file";
    FError = "cannot replace " + FFileName + ": " + FCause;
    return false;
  }
  if (!CreateTemp(FTarget)) return false;
  // The new file keeps the old one's permissions (a file the player made
  // private stays private).
  if (Exists) ::fchmod(FStream->Handle(), St.st_mode & 07777);
  return true;
}

bool TSafeFileWriter::Commit() { return Finish(true); }

bool TSafeFileWriter::CommitNew() { return Finish(false); }

bool TSafeFileWriter::Finish(bool Replace) {
  if (!FStream || FCommitted) return false;
  errno = 0;
  if (!FStream->Sync()) {
    Failed("cannot write", FTempName);
    return false;
  }
  FStream.reset();
  errno = 0;
  if (Replace ? !RenameOver(FTempName, FTarget, FError) : !LinkNew(FTempName, FFileName, FError, FExisted)) {
    FCause = SystemCause();
    std::remove(FTempName.c_str());
    return false;
  }
  FCommitted = true;
  SyncFolder(Replace ? FTarget : FFileName);
  VXWeb::FileWritten(FFileName);
  return true;
}

bool TSafeFileWriter::WriteAll(const void* Bytes, size_t Count) {
  if (!Open()) return false;
  errno = 0;
  if (Stream().WriteExact(Bytes, Count)) return true;
  WriteFailed();
  return false;
}

bool TSafeFileWriter::WriteFile(const std::string& FileName, const void* Bytes, size_t Count, std::string* Error,
                                std::string* Cause) {
  TSafeFileWriter Writer(FileName);
  const bool Ok = Writer.WriteAll(Bytes, Count) && Writer.Commit();
  if (!Ok && Error) *Error = Writer.ErrorText();
  if (!Ok && Cause) *Cause = Writer.Cause();
  return Ok;
}

bool TSafeFileWriter::WriteNewFile(const std::string& FileName, const void* Bytes, size_t Count, std::string* Error,
                                   bool* Existed) {
  TSafeFileWriter Writer(FileName);
  const bool Ok = Writer.WriteAll(Bytes, Count) && Writer.CommitNew();
  if (!Ok && Error) *Error = Writer.ErrorText();
  if (Existed) *Existed = Writer.TargetExisted();
  return Ok;
}
