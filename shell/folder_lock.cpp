#include "shell/folder_lock.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#ifndef __EMSCRIPTEN__
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
std::string LockFileIn(const std::string& Folder) {
  if (Folder.empty()) return TFolderLock::kFileName;
  return Folder.back() == '/' ? Folder + TFolderLock::kFileName : Folder + "/" + TFolderLock::kFileName;
}
}  // namespace

TFolderLock::TFolderLock(const std::string& Folder) : FFileName(LockFileIn(Folder)) {}

TFolderLock::~TFolderLock() { Release(); }

#ifdef __EMSCRIPTEN__

TFolderLock::TResult TFolderLock::Take(const std::string&) {
  FHeld = true;
  return TResult::Held;
}

void TFolderLock::Release() { FHeld = false; }

#else

namespace {
// The holder's line, without its line break; what a crashed holder left is
// read the same way, but then the lock is free and nobody asks.
std::string ReadHolder(int Fd) {
  char Text[128];
  const ssize_t N = ::pread(Fd, Text, sizeof Text, 0);
  if (N <= 0) return {};
  std::string Line(Text, static_cast<size_t>(N));
  Line = Line.substr(0, Line.find('\n'));
  for (char& C : Line)
    if (static_cast<unsigned char>(C) < 32) C = '?';
  return Line;
}
}  // namespace

TFolderLock::TResult TFolderLock::Take(const std::string& Who) {
  if (FHeld) return TResult::Held;
  FHolder.clear();
  FError.clear();
  // Not blocking: something else in the lock file's place (a pipe) must not
  // hold the program up. A lock file the player may only read still locks.
  int Fd = ::open(FFileName.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644);
  bool Writable = Fd >= 0;
  if (Fd < 0 && (errno == EACCES || errno == EROFS)) Fd = ::open(FFileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (Fd < 0) {
    FError = "cannot open " + FFileName + ": " + std::strerror(errno);
    return TResult::Failed;
  }
  struct stat St;
  if (::fstat(Fd, &St) != 0 || !S_ISREG(St.st_mode)) {
    ::close(Fd);
    FError = FFileName + " is not a regular file";
    return TResult::Failed;
  }
  if (::flock(Fd, LOCK_EX | LOCK_NB) != 0) {
    const int Cause = errno;
    if (Cause == EWOULDBLOCK) FHolder = ReadHolder(Fd);
    ::close(Fd);
    if (Cause == EWOULDBLOCK) return TResult::Busy;
    FError = "cannot lock " + FFileName + ": " + std::strerror(Cause);
    return TResult::Failed;
  }
  FFd = Fd;
  FHeld = true;
  if (Writable) {
    const std::string Line = Who + " " + std::to_string(::getpid()) + "\n";
    if (::ftruncate(Fd, 0) == 0 && ::pwrite(Fd, Line.data(), Line.size(), 0) < 0) {
      // The name is only for others' messages; the lock holds without it.
    }
  }
  return TResult::Held;
}

void TFolderLock::Release() {
  if (FFd >= 0) ::close(FFd);
  FFd = -1;
  FHeld = false;
}

#endif

TFolderLock::TResult TFolderLock::TakeWaiting(const std::string& Who, const std::string& WaitFor, double Seconds) {
  const auto Start = std::chrono::steady_clock::now();
  const auto Until = Start + std::chrono::duration<double>(Seconds);
  // A holder writes its name just after it takes the lock: for a moment the
  // file may still name the one before.
  const auto Settled = Start + std::chrono::milliseconds(200);
  for (;;) {
    const TResult R = Take(Who);
    const auto Now = std::chrono::steady_clock::now();
    if (R != TResult::Busy || Now >= Until) return R;
    if (FHolder.rfind(WaitFor, 0) != 0 && Now >= Settled) return R;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}
