#pragma once
// A running world packed into a few hundred bytes and unpacked again
// exactly: the grid, the state bytes, the elf, the counters and every cell
// sprite with its animation state (which decides when an exit opens). A
// search keeps many worlds at once and can afford only their packed form.
#include <array>
#include <cstdint>
#include <vector>

#include "game/map_runner.h"
#include "game/maps.h"
#include "graphics/sprite.h"

class TImage;

class TWorldPacker {
 public:
  // Worlds packed by this packer are unpacked into copies of Model (same
  // pack, same active map); new sprites take Model's first sprite target.
  explicit TWorldPacker(const TMaps& Model);

  // False when the world holds something the packed form cannot (a tile
  // code above 255, a sprite not made by the map rules, too many images).
  bool Pack(const TMaps& World, const TMapRun& Run, std::vector<uint8_t>& Out);
  // Sets World (a copy of Model) and Run to the packed state.
  void Unpack(const uint8_t* Data, TMaps& World, TMapRun& Run) const;

  // The length of a packed world.
  static size_t PackedSize(const uint8_t* Data);

  // What decides the world's future, hashed: grid, state bytes, elf and
  // counters, the sprites at the cells where an exit may open, and the
  // animation of exits already opening. The looks and animation phases of
  // other cells are left out, so waiting does not make endless new states.
  // Coarse also takes grass that nothing movable is near as eaten: a search
  // then tries fewer ways of digging the same tunnels, but may miss a way
  // that needed some of that grass.
  uint64_t Key(const TMaps& World, const TMapRun& Run, bool Coarse = false) const;

 private:
  int ImageIndex(const TImage* Image);

  std::vector<const TImage*> FImages;
  std::array<int16_t, 512> FImageSlots{};  // open addressing on the pointer: index + 1, 0 free
  std::vector<uint8_t> FExitCells;
  // The pixel position of each cell's sprite.
  std::array<int16_t, TMaps::kCols * TMaps::kRows> FCellX{}, FCellY{};  // cells whose loaded tile is the exit
  TSprite FPrototype;
};
