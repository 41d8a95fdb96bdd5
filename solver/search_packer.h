#pragma once
// The worlds of a search, packed small. A search world does not animate its
// looks (TMaps::AnimateLooks): of its sprites only those in the exit's cells
// change on their own and matter to the rules, so a packed world keeps
// those in full and of the others only whether a cell has one. What the
// world holds is kept as its difference from the map's start: a few dozen
// bytes where the grid has changed.
#include <array>
#include <cstdint>
#include <vector>

#include "world/map_runner.h"
#include "world/maps.h"
#include "world/world_packer.h"

class TSearchPacker {
 public:
  static constexpr int kCells = TMaps::kCols * TMaps::kRows;

  // One world read out of a TMaps: every field at a fixed place.
  struct TState {
    int32_t ElfX = 0, ElfY = 0, DiamondsLeft = 0, ElfDead = 0;
    char ElfImage[2] = {' ', ' '};
    bool Completed = false;
    uint8_t Ticks = 0;
    // Codes, state bytes, and whether the cell has a sprite, cell by cell.
    std::array<uint8_t, 3 * kCells> Cells{};
    // The sprites of the exit's cells as the world packer keeps them.
    std::vector<uint8_t> Exits;
    uint8_t Code(int Cell) const { return Cells[static_cast<size_t>(Cell)]; }
    uint8_t Flag(int Cell) const { return Cells[static_cast<size_t>(kCells + Cell)]; }
    bool HasSprite(int Cell) const { return Cells[static_cast<size_t>(2 * kCells + Cell)] != 0; }
  };

  // Start is the search's first world, already set not to animate its looks.
  explicit TSearchPacker(const TMaps& Start, const TMapRun& StartRun);

  // False when the world holds something the packed form cannot (a tile code
  // above 255, a sprite the world packer refuses).
  bool Read(const TMaps& World, const TMapRun& Run, TState& Out);
  // Sets World (a copy of the start) and Run to State. When Now is what
  // World holds (as Read last gave it), only the cells that differ are set.
  void Apply(const TState& State, TMaps& World, TMapRun& Run, const TState* Now = nullptr) const;

  void Pack(const TState& State, std::vector<uint8_t>& Out) const;
  void Unpack(const uint8_t* Data, TState& Out) const;
  static size_t PackedSize(const uint8_t* Data) { return static_cast<size_t>(Data[0] | Data[1] << 8); }

  // What decides the world's future, hashed: grid, state bytes, elf and
  // counters, which exit cells hold a sprite and the animation of exits
  // opening. Coarse also takes grass that nothing movable is near as eaten:
  // a search then tries fewer ways of digging the same tunnels, but may miss
  // a way that needed some of that grass.
  uint64_t Key(const TState& State, bool Coarse) const;

 private:
  TWorldPacker FSprites;
  TState FStart;
  std::vector<int> FExitCells;
  TSprite FStill;  // what a cell without its true sprite gets
};
