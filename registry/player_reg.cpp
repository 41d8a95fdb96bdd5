#include "registry/player_reg.h"

#include "shell/logger.h"

std::unique_ptr<TPlayerReg> PlayerRegistry;

TPlayerReg::TPlayerReg(std::string FileName) : FFileName(std::move(FileName)) { Load(FFileName); }

void TPlayerReg::SaveFile() { FLastSaveOk = Save(FFileName); }

bool TPlayerReg::AddPlayer(const std::string& Name) {
  const bool Result = TPlayerRegistry::AddPlayer(Name);
  SaveFile();
  return Result;
}

bool TPlayerReg::DeletePlayer(const std::string& Name) {
  const bool Result = TPlayerRegistry::DeletePlayer(Name);
  SaveFile();
  return Result;
}

bool TPlayerReg::RenamePlayer(int32_t Index, const std::string& NewName) {
  const bool Result = TPlayerRegistry::RenamePlayer(Index, NewName);
  SaveFile();
  return Result;
}

bool TPlayerReg::AddLevelPack(const std::string& Name) {
  const bool Result = TPlayerRegistry::AddLevelPack(Name);
  SaveFile();
  return Result;
}

bool TPlayerReg::DeleteLevelPack(const std::string& Name) {
  const bool Result = TPlayerRegistry::DeleteLevelPack(Name);
  SaveFile();
  return Result;
}

uint8_t TPlayerReg::GetMapState(const std::string& LevelPack, const std::string& Player, int32_t MapNo) {
  uint8_t State = 0;
  if (!ReadData(Player, LevelPack, MapNo, 1, &State)) {
    Log->Error("PlayerRegistry read error! (PL: " + Player + ", LP: " + LevelPack + " MapNo: " + std::to_string(MapNo),
               "SQPlayerRegistryUnit, TPlayerReg.GetMapState");
    return 0;
  }
  return State;
}

void TPlayerReg::SetMapState(const std::string& LevelPack, const std::string& Player, uint8_t State, int32_t MapNo) {
  WriteData(Player, LevelPack, MapNo, 1, &State);
  SaveFile();
}

void StartPlayerRegistry() {
  PlayerRegistry = std::make_unique<TPlayerReg>();
  PlayerRegistry->Logging = true;
}

void StopPlayerRegistry() { PlayerRegistry.reset(); }
