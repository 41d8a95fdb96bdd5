#include "shell/safe_file_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "shell/toolbox.h"

namespace {
std::string SystemError(const std::string& What, const std::string& Name) {
  return What + " " + Name + ": " + std::strerror(errno);
}

// A rename is only durable once the folder entry itself is on the disk.
void SyncFolder(const std::string& FileName) {
  const std::string Folder = VXToolbox::ExtractFileDir(FileName);
  const int Fd = ::open(Folder.empty() ? "." : Folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (Fd < 0) return;
  ::fsync(Fd);
  ::close(Fd);
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

bool TSafeFileWriter::Open() {
  FStream = TFileStream::Open(FTempName, TFileStream::TMode::Create);
  if (!FStream) {
    FError = SystemError("cannot create", FTempName);
    return false;
  }
  return true;
}

bool TSafeFileWriter::Commit() {
  if (!FStream || FCommitted) return false;
  if (!FStream->Sync()) {
    FError = SystemError("cannot write", FTempName);
    return false;
  }
  FStream.reset();
  if (std::rename(FTempName.c_str(), FFileName.c_str()) != 0) {
    FError = SystemError("cannot replace", FFileName);
    std::remove(FTempName.c_str());
    return false;
  }
  FCommitted = true;
  SyncFolder(FFileName);
  return true;
}

bool TSafeFileWriter::WriteFile(const std::string& FileName, const void* Bytes, size_t Count, std::string* Error) {
  TSafeFileWriter Writer(FileName);
  const bool Ok = Writer.Open() && Writer.Stream().WriteExact(Bytes, Count) && Writer.Commit();
  if (!Ok && Error) *Error = Writer.ErrorText().empty() ? "cannot write " + Writer.TempName() : Writer.ErrorText();
  return Ok;
}
