#pragma once
// Named members on top of the chunk layer: "COMP" (compressed), "RAWD"
// (stored), "LINK" (a second name for another member's chunk) and "FVER"
// (two version texts, listed as the member "*V").
#include <climits>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "storage/mad4_low_level.h"

struct TMAD4FileData {
  std::string Name;       // as stored; lookups ignore case
  int32_t DataStart = 0;  // absolute position of the data after the name
  int32_t DataSize = 0;
  int32_t ChunkStart = 0;
  int32_t Link = 0;  // LINK only: absolute start of the target chunk
};

class TMAD4MidLevel : public TMAD4LowLevel {
 public:
  static constexpr const char* kVersion = "MAD4MidLevelUnit, version 1.10a";

  TMAD4MidLevel();
  ~TMAD4MidLevel() override;

  void Mount(const std::string& FileName, bool ReadOnly) override;
  void Unmount() override;
  using TMAD4LowLevel::Add;

  int IndexOf(const std::string& Name) const;
  bool Exists(const std::string& Name) const { return IndexOf(Name) > -1; }
  const TMAD4FileData* GetFile(int Index) const;
  int FileCount() const { return static_cast<int>(FFiles.size()); }
  int IndexOfChunkStart(int32_t Start) const;
  // The FourCC of the chunk holding the member (0 when none).
  uint32_t KindOf(const TMAD4FileData& File) const;

  // The member's content as the game reads it (one link step, "COMP"
  // decoded), at position 0; null when it cannot be opened.
  TVXStreamPtr OpenFile(const std::string& Name);
  // The member's stored bytes (at most MaxBytes of them), undecoded; empty
  // when unreadable.
  std::vector<uint8_t> ReadData(const TMAD4FileData& File, int32_t MaxBytes = INT32_MAX);
  // Where a member's bytes lie: Name becomes the archive's file name. Start
  // is -1 (the rest untouched) when there is no such member. A link gives
  // its target's place (one step, as OpenFile follows it), or -1 when the
  // target is no member OpenFile could open.
  void GetFileInfo(std::string& Name, int32_t& Start, int32_t& Size, bool& Compressed) const;

  // Adds a member chunk ("COMP" with data already encoded, or "RAWD");
  // false when the name is too long or the chunk layer refuses it.
  bool AddMember(uint32_t FourCC, const std::string& Name, std::span<const uint8_t> Data);
  // Adds a "LINK" named Name to the chunk of member Target.
  bool AddLink(const std::string& Name, const std::string& Target);

  const std::vector<TMAD4FileData>& Files() const { return FFiles; }
  const std::string& VersionText(int Index) const { return FVersionTexts[Index & 1]; }

 private:
  void BuildFiles();
  bool ReadEntry(const TMAD4ChunkData& Chunk, TMAD4FileData& File);
  void Reindex();
  bool AddChunkAndList(uint32_t FourCC, const std::vector<uint8_t>& Chunk);

  std::vector<TMAD4FileData> FFiles;
  std::unordered_map<std::string, int> FIndex;  // upper-case name -> first index
  std::string FVersionTexts[2];
};
