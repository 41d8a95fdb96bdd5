#pragma once
// The generic store of players, level packs and one opaque byte block per
// (player, level pack) pair. It knows nothing of what the bytes mean.
#include <cstdint>
#include <string>
#include <vector>

#include "registry/store_file.h"

class TVXStreamBase;

struct TPlayerData {
  int32_t ID = 0;
  std::string Name;
  std::string Info;
};

struct TLevelPackData {
  int32_t ID = 0;
  std::string Name;
};

struct TPlayerPackData {
  int32_t PlayerID = 0;
  int32_t LevelPackID = 0;
  std::vector<uint8_t> Data;
};

class TPlayerRegistry {
 public:
  static constexpr const char* kVersion = "PlayerRegistryUnit, version 3.03";
  // The file holds counts and text lengths in 16 bits.
  static constexpr size_t kMaxCount = 65535;
  static constexpr size_t kMaxTextLength = 65535;
  // The counter hands out 0, 1, 2 ... below this; once it stands here (a
  // file used the top of the range) it cannot count on without overflowing,
  // and NewID takes the lowest identifier nothing uses instead.
  static constexpr int32_t kTopID = 2147483647;

  TPlayerRegistry() = default;
  virtual ~TPlayerRegistry() = default;
  TPlayerRegistry(const TPlayerRegistry&) = delete;
  TPlayerRegistry& operator=(const TPlayerRegistry&) = delete;

  virtual bool AddPlayer(const std::string& Name);
  virtual bool AddPlayer(const std::string& Name, const std::string& Info);
  virtual bool DeletePlayer(const std::string& Name);
  virtual int32_t PlayerCount() const;
  // Leaves Name unchanged for an index outside the list.
  virtual void GetPlayerName(int32_t Index, std::string& Name) const;
  // Uniqueness of the new name is the caller's business.
  virtual bool RenamePlayer(int32_t Index, const std::string& NewName);
  virtual bool AddLevelPack(const std::string& Name);
  virtual bool DeleteLevelPack(const std::string& Name);
  // Writes Count bytes at Offset of the pair's block, creating the record and
  // padding with zeros as needed.
  virtual bool WriteData(const std::string& Player, const std::string& LevelPack, int32_t Offset, int32_t Count,
                         const uint8_t* Source);
  // Never-written bytes read as zero; the block grows to cover the read.
  virtual bool ReadData(const std::string& Player, const std::string& LevelPack, int32_t Offset, int32_t Count,
                        uint8_t* Destination);
  virtual bool ClearData(const std::string& Player, const std::string& LevelPack);
  // Replaces the file safely; false (old file kept, error logged) on failure.
  // A file the last Load found damaged or could not read is kept aside as
  // FileName + ".bad" (".bad.1" ... when taken) first, and never replaced
  // when that copy fails.
  virtual bool Save(const std::string& FileName);
  // Appends the file's records to the store; false when the file is missing,
  // cannot be read or is of an unknown kind. A stored counter that would hand
  // out an identifier in use is raised past it.
  virtual bool Load(const std::string& FileName);

  TPlayerData* FindPlayer(const std::string& Name);
  TLevelPackData* FindLevelPack(const std::string& Name);
  int32_t PlayerID(const std::string& Name);
  int32_t LevelPackID(const std::string& Name);
  TPlayerPackData* FindData(int32_t PlayerID, int32_t LevelPackID);
  // NextID, counted on; from a counter at kTopID or below 0, the lowest
  // non-negative identifier that UsedIDs does not hold.
  int32_t NewID();

  // The "PREG" layout. Writing fails (nothing useful written) when a count or
  // text would not fit its 16-bit field.
  bool WriteTo(TVXStreamBase& Stream) const;
  // Reads a "PREG" body (after the magic); false when it ends inside a record,
  // in which case every whole record before that point has been kept.
  bool ReadPREG(TVXStreamBase& Stream);
  // The older form's member contents.
  bool ReadPlayers(TVXStreamBase& Stream);
  bool ReadLevelPacks(TVXStreamBase& Stream);
  bool ReadDatas(TVXStreamBase& Stream);

  // True when the last Load met a damaged, unknown or unreadable file; the
  // first Save over that file keeps it aside as FileName + ".bad" (or ".bad.N").
  bool LoadedDamaged() const { return FFile.Damaged(); }
  // The copy of a damaged file a Save made since it was loaded; empty when none.
  const std::string& KeptAs() const { return FFile.KeptAs(); }
  // One more than every identifier in use, those of the records of deleted
  // players included; 0 when there is none.
  int64_t FollowingID() const;

  std::vector<TPlayerData> Players;
  std::vector<TLevelPackData> LevelPacks;
  std::vector<TPlayerPackData> Datas;
  int32_t NextID = 0;
  bool Logging = false;

 protected:
  // Every identifier a new one must differ from: the records' (those of
  // deleted players' progress included). A subclass adds what it files
  // under identifiers elsewhere.
  virtual void UsedIDs(std::vector<int32_t>& IDs);

 private:
  bool LoadOlderForm(const std::string& FileName);
  void MarkDamaged(const std::string& FileName, const std::string& Reason);
  // Raises NextID to FollowingID (0 at least, kTopID at most) when it is
  // below; Warn logs the change. A counter the identifiers in use push to the
  // top is always logged.
  void RaiseNextID(bool Warn);

  TStoreFile FFile{"PlayerRegistryUnit, TPlayerRegistry.Save"};
};
