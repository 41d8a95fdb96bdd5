#include "maps/tile_map.h"

#include <algorithm>
#include <unordered_map>

#include "shell/logger.h"

TTileMap::TTileMap() = default;
TTileMap::~TTileMap() = default;

void TTileMap::Clear() {
  Width = 0;
  Height = 0;
  LogicalTiles.clear();
  Tiles.clear();
  MapName = Author = GameName = "Unknown";
  Extra.clear();
  LogicalWraps.clear();
  OriginX = OriginY = 0;
}

void TTileMap::SetSize(int32_t W, int32_t H) {
  Clear();
  if (W < 1 || H < 1) return;
  Width = W;
  Height = H;
  const size_t Cells = static_cast<size_t>(W) * static_cast<size_t>(H);
  LogicalTiles.assign(Cells, 0);
  Tiles.assign(Cells, 0);
}

void TTileMap::Resize(int32_t W, int32_t H) {
  if (W < 1 || H < 1) {
    Width = Height = 0;
    LogicalTiles.clear();
    Tiles.clear();
    return;
  }
  const size_t Cells = static_cast<size_t>(W) * static_cast<size_t>(H);
  std::vector<int32_t> NewLogical(Cells, 0), NewTiles(Cells, 0);
  const int32_t Rows = std::min(H, Height), Columns = std::min(W, Width);
  for (int32_t Y = 0; Y < Rows; ++Y) {
    const size_t From = static_cast<size_t>(Y) * static_cast<size_t>(Width);
    const size_t To = static_cast<size_t>(Y) * static_cast<size_t>(W);
    std::copy_n(LogicalTiles.begin() + From, Columns, NewLogical.begin() + To);
    std::copy_n(Tiles.begin() + From, Columns, NewTiles.begin() + To);
  }
  LogicalTiles = std::move(NewLogical);
  Tiles = std::move(NewTiles);
  Width = W;
  Height = H;
}

void TTileMap::Shift(int32_t DX, int32_t DY) {
  if (Width < 1 || Height < 1) return;
  const int64_t Cells = int64_t(Width) * Height;
  // Negative and oversized offsets wrap around the whole grid.
  const int64_t By = ((int64_t(DX) + int64_t(DY) * Width) % Cells + Cells) % Cells;
  // Cell i moves to i + By: a right rotation of the sequence.
  std::rotate(LogicalTiles.begin(), LogicalTiles.end() - By, LogicalTiles.end());
  std::rotate(Tiles.begin(), Tiles.end() - By, Tiles.end());
}

int64_t TTileMap::CellIndex(int32_t X, int32_t Y) const {
  const int64_t CX = int64_t(X) - OriginX, CY = int64_t(Y) - OriginY;
  if (CX < 0 || CY < 0 || CX >= Width || CY >= Height) return -1;
  return CY * Width + CX;
}

int32_t TTileMap::GetTile(int32_t X, int32_t Y) const {
  const int64_t I = CellIndex(X, Y);
  return I < 0 ? 0 : Tiles[static_cast<size_t>(I)];
}

int32_t TTileMap::GetLogicalTile(int32_t X, int32_t Y) const {
  const int64_t I = CellIndex(X, Y);
  return I < 0 ? 0 : LogicalTiles[static_cast<size_t>(I)];
}

void TTileMap::SetLogicalTile(int32_t X, int32_t Y, int32_t Id) {
  const int64_t I = CellIndex(X, Y);
  if (I >= 0) LogicalTiles[static_cast<size_t>(I)] = Id;
}

void TTileMap::AddLogicalWrap(int32_t From, int32_t To) {
  Log->Debug(std::to_string(From) + ", " + std::to_string(To), "TileMapUnit, AddLogicalWrap");
  LogicalWraps.push_back({From, To});
}

void TTileMap::ApplyLogicalWraps() {
  // The first wrap of a given From is the one that applies.
  std::unordered_map<int32_t, int32_t> First;
  for (const TLogicalWrap& W : LogicalWraps) First.try_emplace(W.From, W.To);
  LogicalTiles.resize(Tiles.size());
  for (size_t I = 0; I < Tiles.size(); ++I) {
    const auto It = First.find(Tiles[I]);
    LogicalTiles[I] = It == First.end() ? Tiles[I] : It->second;
  }
}

bool TTileMap::AllTilesBelow256() const {
  return std::all_of(Tiles.begin(), Tiles.end(), [](int32_t T) { return T < 256; });
}
