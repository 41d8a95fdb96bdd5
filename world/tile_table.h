#pragma once
// Every tile a map may hold, one row each: its character (which is its code
// in the working grid and in map files, and the first character of its block
// images' names), what the rules make of it, how it is pictured, where the
// editor's palette and the help's legend show it. The rules, the solver, the
// map check, the editor and the help read the tiles' sets here and nowhere
// else. A new tile is a row here, its rule in map_rules.cpp if it does
// something of its own, and its picture.
//
// The rules run millions of steps a second in a search: a property is one
// load from an array indexed by code, built from the rows when compiling.
#include <array>
#include <cstddef>
#include <cstdint>

// Codes of the working grid: the tiles (their characters), then the states
// the rules put a cell through, which no map holds.
namespace Tile {
inline constexpr int32_t Vacated = 30;  // becomes Left at the end of a step
inline constexpr int32_t Left = 31;     // the elf has just left; becomes Empty
inline constexpr int32_t Empty = ' ';
inline constexpr int32_t ExitClosed = '!';
inline constexpr int32_t Wall = '#';
inline constexpr int32_t Diamond = '$';
inline constexpr int32_t Steel = '%';
inline constexpr int32_t Barrel = '&';
inline constexpr int32_t Elf = '*';
inline constexpr int32_t Grass = '.';
inline constexpr int32_t Balloon = '0';
inline constexpr int32_t TunnelLeft = '<';
inline constexpr int32_t Plasma = '=';
inline constexpr int32_t TunnelRight = '>';
inline constexpr int32_t Boulder = '@';
inline constexpr int32_t ElfInTunnelRight = 200;
inline constexpr int32_t ElfInTunnelLeft = 201;
inline constexpr int32_t ExplosionFirst = 216;
inline constexpr int32_t ExplosionLast = 220;
inline constexpr int32_t ExitWaiting = 228;
inline constexpr int32_t ExitOpening = 229;
inline constexpr int32_t ExitOpen = 240;
}  // namespace Tile

// What the rules make of a tile. Only tiles carry properties: the states a
// rule puts a cell through are that rule's own business (the open exit, the
// one state the elf may walk into, is named where the elf walks).
enum TTileFlag : uint16_t {
  kHeavy = 1 << 0,      // falls, and rolls off rounded things
  kRounded = 1 << 1,    // a heavy thing resting on it rolls off
  kWalkable = 1 << 2,   // the elf walks into it (eats grass, takes a diamond)
  kLiftable = 1 << 3,   // a balloon below carries it up
  kFloats = 1 << 4,     // rises of its own, lifting what sits on it
  kPushable = 1 << 5,   // the elf pushes it into an empty cell beyond
  kExplodes = 1 << 6,   // explodes landing hard, and again two steps after an explosion catches it
  kCushions = 1 << 7,   // an exploding thing lands on it softly
  kSurvives = 1 << 8,   // explosions neither destroy it nor reach past it
  kWall = 1 << 9,       // nothing ever passes it, neither the elf nor a fall
  kBarrier = 1 << 10,   // the elf cannot cross it unless an explosion takes it away
  kNumbered = 1 << 11,  // pictured by numbered looks ("$1", "$2", ...), one picked at each map start
  kInStep = 1 << 12,    // its animations all start at their first frame, so they move together
  kNoSprite = 1 << 13,  // its cell has no sprite (empty is black; the screens draw the elf)
};

struct TTileRow {
  char Char;
  const char* Name;        // in the help's legend
  uint16_t Flags;          // TTileFlag
  const char* Image;       // the block image that pictures it in the palette and the legend; null: none
  const char* LandSound;   // a fall of it comes to rest on something
  const char* EnterSound;  // the elf walks into it
  int LegendLine;          // its line in the help's legend, from 0; -1: not there
  const char* Legend;      // what the legend says of it
};

// In the order of the editor's palette (its numbered looks are counted in
// this order too).
inline constexpr TTileRow kTileRows[] = {
    {'*', "Elf", kLiftable | kNoSprite, "*D", nullptr, nullptr, 0, "you; dies under a fall"},
    {'!', "Exit", kBarrier, "!", nullptr, nullptr, 5, "opens once no diamond is left"},
    {'$', "Diamond", kHeavy | kRounded | kWalkable | kLiftable | kNumbered, "$", "DiamondDown", "DiamondPickup", 7,
     "falls and rolls; take them all"},
    {'@', "Boulder", kHeavy | kRounded | kLiftable | kPushable | kNumbered, "@", "BoulderDown", nullptr, 6,
     "falls, rolls off round things"},
    {'.', "Grass", kWalkable | kCushions | kNumbered, ".", nullptr, "EatSand", 1, "the elf digs through it"},
    {'#', "Wall", kRounded | kWall | kBarrier, "#", nullptr, nullptr, 2, "round: things roll off it"},
    {'%', "Steel", kSurvives | kWall | kBarrier, "%", nullptr, nullptr, 3, "survives every explosion"},
    {'=', "Plasma", kWall | kBarrier | kInStep, "=", nullptr, nullptr, 4, "only blocks; nothing rolls"},
    {'&', "Barrel", kHeavy | kRounded | kLiftable | kPushable | kExplodes | kNumbered, "&", nullptr, nullptr, 8,
     "falls; explodes landing hard"},
    {'0', "Balloon", kFloats | kPushable | kCushions | kNumbered, "0", nullptr, nullptr, 9,
     "rises, lifting what sits on it"},
    {'<', "Tunnel", 0, "<", nullptr, nullptr, 10, "one way through, to the left"},
    {'>', "Tunnel", 0, ">", nullptr, nullptr, 11, "one way through, to the right"},
    {' ', "Empty", kWalkable | kCushions | kNoSprite, nullptr, nullptr, nullptr, -1, nullptr},
};
inline constexpr int kTileCount = static_cast<int>(std::size(kTileRows));

namespace TileTableDetail {
constexpr std::array<int8_t, 256> RowsByCode() {
  std::array<int8_t, 256> Rows{};
  Rows.fill(-1);
  for (int I = 0; I < kTileCount; ++I) Rows[static_cast<uint8_t>(kTileRows[I].Char)] = static_cast<int8_t>(I);
  return Rows;
}
constexpr std::array<uint16_t, 256> FlagsByCode() {
  std::array<uint16_t, 256> Flags{};
  for (const TTileRow& Row : kTileRows) Flags[static_cast<uint8_t>(Row.Char)] = Row.Flags;
  return Flags;
}
inline constexpr std::array<int8_t, 256> kRows = RowsByCode();
inline constexpr std::array<uint16_t, 256> kFlags = FlagsByCode();
}  // namespace TileTableDetail

// The flags of the tile with this code; none for a state or an unknown code.
constexpr uint16_t TileFlags(int32_t Code) {
  return static_cast<uint32_t>(Code) < 256 ? TileTableDetail::kFlags[static_cast<uint32_t>(Code)] : 0;
}
constexpr bool TileIs(int32_t Code, uint16_t Flag) { return (TileFlags(Code) & Flag) != 0; }

// The row of the tile with this code; null for a state or an unknown code.
constexpr const TTileRow* TileRow(int32_t Code) {
  if (static_cast<uint32_t>(Code) >= 256) return nullptr;
  const int Row = TileTableDetail::kRows[static_cast<uint32_t>(Code)];
  return Row < 0 ? nullptr : &kTileRows[Row];
}
// A code a map may hold: a tile of the table.
constexpr bool IsTile(int32_t Code) { return TileRow(Code) != nullptr; }

// The legend's lines in order: the rows with a line of their own.
inline constexpr int kLegendLines = [] {
  int N = 0;
  for (const TTileRow& Row : kTileRows) N += Row.LegendLine >= 0;
  return N;
}();
inline constexpr std::array<const TTileRow*, kLegendLines> kLegendRows = [] {
  std::array<const TTileRow*, kLegendLines> Lines{};
  for (const TTileRow& Row : kTileRows)
    if (Row.LegendLine >= 0) Lines[static_cast<std::size_t>(Row.LegendLine)] = &Row;
  return Lines;
}();
// Counted by line numbers, not by the pointers above: g++ does not take a
// pointer's comparison with null as constant under -fsanitize=undefined.
static_assert(
    [] {
      std::array<int, kLegendLines> Uses{};
      for (const TTileRow& Row : kTileRows)
        if (Row.LegendLine >= kLegendLines) return false;
        else if (Row.LegendLine >= 0) ++Uses[static_cast<std::size_t>(Row.LegendLine)];
      for (int N : Uses)
        if (N != 1) return false;
      return true;
    }(),
    "the legend's lines are numbered from 0, each once");

// The character a code is pictured and walked by. Maps in the wide formats
// may hold codes above 255; the game reads only their low byte, so 256 + '$'
// shows as a diamond and the elf walks into it.
constexpr int32_t TileChar(int32_t Code) { return Code & 0xFF; }
