#pragma once
// A lower bound on the steps that still complete a map, for a search that
// must find the fewest (it may never guess too many). Steel never changes,
// so the ways around it are worked out once per map: the elf must still
// reach an exit, collect each diamond left (one per step at most) and meet
// each of them somewhere a diamond can get to.
#include <array>
#include <cstdint>
#include <vector>

#include "world/maps.h"

class TLeastSteps {
 public:
  static constexpr int kCells = TMaps::kCols * TMaps::kRows;

  // Start is the map at its start (its steel, exits and balloons).
  explicit TLeastSteps(const TMaps& Start);

  // At least this many steps complete the map from a world with the elf in
  // ElfCell (X * kRows + Y), DiamondsLeft to collect, and diamonds in the
  // cells Codes (one code per cell) shows; -1 when no exit can be reached.
  // Without Tight, a quicker and looser bound (the diamonds one by one).
  int Bound(int ElfCell, int DiamondsLeft, const uint8_t* Codes, bool Tight = true) const;

 private:
  static constexpr uint8_t kFar = 255;
  // The weight of the lightest tree joining the elf, the diamonds that
  // cannot move before the elf comes (or ever) and the exits; 0 when it
  // says nothing (diamonds to spare).
  int FixedTree(int ElfCell, int DiamondsLeft, const uint8_t* Codes) const;
  // Steps between any two cells around steel (kFar: none), From * kCells + To.
  std::vector<uint8_t> FSteps;
  // Steps from a cell to the nearest exit, around steel only.
  std::array<uint8_t, kCells> FToExit{};
  // Steps from the elf's cell to an exit by way of some cell in row Y or
  // below: a diamond only falls and rolls (without balloons it never rises).
  std::array<std::array<uint8_t, TMaps::kRows>, kCells> FByRow{};
  // Which part of the field walled off by steel each cell is in.
  std::array<uint8_t, kCells> FPart{};
  // Balloons carry the elf up while it walks: two cells in a step.
  bool FBalloons = false;
  // Barrels blow up what lies around them, grass too.
  bool FBarrels = false;
};
