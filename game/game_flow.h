#pragma once
// TGame: the game between the splash and the end of the program (players,
// level packs, the map selection, the maps and the outro), and the test-map
// entry that plays one map of a pack directly.
#include <memory>
#include <string>

#include "game/remembered.h"
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
  // The name of the player added, "" when none was.
  std::string NewPlayer();
  // Why Name cannot be a new player's, "" when it can.
  static std::string RefuseName(const std::string& Name);
  void ErasePlayer(const std::string& Name);
  std::string SelectLevelPack();

  // Loads Pack into a new Maps; false (reason logged, Maps untouched) when
  // it cannot be read or holds no maps.
  bool LoadPack(const std::string& Pack);

  int Choice = -1;
  // A share code (starquarry -shared, the page's link) that Run opens first:
  // its map played at once, or its run watched and then the map offered;
  // the game goes on at the map selection of the Shared maps pack.
  std::string SharedCode;
  std::string PlayerName;
  std::string LevelPack;
  // Handed to the map selection: what E opens.
  TPackEditor EditPack;
  // The last player and pack, and who has opened the help; Run reads it.
  TRemembered Remembered;

 private:
  // Asks for a level pack until one loads into Maps; false when the player
  // leaves the question. A pack that cannot be used is logged and the
  // question comes again.
  bool ChooseLevelPack();
  // Label: what the foot strip adds to the map's name.
  void PlayMap(int MapNo, const std::string& Label = "");
  // Opens SharedCode; true when the Shared maps pack is loaded into Maps
  // with the shared map in it (Choice on it).
  bool OpenShared();
  // A map won before any player was chosen counts for the one chosen next.
  void KeepPendingWin();
  void PlayOutro();
  // The map selection of the player and pack chosen.
  std::unique_ptr<TSelectMap> NewSelectMap() const;
  // A help opened since the last look counts for the player (the one chosen
  // next, when none is yet).
  void NoteHelp();
  void Remember();

  std::unique_ptr<TSelectMap> FSelect;
  std::string FListSong;
  int FHelpCount = 0;
  bool FHelpPending = false;
  std::string FNewPlayer;  // the cursor's row when the player list comes back
  // A win on the shared map while no player was chosen yet.
  int FPendingMap = -1;
  std::string FPendingKeys;
  bool FPendingHinted = false;
};
