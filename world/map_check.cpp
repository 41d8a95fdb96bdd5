#include "world/map_check.h"

#include <algorithm>

#include "maps/xmap.h"
#include "world/block_images.h"
#include "world/maps.h"

std::string TMapCheck::Problem() const {
  if (!Error.empty()) return Error;
  if (!SizeOk) return "not 20x12";
  if (Elves == 0) return "no elf";
  if (Elves > 1) return "more than one elf";
  if (Exits == 0) return "no exit";
  if (!Missing.empty()) return "no image for " + Missing;
  return {};
}

std::string MissingImages(const TMaps& Pack, const TXMap& Map) {
  std::string Missing;
  for (int Y = 0; Y < std::min(Map.Height, TMaps::kRows); ++Y) {
    for (int X = 0; X < std::min(Map.Width, TMaps::kCols); ++X) {
      const int32_t C = TileChar(Map.GetTile(X, Y));
      const TTileRow* Row = TileRow(C);
      if ((Row && !Row->Image) || Missing.find(static_cast<char>(C)) != std::string::npos) continue;
      bool Found;
      const size_t At = Pack.VariantCounts.find(static_cast<char>(C));
      if (At != std::string::npos && At % 2 == 0 && At + 1 < Pack.VariantCounts.size()) {
        // A numbered block shows one of its numbered looks.
        Found = Pack.VariantCounts[At + 1] > 0;
      } else {
        // A character no tile has is looked for by itself: a pack may bring its picture.
        Found = FindBlockImage(Row ? Row->Image : std::string(1, static_cast<char>(C)), false) != nullptr;
      }
      if (!Found) Missing += static_cast<char>(C);
    }
  }
  return Missing;
}

int CountTiles(const TXMap& Map, int Code) {
  int N = 0;
  for (int Y = 0; Y < std::min(Map.Height, TMaps::kRows); ++Y)
    for (int X = 0; X < std::min(Map.Width, TMaps::kCols); ++X) N += Map.GetTile(X, Y) == Code;
  return N;
}

TMapCheck CheckMap(const TMaps& Pack, const TXMap& Map) {
  TMapCheck R;
  R.SizeOk = Map.Width == TMaps::kCols && Map.Height == TMaps::kRows;
  R.Elves = CountTiles(Map, Tile::Elf);
  R.Exits = CountTiles(Map, Tile::ExitClosed);
  R.Diamonds = CountTiles(Map, Tile::Diamond);
  R.Missing = MissingImages(Pack, Map);
  // A member that could not be read loaded as an empty map.
  if (Map.Status != "OK") R.Error = Map.Status;
  return R;
}
