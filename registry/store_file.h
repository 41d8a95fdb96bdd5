#pragma once
// The file a store of the players' keepings lives in: read whole, replaced
// only through the safe file writer, and never at the cost of the only copy
// of something the store could not use. A file that loading found damaged
// or could not read at all is copied aside before the first save over it, as
// FileName + ".bad", or ".bad.1", ".bad.2" ... when earlier damage took those
// names (no copy is ever written over); when the copy cannot be made, the
// save is refused and the file stays as it is.
#include <cstdint>
#include <string>
#include <vector>

enum class TFileRead { Missing, Read, Unreadable };

// Reads a whole regular file. Missing only when no entry of that name
// exists; a folder, a socket, a device or a read error is Unreadable, with
// the reason in Error.
TFileRead ReadWholeFile(const std::string& FileName, std::vector<uint8_t>& Bytes, std::string* Error = nullptr);

// The name of the Nth copy of a damaged FileName: FileName.bad, then
// FileName.bad.N.
std::string KeptCopyName(const std::string& FileName, int N);

class TStoreFile {
 public:
  // Past this many copies of one file's damage, saves over it are refused.
  static constexpr int kMaxKeptCopies = 1000;

  // SaveHeading: the log heading the save's entries are written under.
  explicit TStoreFile(std::string SaveHeading) : FHeading(std::move(SaveHeading)) {}

  // Loading found FileName damaged or unreadable: the next save over it
  // keeps it aside first. A later mark replaces an earlier one.
  void MarkDamaged(const std::string& FileName) {
    FDamagedFile = FileName;
    FKeptAs.clear();
  }
  bool Damaged() const { return !FDamagedFile.empty(); }

  // Writes Bytes as the whole new content of FileName, keeping a damaged
  // original aside first. False, with the reason logged and the file left as
  // it was, when the original cannot be kept or the new file not written.
  bool Save(const std::string& FileName, const std::vector<uint8_t>& Bytes);
  // The copy a save made of a damaged original since the last mark; empty
  // when none.
  const std::string& KeptAs() const { return FKeptAs; }

 private:
  bool KeepAside(const std::string& FileName);

  std::string FHeading;
  std::string FDamagedFile;
  std::string FKeptAs;
};
