#include "maps/tile_map.h"

#include <gtest/gtest.h>

namespace {

// A W x H map whose loaded and logical cells hold 1, 2, 3, ... row-major.
TTileMap Numbered(int32_t W, int32_t H) {
  TTileMap M;
  M.SetSize(W, H);
  for (size_t I = 0; I < M.Tiles.size(); ++I) M.Tiles[I] = M.LogicalTiles[I] = static_cast<int32_t>(I + 1);
  return M;
}

}  // namespace

TEST(TileMapTest, SetSizeAndClear) {
  TTileMap M;
  M.MapName = "Name";
  M.Extra.push_back("x");
  M.AddLogicalWrap(1, 2);
  M.SetSize(3, 2);
  EXPECT_EQ(M.Width, 3);
  EXPECT_EQ(M.Tiles, std::vector<int32_t>(6, 0));
  EXPECT_EQ(M.LogicalTiles.size(), 6u);
  EXPECT_EQ(M.MapName, "Unknown") << "SetSize starts from a cleared map";
  EXPECT_TRUE(M.Extra.empty());
  EXPECT_TRUE(M.LogicalWraps.empty());
  M.SetSize(0, 5);
  EXPECT_EQ(M.Width, 0);
  EXPECT_EQ(M.Height, 0);
  EXPECT_TRUE(M.Tiles.empty());
}

TEST(TileMapTest, ResizeKeepsTheTopLeftPart) {
  TTileMap M = Numbered(3, 2);  // 1 2 3 / 4 5 6
  M.MapName = "Kept";
  M.Resize(4, 3);
  EXPECT_EQ(M.Tiles, (std::vector<int32_t>{1, 2, 3, 0, 4, 5, 6, 0, 0, 0, 0, 0}));
  EXPECT_EQ(M.LogicalTiles, M.Tiles);
  EXPECT_EQ(M.MapName, "Kept");
  M.Resize(2, 1);
  EXPECT_EQ(M.Tiles, (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(M.GetTile(1, 0), 2);
  M.Resize(0, 3);
  EXPECT_EQ(M.Width, 0);
  EXPECT_TRUE(M.Tiles.empty());
}

TEST(TileMapTest, ShiftRotatesRowMajorAndWrapsOffsets) {
  TTileMap M = Numbered(3, 2);
  M.Shift(1, 0);
  EXPECT_EQ(M.Tiles, (std::vector<int32_t>{6, 1, 2, 3, 4, 5}));
  EXPECT_EQ(M.LogicalTiles, M.Tiles);
  M.Shift(-1, 0);
  EXPECT_EQ(M.Tiles, (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
  M.Shift(0, 1);
  EXPECT_EQ(M.Tiles, (std::vector<int32_t>{4, 5, 6, 1, 2, 3}));
  M.Shift(6, -2);  // a whole turn changes nothing
  EXPECT_EQ(M.Tiles, (std::vector<int32_t>{4, 5, 6, 1, 2, 3}));
  M.Shift(INT32_MIN, INT32_MAX);
  EXPECT_EQ(M.Tiles.size(), 6u);
  TTileMap Empty;
  Empty.Shift(1, 1);
  EXPECT_TRUE(Empty.Tiles.empty());
}

TEST(TileMapTest, LogicalWrapsFirstMatchWins) {
  TTileMap M = Numbered(2, 2);  // 1 2 / 3 4
  M.AddLogicalWrap(2, 20);
  M.AddLogicalWrap(2, 99);
  M.AddLogicalWrap(3, 2);  // not chained: wraps map loaded values only
  M.SetLogicalTile(0, 0, 77);
  M.ApplyLogicalWraps();
  EXPECT_EQ(M.LogicalTiles, (std::vector<int32_t>{1, 20, 2, 4}));
  EXPECT_EQ(M.Tiles, (std::vector<int32_t>{1, 2, 3, 4}));
}

TEST(TileMapTest, CellsOutsideTheGridAreInert) {
  TTileMap M = Numbered(2, 2);
  EXPECT_EQ(M.GetLogicalTile(1, 1), 4);
  EXPECT_EQ(M.GetTile(2, 0), 0);
  EXPECT_EQ(M.GetTile(-1, 0), 0);
  EXPECT_EQ(M.GetLogicalTile(0, 2), 0);
  M.SetLogicalTile(5, 5, 9);
  M.SetLogicalTile(1, 0, 9);
  EXPECT_EQ(M.LogicalTiles, (std::vector<int32_t>{1, 9, 3, 4}));
  EXPECT_TRUE(M.AllTilesBelow256());
  M.Tiles[3] = 256;
  EXPECT_FALSE(M.AllTilesBelow256());
}
