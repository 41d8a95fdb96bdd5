#include "world/pack_writer.h"

#include <gtest/gtest.h>

#include "editor/map_editor.h"
#include "graphics/image_collection.h"
#include "maps/xmap.h"
#include "shell/logger.h"
#include "shell/parameters.h"
#include "storage/mad4_high_level.h"
#include "storage/stream_opener.h"
#include "tests/support/scope_guard.h"
#include "tests/support/test_support.h"
#include "world/map_check.h"
#include "world/maps.h"
#include "world/pack_reader.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& Text) { return {Text.begin(), Text.end()}; }

// A pack written and read back as the game reads it.
class PackWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartVolumeManager();
    StartStreamOpener();
    Parameters =
        std::make_unique<TParameters>(Dir.File("starquarry"), std::vector<std::string>{"-mainlog", Dir.File("t.log")});
    StartLogger();
  }
  void TearDown() override {
    StopStreamOpener();
    StopVolumeManager();
    StopLogger();
    Parameters = TParameters::FromCommandLine(0, nullptr);
  }
  std::unique_ptr<TMaps> Load(const std::string& File) {
    auto World = std::make_unique<TMaps>();
    EXPECT_TRUE(World->Load(File));
    return World;
  }
  TTempDir Dir;
  TRestore<std::unique_ptr<TImageCollection>> FBlocks{Blocks, std::make_unique<TImageCollection>()};
};

TMapEditor TwoMaps() {
  TMapEditor E;
  E.SetPackName("Quarry Two");
  E.SetPackAuthor("Nell Cobb");
  E.Paint(0, 0, Tile::Elf);
  E.Paint(19, 11, Tile::ExitClosed);
  E.Paint(5, 5, Tile::Diamond);
  E.SetMapName("First Light");
  E.SetMapAuthor("Nell");
  E.AddMap();
  E.Paint(1, 1, Tile::Elf);
  E.Paint(2, 1, Tile::TunnelRight);
  return E;
}

}  // namespace

TEST_F(PackWriterTest, SavedPackReadsBackAsTheEditorHeldIt) {
  TMapEditor E = TwoMaps();
  const std::string File = Dir.File("two.sq");
  std::string Error;
  ASSERT_TRUE(E.Save(File, {}, Error)) << Error;
  EXPECT_FALSE(E.Modified());
  EXPECT_FALSE(E.Renumbered());

  auto World = Load(File);
  ASSERT_EQ(World->MapCount(), 2);
  EXPECT_EQ(World->PackName, "Quarry Two");
  EXPECT_EQ(World->PackAuthor, "Nell Cobb");
  EXPECT_EQ(World->MapName(0), "First Light");
  EXPECT_EQ(World->MapAuthor(0), "Nell");
  for (int M = 0; M < 2; ++M)
    for (int Y = 0; Y < 12; ++Y)
      for (int X = 0; X < 20; ++X)
        ASSERT_EQ(World->Maps[static_cast<size_t>(M)]->GetTile(X, Y), E.Map(M).GetTile(X, Y))
            << "map " << M << " cell " << X << "," << Y;

  // Trailing empty cells of a row come back as empty, not as zeros.
  EXPECT_EQ(World->Maps[1]->GetTile(19, 11), Tile::Empty);
  TMapEditor Again(*World);
  EXPECT_FALSE(Again.Modified());
}

TEST_F(PackWriterTest, MembersTheEditorDoesNotTouchAreCarriedOver) {
  const std::string File = Dir.File("own.sq");
  TMapEditor E = TwoMaps();
  std::string Error;
  ASSERT_TRUE(E.Save(File, {{"controls.ini", Bytes("[Blocks]\r\n")}, {"rock.tga", {1, 2, 3, 0, 255}}}, Error)) << Error;

  TStoredPack Stored;
  ASSERT_TRUE(ReadStoredPack(File, Stored, Error)) << Error;
  const std::vector<TPackMember>& Extras = Stored.Extras;
  ASSERT_EQ(Extras.size(), 2u);
  EXPECT_EQ(Extras[0].Name, "controls.ini");
  EXPECT_EQ(Extras[0].Data, Bytes("[Blocks]\r\n"));
  EXPECT_EQ(Extras[1].Data, (std::vector<uint8_t>{1, 2, 3, 0, 255}));

  // Saved again with one map fewer: the extras stay, the old map is gone.
  TMapEditor Edited(*Load(File));
  Edited.SetCurrent(1);
  Edited.DeleteMap();
  EXPECT_TRUE(Edited.Renumbered());
  ASSERT_TRUE(Edited.Save(File, Extras, Error)) << Error;
  TStoredPack Kept;
  ASSERT_TRUE(ReadStoredPack(File, Kept, Error));
  EXPECT_EQ(Kept.Extras.size(), 2u);
  EXPECT_EQ(Load(File)->MapCount(), 1);
}

TEST_F(PackWriterTest, RefusedPacksLeaveTheOldFileAsItWas) {
  const std::string File = Dir.File("keep.sq");
  WriteFileText(File, "not a pack at all");
  TMapEditor E = TwoMaps();
  std::string Error;
  EXPECT_FALSE(E.Save(File, {{"INFO", Bytes("x")}}, Error));
  EXPECT_NE(Error.find("would replace"), std::string::npos) << Error;
  EXPECT_FALSE(E.Save(File, {{"002.MPP", Bytes("x")}}, Error));
  E.SetPackName("two\nlines");
  EXPECT_FALSE(E.Save(File, {}, Error));
  EXPECT_TRUE(E.Modified()) << "nothing was saved";
  EXPECT_EQ(ReadFileText(File), "not a pack at all");

  TStoredPack Stored;
  EXPECT_FALSE(ReadStoredPack(File, Stored, Error)) << "a file that is no pack gives no members to carry";
}

TEST_F(PackWriterTest, AMapTheLoaderDidNotReadIsNeverWritten) {
  const std::string File = Dir.File("unread.sq");
  WriteFileText(File, "the old pack");
  auto Unread = std::make_shared<TXMap>();
  Unread->Status = "damaged map member 002.mpp";
  std::string Error;
  EXPECT_FALSE(WritePack(File, "n", "a", {TMapEditor::EmptyMap(), Unread}, {}, Error));
  EXPECT_EQ(Error, "map 2 was not read (damaged map member 002.mpp)");
  EXPECT_EQ(ReadFileText(File), "the old pack");
  // 000.mpp is no map of the game's: it travels as any other member.
  EXPECT_TRUE(WritePack(File, "n", "a", {TMapEditor::EmptyMap()}, {{"000.mpp", Bytes("x")}}, Error)) << Error;
}

TEST_F(PackWriterTest, ChecksTellWhatMakesAMapUnplayable) {
  TMaps World;
  TMapEditor E;
  auto Problem = [&] { return CheckMap(World, E.CurrentMap()).Problem(); };
  EXPECT_EQ(Problem(), "no elf");
  E.Paint(0, 0, Tile::Elf);
  EXPECT_EQ(Problem(), "no exit");
  E.Paint(1, 0, Tile::ExitClosed);
  // No block images are loaded here: every block lacks one.
  EXPECT_EQ(Problem(), "no image for *!");
  const TMapCheck C = CheckMap(World, E.CurrentMap());
  EXPECT_EQ(C.Elves, 1);
  EXPECT_EQ(C.Exits, 1);
  EXPECT_FALSE(C.Ok());

  TXMap Two(E.CurrentMap());
  Two.Tiles[5] = Tile::Elf;
  EXPECT_EQ(CheckMap(World, Two).Problem(), "more than one elf");
  TXMap Damaged;
  Damaged.Status = "damaged map member 003.mpp";
  EXPECT_EQ(CheckMap(World, Damaged).Problem(), "damaged map member 003.mpp");
}
