#pragma once
// The MAD4 chunk layer. An archive is "MAD4" (or "MADU"), a 32-bit length,
// then chunks (FourCC, 32-bit data size, data) back to back, the last one
// "ENDS" holding the archive length, so an archive appended to another file
// is found from the file's end. "NULL" chunks are free space that Add reuses.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "shell/file_stream.h"

// Raised when an existing archive file cannot be opened.
class EArchiveOpen : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The FourCC as the little-endian value of its four characters.
constexpr uint32_t MakeFourCC(const char (&Text)[5]) {
  return static_cast<uint32_t>(static_cast<uint8_t>(Text[0])) |
         (static_cast<uint32_t>(static_cast<uint8_t>(Text[1])) << 8) |
         (static_cast<uint32_t>(static_cast<uint8_t>(Text[2])) << 16) |
         (static_cast<uint32_t>(static_cast<uint8_t>(Text[3])) << 24);
}
inline constexpr uint32_t kFourCCComp = MakeFourCC("COMP");
inline constexpr uint32_t kFourCCRawd = MakeFourCC("RAWD");
inline constexpr uint32_t kFourCCLink = MakeFourCC("LINK");
inline constexpr uint32_t kFourCCFver = MakeFourCC("FVER");
inline constexpr uint32_t kFourCCNull = MakeFourCC("NULL");
inline constexpr uint32_t kFourCCEnds = MakeFourCC("ENDS");

// "COMP" and the like, for log lines and listings.
std::string FourCCText(uint32_t FourCC);

struct TMAD4ChunkData {
  uint32_t FourCC = 0;
  int32_t Size = 0;
  int32_t Start = 0;  // absolute file position of the FourCC
};

class TMAD4LowLevel {
 public:
  static constexpr const char* kVersion = "MAD4LowLevelUnit, version 1.10a";
  enum : int32_t { kNotMounted = -1, kMountedOk = 0, kNotMAD4 = 2 };

  TMAD4LowLevel();
  virtual ~TMAD4LowLevel();
  TMAD4LowLevel(const TMAD4LowLevel&) = delete;
  TMAD4LowLevel& operator=(const TMAD4LowLevel&) = delete;

  // Mounts an archive file; a missing file becomes a new empty archive when
  // writable, and fails (kNotMAD4, nothing created) when read-only.
  // Status() tells the outcome. Raises EArchiveOpen when an existing file
  // cannot be opened.
  virtual void Mount(const std::string& FileName, bool ReadOnly);
  virtual void Unmount();
  // Adds a chunk, reusing free space; the new chunk's start, or -1.
  virtual int32_t Add(uint32_t FourCC, TVXStreamBase& Data);
  virtual int32_t Add(uint32_t FourCC, const void* Buffer, size_t Count);

  // Reads the chunk header at Position and leaves the file past its data.
  TMAD4ChunkData ReadChunkData(int64_t Position);
  // An independent stream on the archive file at the chunk's data; null when
  // no chunk starts there (Size then untouched).
  TVXStreamPtr OpenChunkStream(int32_t Start, int32_t& Size);
  int IndexOfStart(int32_t Start) const;
  const TMAD4ChunkData* GetChunk(int Index) const;
  int ChunkCount() const { return static_cast<int>(FChunks.size()); }

  void WriteNull(int32_t Start, int32_t Size);
  void CombineNulls();
  void WriteEnds();

  bool Mounted() const { return FMounted; }
  const std::string& FileName() const { return FFileName; }
  int32_t Status() const { return FStatus; }
  int32_t BaseOffset() const { return FBaseOffset; }
  // Nothing is written to a read-only archive, nor to one whose chunk walk
  // met a damaged chunk (writing would cut off what follows it).
  bool Writable() const { return FMounted && !FReadOnly && !FDamaged; }
  // The chunk walk met a chunk running past the end of the file.
  bool Damaged() const { return FDamaged; }
  // The file ends in the archive's closing record: an archive cut short
  // between two chunks lacks it.
  bool Ended() const { return FEnded; }

 protected:
  std::unique_ptr<TFileStream> FStream;
  std::vector<TMAD4ChunkData> FChunks;

 private:
  void CreateEmpty();
  void WriteChunkAt(int64_t Position, uint32_t FourCC, TVXStreamBase& Data, int32_t Size);
  void Truncate(int64_t Size);
  int64_t ArchiveLength() const;

  bool FMounted = false;
  bool FReadOnly = true;
  bool FDamaged = false;
  bool FEnded = false;
  std::string FFileName;
  int32_t FStatus = kNotMounted;
  int32_t FBaseOffset = 0;
};
