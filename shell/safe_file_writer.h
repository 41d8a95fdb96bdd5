#pragma once
// Replaces a file without ever leaving it half written: the new content goes
// to a temporary file beside it, is pushed to the disk, and only then renamed
// over the old file. Until Commit succeeds the old file stays as it was.
// Every writer makes a temporary file of its own (a fresh name, created
// exclusively), so two programs saving the same file at once never write
// into each other's bytes: the last rename wins whole. A file kept as a
// symbolic link is written through it: the file it points to is replaced in
// its own folder and the link stays.
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

  // Creates the temporary file; false when it cannot be created, or when
  // the file to replace is no regular file (a folder, a pipe, a device).
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
  // The temporary file's name once Open has made it.
  const std::string& TempName() const { return FTempName; }
  // The file a Commit replaces: FileName, or where its symbolic links lead.
  const std::string& TargetName() const { return FTarget; }
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

  std::string FFileName, FTarget, FTempName, FError, FCause;
  std::unique_ptr<TFileStream> FStream;
  bool FCommitted = false;
  bool FExisted = false;

  bool Finish(bool Replace);
  // Creates a temporary file of a name no one else uses, beside Target.
  bool CreateTemp(const std::string& Target);
};

// Where FileName's symbolic links lead (link after link, each relative to
// its own folder); FileName itself when it is no link. A link to nothing
// leads to the name it gives. Used to write through links.
std::string FollowLinks(const std::string& FileName);
