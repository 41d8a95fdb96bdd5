#pragma once
// Steel never changes: nothing destroys it and nothing moves into it. The
// elf, and every diamond, stays within its part of the field walled off by
// steel; a diamond or exit in another part can never be reached.
#include <array>
#include <cstdint>
#include <vector>

#include "game/maps.h"

class TSteelParts {
 public:
  explicit TSteelParts(const TMaps& W);
  // True when the elf can still meet enough diamonds and an exit.
  bool Reachable(const TMaps& W) const;

 private:
  static constexpr int kCells = TMaps::kCols * TMaps::kRows;
  static bool IsSteel(const TMaps& W, int Cell) {
    return W.Code(Cell / TMaps::kRows, Cell % TMaps::kRows) == Tile::Steel;
  }
  std::array<int16_t, kCells> FPart{};
};
