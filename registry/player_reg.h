#pragma once
// The game's player registry: the generic store with map states in its byte
// blocks (byte n = state of map n), saved to its file after every change.
#include <cstdint>
#include <memory>
#include <string>

#include "registry/player_registry.h"
#include "registry/run_store.h"

class TPlayerReg : public TPlayerRegistry {
 public:
  static constexpr const char* kVersion = "SQPlayerRegistryUnit, version 1.0";
  static constexpr const char* kFileName = "Starquarry.vmu";

  enum : uint8_t { kLocked = 0, kOpen = 1, kCompleted = 2 };

  // Loads FileName; a missing file leaves the registry empty.
  explicit TPlayerReg(std::string FileName = kFileName);
  ~TPlayerReg() override;

  using TPlayerRegistry::AddPlayer;
  bool AddPlayer(const std::string& Name) override;
  bool DeletePlayer(const std::string& Name) override;
  bool RenamePlayer(int32_t Index, const std::string& NewName) override;
  bool AddLevelPack(const std::string& Name) override;
  bool DeleteLevelPack(const std::string& Name) override;

  // 0 (locked) when the pair has no record yet or a name is unknown.
  uint8_t GetMapState(const std::string& LevelPack, const std::string& Player, int32_t MapNo);
  void SetMapState(const std::string& LevelPack, const std::string& Player, uint8_t State, int32_t MapNo);

  // The players' best runs, kept in "Starquarry.runs" beside the registry
  // file and read at first use. Deleting a player deletes its runs; renaming
  // keeps them, as they are filed under the player's identifier.
  TRunStore& Runs();
  // After a completed map: keeps Keys (one per step, as sqtool play reads
  // them) as Player's run of MapNo when it is shorter than the one kept.
  // NotShorter or BadRun when not kept; BadRun also for an unknown player.
  TRunKept KeepRun(const std::string& LevelPack, const std::string& Player, int32_t MapNo, const std::string& Keys,
                   bool Hinted = false);
  // Player's best run of MapNo (its Steps() and Keys); null when none.
  const TRun* BestRun(const std::string& LevelPack, const std::string& Player, int32_t MapNo);

  const std::string& FileName() const { return FFileName; }
  // Whether the latest save reached the disk.
  bool LastSaveSucceeded() const { return FLastSaveOk; }

 protected:
  // The runs' players too: runs outlive a registry that was lost or replaced.
  void UsedIDs(std::vector<int32_t>& IDs) override;

 private:
  void SaveFile();

  std::string FFileName;
  bool FLastSaveOk = true;
  std::unique_ptr<TRunStore> FRuns;
};

// The module singleton.
extern std::unique_ptr<TPlayerReg> PlayerRegistry;

void StartPlayerRegistry();
void StopPlayerRegistry();
