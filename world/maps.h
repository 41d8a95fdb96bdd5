#pragma once
// One level pack and the state of the map being played: the working grid
// (the active map's logical tiles), a sprite and a state byte per cell, the
// elf and the diamonds still to collect. The rules that change this state
// live in map_rules.cpp.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "graphics/sprite.h"
#include "maps/xmap.h"
#include "world/tile_table.h"

class TImage;

// The game's global: the loaded level pack (with the map being played).
class TMaps;
extern std::unique_ptr<TMaps> Maps;

// Cell state bytes.
namespace CellState {
inline constexpr uint8_t Free = 0;     // may act this step
inline constexpr uint8_t Handled = 1;  // done for this step; free again as the next begins
inline constexpr uint8_t Moving = 4;   // fell, rolled or rose last step: checked for where it lands
// State bytes from WaitLeast to WaitMost count down by one a step (the
// waiting phase), then go on as the state they reach.
inline constexpr uint8_t WaitLeast = 5;
inline constexpr uint8_t WaitMost = 10;
// Lifted or sunk by a balloon: waits a step, then lands as Moving (so a
// balloon carrying something rises one cell every two steps).
inline constexpr uint8_t Lifted = 5;
inline constexpr uint8_t ExplodeNow = 8;
// A barrel an explosion caught: counts down to ExplodeNow, so it explodes
// again two steps later and carries a chain of barrels on.
inline constexpr uint8_t BarrelCaught = 10;
}  // namespace CellState

// The arrow keys held during a step.
struct TElfKeys {
  bool Up = false, Down = false, Left = false, Right = false;
};

// What the elf's move does with the keys held (the first rule that applies).
enum class TElfAction { None, Up, Down, Left, LeftTunnel, LeftPush, Right, RightTunnel, RightPush };

// Hears every effect the rules play, by name.
using TEffectListener = std::function<void(const std::string&)>;

// A TMaps is a value: a copy is an independent world (grid, state bytes,
// sprites with their animation state, the elf) that runs on its own. The
// loaded maps are shared between copies; nothing changes them after Load.
class TMaps {
 public:
  static constexpr int kCols = 20;
  static constexpr int kRows = 12;
  // Cell (X, Y) shows at pixel (kCellSize X, kFieldTop + kCellSize Y).
  static constexpr int kCellSize = 32;
  static constexpr int kFieldTop = 48;
  static constexpr int CellLeft(int X) { return X * kCellSize; }
  static constexpr int CellTop(int Y) { return Y * kCellSize + kFieldTop; }
  static constexpr const char* kHiddenElf = "  ";

  TMaps();
  ~TMaps();
  // The copy knows nothing of what the original drew: it draws every cell.
  TMaps(const TMaps& Other);
  TMaps& operator=(const TMaps& Other);

  bool Load(const std::string& FileName);
  // VariantCounts from the block images in use, as Load sets it: a world
  // made without a pack file draws its looks (and random numbers) as the
  // game will once the map is in a pack.
  void CountVariants();
  void SetActive(uint16_t MapNo);
  int MapCount() const { return static_cast<int>(Maps.size()); }
  std::string MapName(int MapNo) const;
  std::string MapAuthor(int MapNo) const;
  void FindElf();
  void CountDiamonds();
  void FreeSprites();
  void ClearCell(int X, int Y);
  void DrawMap();
  // What Frames frames of DrawMap do to the cell animations, without
  // drawing: a world run off screen keeps the game's timing (the exit opens
  // once its animations have played).
  void TickCells(int Frames = 1);
  // The target's cells no longer show what DrawMap last put there (something
  // else was drawn over the field): the next DrawMap draws every cell.
  void ForgetDrawnCells();
  // Something (the elf) was drawn over this cell: the next DrawMap draws it.
  void ForgetDrawnCell(int X, int Y) {
    if (InField(X, Y)) FDrawn[static_cast<size_t>(Index(X, Y))] = TDrawnCell{};
  }

  // The rules of the world (map_rules.cpp).
  void ElfMove(const TElfKeys& Keys, bool& Completed);
  // The move ElfMove would make now, without making it.
  TElfAction ElfAction(const TElfKeys& Keys) const;
  void Step();
  // State bytes of 1 (handled this step) back to 0, as each step begins.
  void ReleaseHandledCells();
  void Explode(int X, int Y);
  void ExplodeCell(int X, int Y);
  void OpenExit();
  bool IsWalkable(int X, int Y) const;
  bool TunnelExitFree(int X, int Y, int DX) const;

  // The map being played as loaded (null before SetActive or without maps).
  const TXMap* ActiveMap() const { return FActive.get(); }

  // The working grid of the active map. Cells outside the 20x12 field (the
  // row below the bottom one included), or outside a smaller map, read as
  // solid steel and are never written.
  // (Field cells outside a smaller map hold steel in FCells.)
  int32_t Code(int X, int Y) const { return InField(X, Y) ? FCells[static_cast<size_t>(Index(X, Y))] : Tile::Steel; }
  // The grid as stored, cell X * kRows + Y.
  const std::array<int32_t, kCols * kRows>& Cells() const { return FCells; }
  void SetCode(int X, int Y, int32_t Value) {
    if (InMap(X, Y)) FCells[static_cast<size_t>(Index(X, Y))] = Value;
  }
  uint8_t& Flag(int X, int Y) { return Flags[Index(X, Y)]; }
  uint8_t Flag(int X, int Y) const { return Flags[Index(X, Y)]; }
  TSprite* Sprite(int X, int Y) const { return Sprites[Index(X, Y)].get(); }

  std::vector<std::shared_ptr<TXMap>> Maps;
  std::string VariantCounts = "11111";
  std::string PackName, PackAuthor;
  std::array<uint8_t, kCols * kRows> Flags{};
  std::array<std::unique_ptr<TSprite>, kCols * kRows> Sprites;
  int32_t ElfDead = 0;
  int32_t ElfX = 0, ElfY = 0;
  int32_t DiamondsLeft = 0;
  std::string ElfImage = kHiddenElf;
  // Where the rules' effects go: the wave collection by default; empty for
  // a silent world (a copy that searches or rewinds).
  TEffectListener Effects;
  // False for a world run only for where it leads (a search): TickCells then
  // advances just the sprites in the exit's cells, the only animations the
  // rules read (an exit opens once its animation has played), and leaves
  // every other look still.
  bool AnimateLooks = true;
  // The cells (X * kRows + Y) where the active map has an exit.
  const std::vector<int>& ExitCells() const { return FExitCells; }

 private:
  static int Index(int X, int Y) { return X * kRows + Y; }

  // What DrawMap last put in each cell. The back surface keeps its pixels
  // between frames, so a cell showing the same picture is not copied again
  // (most cells are still blocks; this keeps a frame cheap).
  struct TDrawnCell {
    const TImage* Image = nullptr;
    int64_t Part = -1;  // frame drawn; -2 the whole image, -3 black, -1 nothing known
    bool operator==(const TDrawnCell&) const = default;
  };
  std::array<TDrawnCell, kCols * kRows> FDrawn{};
  static bool InField(int X, int Y) { return X >= 0 && X < kCols && Y >= 0 && Y < kRows; }
  // The rules run every step: the grid is read directly, not through calls.
  bool InMap(int X, int Y) const { return InField(X, Y) && X < FActiveWidth && Y < FActiveHeight; }
  // One map member of the mounted pack; an empty map (Status tells why)
  // when it cannot be read.
  static std::shared_ptr<TXMap> LoadMap(const std::string& Member);
  void Play(const char* Effect) const {
    if (Effects) Effects(Effect);
  }

  // The loaded map being played and its working grid (field cells only: the
  // rules never reach beyond the 20x12 field).
  std::shared_ptr<const TXMap> FActive;
  int FActiveWidth = 0, FActiveHeight = 0;
  std::array<int32_t, kCols * kRows> FCells{};
  std::vector<int> FExitCells;
  void TickCell(int Cell, int Frames);

  // Moves code and sprite from one cell to another; the vacated cell gets Vacated.
  void MoveCell(int FromX, int FromY, int ToX, int ToY, int32_t Vacated = Tile::Empty);
  void FreeSprite(int X, int Y);
  // Gives the cell a new sprite of the named block image (none when missing).
  void NewSprite(int X, int Y, const std::string& ImageName, bool Looping, bool RandomStart);
  // Shows another block image in the cell's sprite (same frame layout).
  void ShowImage(int X, int Y, const std::string& ImageName);
  void CollectAt(int X, int Y);
  void WalkElf(int DX, int DY, const char* Image, bool& Completed);
  void EnterTunnel(int DX);
  bool CanPush(int X, int Y) const;
  void Push(int DX);
  void ElfInTunnel(int X, int Y, int DX);
  void LandingPhase();
  void BalloonPhase();
  void FallingPhase();
  void CleanupPhase();
};
