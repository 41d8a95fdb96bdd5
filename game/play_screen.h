#pragma once
// TPlay1Map: one map of the current level pack on screen, from its start to
// "Map Completed!" or until the player leaves it.
#include <string>

#include "game/map_runner.h"

class TPlay1Map {
 public:
  static constexpr int kDeadSteps = 16;
  static constexpr int kCompletedFrames = 340;

  explicit TPlay1Map(int MapNo);
  // True when the map was completed, false when the player left it (F10).
  bool Run();
  void DrawDiamonds();
  void DrawMapNo();
  void ShowCompleted();

  std::string CurrentSong;
  bool Completed() const { return FRun.Completed; }
  int MapNo() const { return FRun.MapNo; }

 private:
  void StartMap();
  TMapRun FRun;
};
