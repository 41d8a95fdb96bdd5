#include "shell/safe_file_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
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
}  // namespace

TSafeFileWriter::TSafeFileWriter(std::string FileName)
    : FFileName(std::move(FileName)), FTempName(FFileName + ".tmp") {}

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

bool TSafeFileWriter::Open() {
  errno = 0;
  FStream = TFileStream::Open(FTempName, TFileStream::TMode::Create);
  if (!FStream) {
    Failed("cannot create", FTempName);
    return false;
  }
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
  if (Replace ? !RenameOver(FTempName, FFileName, FError) : !LinkNew(FTempName, FFileName, FError, FExisted)) {
    FCause = SystemCause();
    std::remove(FTempName.c_str());
    return false;
  }
  FCommitted = true;
  SyncFolder(FFileName);
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
