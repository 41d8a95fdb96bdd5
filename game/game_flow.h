#pragma once
// TGame: the game between the splash and the end of the program (players,
// level packs, the map selection, the maps and the outro), and the test-map
// entry that plays one map of a pack directly.
#include <memory>
#include <string>

#include "game/select_map.h"

class TGame {
 public:
  static constexpr const char* kNewPlayerRow = "-- New player --";

  TGame();
  ~TGame();
  TGame(const TGame&) = delete;
  TGame& operator=(const TGame&) = delete;

  // The normal game; returns when the player leaves.
  void Run();
  // Loads the pack, plays map MapIndex on the play screen, frees the pack.
  // No menus, no music of the menus, no progress recorded.
  void PlayTestMap(const std::string& Pack, int MapIndex);

  // The menu screens. Each answers "" when left with Escape.
  std::string SelectPlayer();
  void NewPlayer();
  void ErasePlayer(const std::string& Name);
  std::string SelectLevelPack();

  // Loads Pack into a new Maps; false (reason logged, Maps untouched) when
  // it cannot be read or holds no maps.
  bool LoadPack(const std::string& Pack);

  int Choice = -1;
  std::string PlayerName;
  std::string LevelPack;
  // Handed to the map selection: what E opens.
  TPackEditor EditPack;

 private:
  // Asks for a level pack until one loads into Maps; false when the player
  // leaves the question. A pack that cannot be used is logged and the
  // question comes again.
  bool ChooseLevelPack();
  void PlayMap(int MapNo);
  void PlayOutro();
  // The map selection of the player and pack chosen.
  std::unique_ptr<TSelectMap> NewSelectMap() const;

  std::unique_ptr<TSelectMap> FSelect;
  std::string FListSong;
};
