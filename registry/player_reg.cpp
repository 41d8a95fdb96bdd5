#include "registry/player_reg.h"

#include <algorithm>

#include "shell/logger.h"
#include "shell/toolbox.h"

std::unique_ptr<TPlayerReg> PlayerRegistry;

TPlayerReg::TPlayerReg(std::string FileName) : FFileName(std::move(FileName)) { Load(FFileName); }

TPlayerReg::~TPlayerReg() = default;

void TPlayerReg::SaveFile() { FLastSaveOk = Save(FFileName); }

bool TPlayerReg::AddPlayer(const std::string& Name) {
  // Runs outlive a registry that was lost or replaced: a new player must not
  // take an identifier that runs are still filed under.
  const int64_t RunsFollowing = int64_t{Runs().HighestPlayer()} + 1;
  if (NextID >= 0 && NextID < RunsFollowing) {
    if (RunsFollowing > kTopID)
      Log->Warning("Runs are filed under identifier " + std::to_string(kTopID) +
                       ", at the top of the range; the new player gets the lowest unused one",
                   "SQPlayerRegistryUnit, TPlayerReg.AddPlayer");
    NextID = static_cast<int32_t>(std::min<int64_t>(RunsFollowing, kTopID));
  }
  const bool Result = TPlayerRegistry::AddPlayer(Name);
  SaveFile();
  return Result;
}

void TPlayerReg::UsedIDs(std::vector<int32_t>& IDs) {
  TPlayerRegistry::UsedIDs(IDs);
  for (const TRun& R : Runs().Runs()) IDs.push_back(R.Player);
}

bool TPlayerReg::DeletePlayer(const std::string& Name) {
  const int32_t ID = PlayerID(Name);
  const bool Result = TPlayerRegistry::DeletePlayer(Name);
  SaveFile();
  if (Result) Runs().DeletePlayer(ID);
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

TRunStore& TPlayerReg::Runs() {
  if (!FRuns) FRuns = std::make_unique<TRunStore>(VXToolbox::ExtractFileDir(FFileName) + TRunStore::kFileName);
  return *FRuns;
}

TRunKept TPlayerReg::KeepRun(const std::string& LevelPack, const std::string& Player, int32_t MapNo,
                             const std::string& Keys, bool Hinted) {
  const int32_t ID = PlayerID(Player);
  if (ID < 0) return TRunKept::BadRun;
  const TLevelPackData* Pack = FindLevelPack(LevelPack);
  return Runs().Keep(ID, Pack ? Pack->Name : LevelPack, MapNo, Keys, Hinted);
}

const TRun* TPlayerReg::BestRun(const std::string& LevelPack, const std::string& Player, int32_t MapNo) {
  const int32_t ID = PlayerID(Player);
  return ID < 0 ? nullptr : Runs().Best(ID, LevelPack, MapNo);
}

void StartPlayerRegistry() {
  PlayerRegistry = std::make_unique<TPlayerReg>();
  PlayerRegistry->Logging = true;
}

void StopPlayerRegistry() { PlayerRegistry.reset(); }
