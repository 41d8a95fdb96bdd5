#include "game/game_flow.h"

#include "game/maps.h"
#include "game/play_screen.h"
#include "shell/logger.h"

void TGame::Run() {
  // The player, level-pack and map selection screens are still to come.
}

void TGame::PlayTestMap(const std::string& Pack, int MapIndex) {
  LevelPack = Pack;
  Maps = std::make_unique<TMaps>();
  if (Maps->Load(LevelPack)) {
    if (Maps->MapCount() > 0) {
      TPlay1Map(MapIndex).Run();
    } else {
      Log->Error("The level pack holds no maps (" + LevelPack + ")", "SQGameUnit, TGame.PlayTestMap");
    }
  }
  Maps.reset();
}
