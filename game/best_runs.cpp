#include "game/best_runs.h"

#include "game/play_screen.h"
#include "registry/player_reg.h"
#include "world/maps.h"

namespace {

const TRun* BestRun(const std::string& LevelPack, const std::string& Player, int MapNo) {
  if (!PlayerRegistry || !Maps || MapNo < 0 || MapNo >= Maps->MapCount()) return nullptr;
  return PlayerRegistry->BestRun(LevelPack, Player, MapNo);
}

}  // namespace

bool WatchBestRun(const std::string& LevelPack, const std::string& Player, int MapNo) {
  const TRun* Run = BestRun(LevelPack, Player, MapNo);
  if (!Run) return false;
  TPlay1Map(MapNo, Run->Keys, Player).Run();
  return true;
}

std::string BestRunNote(const std::string& LevelPack, const std::string& Player, int MapNo) {
  const TRun* Run = BestRun(LevelPack, Player, MapNo);
  return Run ? std::string(1, '\3') + "  (best run: " + std::to_string(Run->Steps()) + " steps)" : "";
}

bool BestRunHinted(const std::string& LevelPack, const std::string& Player, int MapNo) {
  const TRun* Run = BestRun(LevelPack, Player, MapNo);
  return Run && Run->Hinted;
}
