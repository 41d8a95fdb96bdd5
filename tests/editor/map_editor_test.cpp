#include "editor/map_editor.h"

#include <gtest/gtest.h>

#include "maps/xmap.h"
#include "world/maps.h"

namespace {

std::string Row(const TMapEditor& E, int Y) {
  std::string R;
  for (int X = 0; X < TMaps::kCols; ++X) R += static_cast<char>(E.TileAt(X, Y));
  return R;
}

int Count(const TXMap& Map, int32_t Code) {
  return static_cast<int>(std::count(Map.Tiles.begin(), Map.Tiles.end(), Code));
}

}  // namespace

TEST(MapEditorTest, ANewPackIsOneEmptyFieldAndUnmodified) {
  TMapEditor E;
  ASSERT_EQ(E.MapCount(), 1);
  EXPECT_EQ(E.CurrentMap().Width, 20);
  EXPECT_EQ(E.CurrentMap().Height, 12);
  EXPECT_EQ(Count(E.CurrentMap(), Tile::Empty), 240);
  EXPECT_FALSE(E.Modified());
  EXPECT_FALSE(E.CanUndo());
}

TEST(MapEditorTest, PaintWritesBothGridsAndRefusesWhatIsNoTile) {
  TMapEditor E;
  EXPECT_TRUE(E.Paint(3, 2, Tile::Diamond));
  EXPECT_EQ(E.TileAt(3, 2), Tile::Diamond);
  EXPECT_EQ(E.CurrentMap().GetLogicalTile(3, 2), Tile::Diamond);
  EXPECT_FALSE(E.Paint(3, 2, Tile::Diamond)) << "the same tile again is no change";
  EXPECT_FALSE(E.Paint(3, 2, Tile::ExitOpen)) << "a state of play is no tile of a map";
  EXPECT_FALSE(E.Paint(20, 0, Tile::Wall));
  EXPECT_FALSE(E.Paint(0, -1, Tile::Wall));
  EXPECT_TRUE(E.Modified());
  EXPECT_TRUE(E.ClearCell(3, 2));
  EXPECT_EQ(E.TileAt(3, 2), Tile::Empty);
  EXPECT_FALSE(E.ClearCell(3, 2));
}

TEST(MapEditorTest, PlacingTheElfMovesItAndUndoPutsItBack) {
  TMapEditor E;
  E.Paint(1, 1, Tile::Elf);
  E.Paint(5, 7, Tile::Elf);
  EXPECT_EQ(Count(E.CurrentMap(), Tile::Elf), 1);
  EXPECT_EQ(E.TileAt(5, 7), Tile::Elf);
  EXPECT_EQ(E.TileAt(1, 1), Tile::Empty);
  ASSERT_TRUE(E.Undo());
  EXPECT_EQ(E.TileAt(1, 1), Tile::Elf);
  EXPECT_EQ(E.TileAt(5, 7), Tile::Empty);
  ASSERT_TRUE(E.Redo());
  EXPECT_EQ(E.TileAt(5, 7), Tile::Elf);
  EXPECT_EQ(Count(E.CurrentMap(), Tile::Elf), 1);
}

TEST(MapEditorTest, UndoAndRedoReachBackOverEveryKindOfChange) {
  TMapEditor E;
  E.Paint(0, 0, Tile::Wall);
  E.SetMapName("Cave");
  E.SetMapAuthor("Ida");
  E.SetPackName("Deep");
  E.SetPackAuthor("Crew");
  E.AddMap();
  E.Paint(1, 0, Tile::Boulder);
  E.MoveMap(-1);
  E.AddMap();
  E.DeleteMap();
  ASSERT_EQ(E.MapCount(), 2);
  EXPECT_EQ(E.Map(1).MapName, "Cave");

  int Steps = 0;
  while (E.Undo()) ++Steps;
  EXPECT_EQ(Steps, 10);
  EXPECT_EQ(E.MapCount(), 1);
  EXPECT_EQ(E.TileAt(0, 0), Tile::Empty);
  EXPECT_EQ(E.CurrentMap().MapName, "Unknown");
  EXPECT_EQ(E.PackName(), "");
  EXPECT_FALSE(E.Modified()) << "undone to the state as loaded";

  while (E.Redo()) --Steps;
  EXPECT_EQ(Steps, 0);
  ASSERT_EQ(E.MapCount(), 2);
  EXPECT_EQ(E.Map(0).GetTile(1, 0), Tile::Boulder);
  EXPECT_EQ(E.Map(1).GetTile(0, 0), Tile::Wall);
  EXPECT_EQ(E.Map(1).Author, "Ida");
  EXPECT_EQ(E.PackAuthor(), "Crew");
}

TEST(MapEditorTest, ANewChangeEndsTheRedoHistory) {
  TMapEditor E;
  E.Paint(0, 0, Tile::Wall);
  E.Undo();
  E.Paint(0, 0, Tile::Grass);
  EXPECT_FALSE(E.CanRedo());
  EXPECT_FALSE(E.Redo());
  EXPECT_EQ(E.TileAt(0, 0), Tile::Grass);
}

TEST(MapEditorTest, AStrokeIsOneUndoStep) {
  TMapEditor E;
  E.Paint(0, 5, Tile::Wall);
  E.BeginStroke();
  for (int X = 1; X < 6; ++X) E.Paint(X, 5, Tile::Wall);
  E.EndStroke();
  E.Undo();
  EXPECT_EQ(Row(E, 5), "#                   ");
  E.Undo();
  EXPECT_EQ(Row(E, 5), std::string(20, ' '));
}

TEST(MapEditorTest, UndoShowsTheMapTheChangeWasMadeOn) {
  TMapEditor E;
  E.AddMap();
  E.AddMap();
  E.SetCurrent(1);
  E.Paint(2, 2, Tile::Steel);
  E.SetCurrent(0);
  E.Undo();
  EXPECT_EQ(E.Current(), 1);
  EXPECT_EQ(E.TileAt(2, 2), Tile::Empty);
}

TEST(MapEditorTest, MapsAreAddedAfterTheCurrentOneAndMovedInOrder) {
  TMapEditor E;
  E.SetMapName("A");
  for (const char* N : {"B", "C", "D"}) {
    E.AddMap();
    E.SetMapName(N);
  }
  E.SetCurrent(1);
  E.AddMap();
  E.SetMapName("X");
  auto Names = [&] {
    std::string S;
    for (int I = 0; I < E.MapCount(); ++I) S += E.Map(I).MapName;
    return S;
  };
  EXPECT_EQ(Names(), "ABXCD");
  EXPECT_EQ(E.Current(), 2);
  EXPECT_TRUE(E.MoveMap(2));
  EXPECT_EQ(Names(), "ABCDX");
  EXPECT_EQ(E.Current(), 4);
  EXPECT_FALSE(E.MoveMap(1)) << "past the end";
  EXPECT_TRUE(E.MoveMap(-4));
  EXPECT_EQ(Names(), "XABCD");
  E.DeleteMap();
  EXPECT_EQ(Names(), "ABCD");
  EXPECT_EQ(E.Current(), 0);
}

TEST(MapEditorTest, DeletingTheOnlyMapLeavesAnEmptyOne) {
  TMapEditor E;
  E.Paint(4, 4, Tile::Elf);
  E.DeleteMap();
  ASSERT_EQ(E.MapCount(), 1);
  EXPECT_EQ(Count(E.CurrentMap(), Tile::Empty), 240);
}

TEST(MapEditorTest, RenumberingIsToldApartFromEditing) {
  TMapEditor E;
  E.AddMap();
  TMaps World;
  E.FillWorld(World);
  TMapEditor Loaded(World);
  EXPECT_FALSE(Loaded.Renumbered());
  Loaded.Paint(0, 0, Tile::Wall);
  EXPECT_FALSE(Loaded.Renumbered()) << "an edited map keeps its number";
  Loaded.MoveMap(1);
  EXPECT_TRUE(Loaded.Renumbered());
  Loaded.MoveMap(-1);
  EXPECT_FALSE(Loaded.Renumbered()) << "back in place";
  Loaded.AddMap();
  EXPECT_TRUE(Loaded.Renumbered());
  Loaded.Undo();
  Loaded.DeleteMap();
  EXPECT_TRUE(Loaded.Renumbered());
}

TEST(MapEditorTest, AnUnreadableMapBecomesAWholeFieldWhenEdited) {
  TMaps World;
  auto Damaged = std::make_shared<TXMap>();
  Damaged->Status = "damaged map member 001.mpp";
  World.Maps.push_back(Damaged);
  TMapEditor E(World);
  ASSERT_TRUE(E.Paint(0, 0, Tile::Elf));
  EXPECT_EQ(E.CurrentMap().Width, 20);
  EXPECT_EQ(E.CurrentMap().Status, "OK");
  EXPECT_EQ(Count(E.CurrentMap(), Tile::Empty), 239);
}

TEST(MapEditorTest, TheWorldGetsCopiesThatPlayWithoutTouchingTheEdit) {
  TMapEditor E;
  E.Paint(0, 0, Tile::Elf);
  TMaps World;
  E.FillWorld(World);
  World.Maps[0]->Tiles[0] = Tile::Wall;
  EXPECT_EQ(E.TileAt(0, 0), Tile::Elf);
}
