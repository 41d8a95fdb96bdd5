#pragma once
// Replaces a file without ever leaving it half written: the new content goes
// to a temporary file beside it, is pushed to the disk, and only then renamed
// over the old file. Until Commit succeeds the old file stays as it was.
#include <memory>
#include <string>

#include "shell/file_stream.h"

class TSafeFileWriter {
 public:
  explicit TSafeFileWriter(std::string FileName);
  // Without a successful Commit the temporary file is removed.
  ~TSafeFileWriter();
  TSafeFileWriter(const TSafeFileWriter&) = delete;
  TSafeFileWriter& operator=(const TSafeFileWriter&) = delete;

  // Creates the temporary file; false when it cannot be created.
  bool Open();
  // The temporary file's stream; valid between Open and Commit.
  TVXStreamBase& Stream() { return *FStream; }
  // Flushes and syncs the temporary file, renames it over the target and
  // syncs the folder. False (old file untouched) on any failure.
  bool Commit();
  // Like Commit, but only where no file of that name exists: false, with
  // TargetExisted() true, when one does; it is never replaced.
  bool CommitNew();
  bool TargetExisted() const { return FExisted; }

  const std::string& FileName() const { return FFileName; }
  const std::string& TempName() const { return FTempName; }
  // The reason of the last failure, for the log: what failed, on which
  // file, and the system's cause.
  const std::string& ErrorText() const { return FError; }
  // The system's cause alone ("No space left on device"), for a player.
  const std::string& Cause() const { return FCause; }
  // Records a failure of writing into Stream() (the system's cause in errno).
  void WriteFailed();

  // Writes Bytes as the whole new content of FileName; Error gets the
  // reason, Cause the system's cause alone.
  static bool WriteFile(const std::string& FileName, const void* Bytes, size_t Count, std::string* Error = nullptr,
                        std::string* Cause = nullptr);
  // The same through CommitNew; Existed (when given) tells why it failed.
  static bool WriteNewFile(const std::string& FileName, const void* Bytes, size_t Count, std::string* Error = nullptr,
                           bool* Existed = nullptr);

 private:
  // Opens the temporary file and writes every byte to it (the cause kept
  // when that fails).
  bool WriteAll(const void* Bytes, size_t Count);

  void Failed(const std::string& What, const std::string& Name);

  std::string FFileName, FTempName, FError, FCause;
  std::unique_ptr<TFileStream> FStream;
  bool FCommitted = false;
  bool FExisted = false;

  bool Finish(bool Replace);
};
