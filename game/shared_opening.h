#pragma once
// A share code opened by the game: read, its map checked for what the game
// can play, and kept in the Shared maps pack. What the code cannot give is
// said on a screen (and told to the page) instead.
#include <string>

#include "world/share_code.h"

struct TSharedOpening {
  int MapNo = -1;  // in the Shared maps pack; -1 when the code was refused
  TShareKind Kind = TShareKind::Map;
  std::string Keys;    // the way (a map) or the run (a run)
  std::string Player;  // whose run
};

TSharedOpening OpenSharedCode(const std::string& Code);
