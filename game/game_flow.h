#pragma once
// TGame: the game between the splash and the end of the program, and the
// test-map entry that plays one map of a pack directly.
#include <string>

class TGame {
 public:
  // The normal game: players, level packs, map selection.
  void Run();
  // Loads the pack, plays map MapIndex on the play screen, frees the pack.
  // No menus, no music of the menus, no progress recorded.
  void PlayTestMap(const std::string& Pack, int MapIndex);

  int Choice = -1;
  std::string PlayerName;
  std::string LevelPack;
};
