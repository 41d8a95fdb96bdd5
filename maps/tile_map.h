#pragma once
// A rectangular grid of integer tile IDs: the tiles as loaded, and the
// logical grid the game plays on (the loaded tiles with logical wraps applied).
#include <cstdint>
#include <string>
#include <vector>

struct TLogicalWrap {
  int32_t From = 0;  // tile ID as stored
  int32_t To = 0;    // tile ID the logical grid shows instead
};

class TTileMap {
 public:
  static constexpr const char* kVersion = "TileMapUnit, version 1.0";

  TTileMap();
  virtual ~TTileMap();
  TTileMap(const TTileMap&) = default;
  TTileMap& operator=(const TTileMap&) = default;

  // Empties the grid, the names, the extra lines and the wraps.
  virtual void Clear();
  // Clear, then a W x H grid of zeros (an empty grid when either is below 1).
  virtual void SetSize(int32_t W, int32_t H);
  // New size keeping the names and wraps; the top-left part of the old grid
  // stays where it was, new cells are 0.
  virtual void Resize(int32_t W, int32_t H);
  // Rotates both grids as one row-major sequence: cell i moves to
  // i + DX + DY * Width, taken modulo Width * Height (so negative offsets
  // rotate back).
  virtual void Shift(int32_t DX, int32_t DY);

  // Cell access; a cell outside the grid reads as 0 and ignores writes.
  int32_t GetTile(int32_t X, int32_t Y) const;
  int32_t GetLogicalTile(int32_t X, int32_t Y) const;
  void SetLogicalTile(int32_t X, int32_t Y, int32_t Id);

  void AddLogicalWrap(int32_t From, int32_t To);
  // Logical grid := loaded tiles, each replaced by the first wrap whose From matches.
  void ApplyLogicalWraps();
  bool AllTilesBelow256() const;

  // Cells exist exactly when Width > 0 and Height > 0; both grids then hold
  // Width * Height cells, row-major. Only the loaders write Tiles.
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<int32_t> LogicalTiles;
  std::vector<int32_t> Tiles;
  std::vector<std::string> Extra;  // free text lines carried with the map
  std::vector<TLogicalWrap> LogicalWraps;
  int32_t OriginX = 0;
  int32_t OriginY = 0;
  std::string MapName = "Unknown";
  std::string Author = "Unknown";
  std::string GameName = "Unknown";

 protected:
  // Index of a cell, or -1 outside the grid.
  int64_t CellIndex(int32_t X, int32_t Y) const;
};
