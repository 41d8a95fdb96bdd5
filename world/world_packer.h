#pragma once
// A running world packed into a few hundred bytes and unpacked again
// exactly: the grid, the state bytes, the elf, the counters and every cell
// sprite with its animation state (which decides when an exit opens). The
// rewind keeps a world every few steps in this form.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/sprite.h"
#include "world/map_runner.h"
#include "world/maps.h"

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

  // One cell sprite (image, frame width, frame and animation counters) in
  // kSpriteBytes bytes; false when the packed form cannot hold it.
  static constexpr size_t kSpriteBytes = 4;
  bool PackSprite(const TSprite& Sprite, uint8_t* Out);
  // Sets the sprite of Cell to a packed one (made when the slot is empty).
  void UnpackSprite(const uint8_t* In, int Cell, std::unique_ptr<TSprite>& Slot) const;
  // What every sprite made by the rules shares (target, frame delay); still.
  const TSprite& Prototype() const { return FPrototype; }

 private:
  int ImageIndex(const TImage* Image);

  std::vector<const TImage*> FImages;
  std::array<int16_t, 512> FImageSlots{};  // open addressing on the pointer: index + 1, 0 free
  // The pixel position of each cell's sprite.
  std::array<int16_t, TMaps::kCols * TMaps::kRows> FCellX{}, FCellY{};
  TSprite FPrototype;
};
