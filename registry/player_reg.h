#pragma once
// The game's player registry: the generic store with map states in its byte
// blocks (byte n = state of map n), saved to its file after every change.
#include <cstdint>
#include <memory>
#include <string>

#include "registry/player_registry.h"

class TPlayerReg : public TPlayerRegistry {
 public:
  static constexpr const char* kVersion = "SQPlayerRegistryUnit, version 1.0";
  static constexpr const char* kFileName = "Starquarry.vmu";

  enum : uint8_t { kLocked = 0, kOpen = 1, kCompleted = 2 };

  // Loads FileName; a missing file leaves the registry empty.
  explicit TPlayerReg(std::string FileName = kFileName);

  using TPlayerRegistry::AddPlayer;
  bool AddPlayer(const std::string& Name) override;
  bool DeletePlayer(const std::string& Name) override;
  bool RenamePlayer(int32_t Index, const std::string& NewName) override;
  bool AddLevelPack(const std::string& Name) override;
  bool DeleteLevelPack(const std::string& Name) override;

  // 0 (locked) when the pair has no record yet or a name is unknown.
  uint8_t GetMapState(const std::string& LevelPack, const std::string& Player, int32_t MapNo);
  void SetMapState(const std::string& LevelPack, const std::string& Player, uint8_t State, int32_t MapNo);

  const std::string& FileName() const { return FFileName; }
  // Whether the latest save reached the disk.
  bool LastSaveSucceeded() const { return FLastSaveOk; }

 private:
  void SaveFile();

  std::string FFileName;
  bool FLastSaveOk = true;
};

// The module singleton.
extern std::unique_ptr<TPlayerReg> PlayerRegistry;

void StartPlayerRegistry();
void StopPlayerRegistry();
