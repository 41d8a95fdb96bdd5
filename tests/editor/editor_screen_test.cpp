#include "editor/editor_screen.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "graphics/key_codes.h"
#include "graphics/video.h"
#include "maps/xmap.h"
#include "storage/compressor.h"
#include "tests/storage/archive_bytes.h"
#include "tests/support/data_folder.h"
#include "tests/support/log_capture.h"
#include "tests/support/scope_guard.h"
#include "tests/support/test_support.h"
#include "world/maps.h"

namespace {

// The editor on a pack in an empty working folder, with the game's data (its
// block images) mounted; questions are answered by the test.
class EditorScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Data.Mounted());
    // As the game runs: a pack read again after a save is read from disk.
    StreamOpener->CacheEnabled = false;
    VX_SDL::ClearKeys();
  }
  void TearDown() override { VX_SDL::ClearKeys(); }
  std::unique_ptr<TEditorScreen> OpenEditor(const std::string& File, int MapNo = 0) {
    auto Screen = std::make_unique<TEditorScreen>(File, MapNo);
    Screen->Answer = [this](const std::string& Q) {
      Questions.push_back(Q);
      return Reply;
    };
    EXPECT_TRUE(Screen->Open()) << Screen->Status();
    return Screen;
  }
  static void Type(TEditorScreen& S, const std::string& Text) {
    for (char C : Text) S.Typed(C);
  }
  std::unique_ptr<TMaps> Reload(const std::string& File) {
    auto World = std::make_unique<TMaps>();
    EXPECT_TRUE(World->Load(File));
    return World;
  }

  TDataFolder Data;
  TLogCapture Captured;
  TRestore<std::unique_ptr<TMaps>> PackGuard{Maps};
  std::vector<std::string> Questions;
  int Reply = TEditorScreen::kYes;
};

std::string MapText(const std::string& Name) {
  return "MAPT\r\nWI20\r\nHE12\r\nMN" + Name + "\r\nAUTest\r\nMP*$!\r\nXX\r\n";
}

TArchiveBytes PackOf(const std::vector<std::pair<std::string, std::string>>& Maps) {
  TArchiveBytes A;
  A.Member("RAWD", "info", Bytes("Starquarry level pack\r\nDeep Shafts\r\nAda\r\n"));
  for (const auto& [Member, Name] : Maps) A.Member("RAWD", Member, Bytes(MapText(Name)));
  return A;
}

std::string Row(const TXMap& Map, int Y) {
  std::string R;
  for (int X = 0; X < TMaps::kCols; ++X) R += static_cast<char>(Map.GetTile(X, Y));
  return R;
}

}  // namespace

TEST_F(EditorScreenTest, AMissingPackIsCreatedWithOneEmptyMap) {
  auto S = OpenEditor("new.sq");
  ASSERT_TRUE(VXToolbox::FileExists("new.sq"));
  EXPECT_EQ(S->Editor().MapCount(), 1);
  EXPECT_EQ(S->Editor().PackName(), "new");
  EXPECT_FALSE(S->Editor().Modified());
  EXPECT_EQ(S->Status(), "Map 1: no elf");
  EXPECT_EQ(Reload("new.sq")->MapCount(), 1);
}

TEST_F(EditorScreenTest, TypingWritesARowAndTheArrowsAndReturnPaint) {
  auto S = OpenEditor("rows.sq");
  EXPECT_EQ(S->CursorX(), 0);
  EXPECT_EQ(S->CursorY(), 0);
  Type(*S, "*.$-@!");
  EXPECT_EQ(Row(S->Editor().CurrentMap(), 0), "*.$ @!              ");
  EXPECT_EQ(S->CursorX(), 6);
  EXPECT_EQ(S->Chosen(), Tile::ExitClosed);
  Type(*S, "x ");  // no tiles: nothing written, the cursor stays
  EXPECT_EQ(S->CursorX(), 6);

  S->Press(VXKey::Down, false);
  S->Press(VXKey::Left, false);
  S->Press(VXKey::Return, false);
  EXPECT_EQ(S->Editor().TileAt(5, 1), Tile::ExitClosed);
  S->Press(VXKey::Letter('z'), true);
  EXPECT_EQ(S->Editor().TileAt(5, 1), Tile::Empty);
  S->Press(VXKey::Letter('y'), true);
  EXPECT_EQ(S->Editor().TileAt(5, 1), Tile::ExitClosed);
  S->Press(VXKey::Left, false);
  S->Press(VXKey::Left, false);
  S->Press(VXKey::Left, false);
  S->Press(VXKey::Left, false);
  S->Press(VXKey::Left, false);
  S->Press(VXKey::Left, false);
  EXPECT_EQ(S->CursorX(), 19) << "the cursor wraps at the edge";
}

TEST_F(EditorScreenTest, MapKeysAddDeleteMoveAndWarnOfRenumbering) {
  auto S = OpenEditor("maps.sq");
  S->Press(VXKey::Insert, false);
  EXPECT_EQ(S->Editor().MapCount(), 2);
  EXPECT_EQ(S->Editor().Current(), 1);
  EXPECT_NE(S->Status().find("progress is kept by map number"), std::string::npos) << S->Status();
  Type(*S, "#");
  S->Press(VXKey::PageUp, true);
  EXPECT_EQ(S->Editor().Current(), 0);
  EXPECT_EQ(S->Editor().TileAt(0, 0), Tile::Wall);
  S->Press(VXKey::PageDown, false);
  EXPECT_EQ(S->Editor().Current(), 1);

  Reply = TEditorScreen::kNo;
  S->Press(VXKey::Delete, false);
  EXPECT_EQ(S->Editor().MapCount(), 2) << "the question was answered no";
  Reply = TEditorScreen::kYes;
  S->Press(VXKey::Delete, false);
  EXPECT_EQ(S->Editor().MapCount(), 1);
  EXPECT_EQ(Questions.size(), 2u);
}

TEST_F(EditorScreenTest, SavingAsksFirstWhenMapsWereRenumbered) {
  auto S = OpenEditor("save.sq");
  Type(*S, "*$!");
  ASSERT_TRUE(S->Save());
  EXPECT_TRUE(Questions.empty()) << "an edit keeps the numbers";
  EXPECT_EQ(Row(*Reload("save.sq")->Maps[0], 0), "*$!                 ");

  S->Press(VXKey::Insert, false);
  Reply = TEditorScreen::kNo;
  EXPECT_FALSE(S->Save());
  EXPECT_EQ(Reload("save.sq")->MapCount(), 1);
  Reply = TEditorScreen::kYes;
  EXPECT_TRUE(S->Save());
  EXPECT_EQ(Reload("save.sq")->MapCount(), 2);
  EXPECT_EQ(Questions.size(), 2u);
}

TEST_F(EditorScreenTest, AFileThatIsNoPackIsNeitherOpenedNorReplaced) {
  for (const char* Text : {"MAD4 but not really", "no archive at all"}) {
    WriteFileText("broken.sq", Text);
    TEditorScreen S("broken.sq", 0);
    EXPECT_FALSE(S.Open()) << Text;
    EXPECT_FALSE(S.Status().empty());
    EXPECT_EQ(ReadFileText("broken.sq"), Text);
  }
}

TEST_F(EditorScreenTest, TheSolverAnswersInTheBackgroundAndAKeyCancels) {
  auto S = OpenEditor("solve.sq");
  Type(*S, "*$$!");
  S->Press(VXKey::F6, false);
  ASSERT_TRUE(S->Solving());
  for (int I = 0; I < 3000 && S->Solving(); ++I) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    S->PollSolve();
  }
  ASSERT_FALSE(S->Solving());
  EXPECT_EQ(S->Status(), "Map 1: solved in " + std::to_string(S->SolvedKeys().size()) + " steps");
  EXPECT_FALSE(S->SolvedKeys().empty());

  S->Press(VXKey::Left, false);
  Type(*S, "-");
  S->Press(VXKey::F7, false);
  EXPECT_NE(S->Status().find("F6 first"), std::string::npos) << "the run belongs to the map as it was";
}

TEST_F(EditorScreenTest, AMapWithoutAWayOutIsImpossible) {
  auto S = OpenEditor("walled.sq");
  Type(*S, "*%!");
  for (int I = 0; I < 3; ++I) S->Press(VXKey::Left, false);
  S->Press(VXKey::Down, false);
  Type(*S, "%");  // steel right of and below the elf: it is shut in
  S->Press(VXKey::F6, false);
  for (int I = 0; I < 3000 && S->Solving(); ++I) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    S->PollSolve();
  }
  EXPECT_EQ(S->Status(), "Map 1: impossible");
}

// --- Packs the editor could not read in full ------------------------------------

TEST_F(EditorScreenTest, APackWithAMemberItCannotReadIsRefusedAndLeftAsItIs) {
  TArchiveBytes Damaged = PackOf({{"001.mpp", "One"}});
  std::vector<uint8_t> Cut = TCompressor().Compress(Bytes(MapText("Two")), 0x40);
  Cut.resize(Cut.size() / 2);
  Damaged.Member("COMP", "002.mpp", Cut);
  WriteFileBytes("damaged.sq", Damaged.Finish());
  TArchiveBytes Short = PackOf({{"001.mpp", "One"}, {"002.mpp", "Two"}});
  std::vector<uint8_t> ShortBytes = Short.Finish();
  ShortBytes.resize(ShortBytes.size() - 30);
  WriteFileBytes("short.sq", ShortBytes);

  for (const auto& [File, Why] :
       {std::pair<std::string, std::string>{"damaged.sq", "damaged.sq: damaged map member 002.mpp"},
        {"short.sq", "short.sq is cut short"}}) {
    const std::vector<uint8_t> Before = ReadFileBytes(File);
    TEditorScreen S(File, 1);
    EXPECT_FALSE(S.Open()) << File;
    EXPECT_EQ(S.Status(), Why);
    EXPECT_EQ(ReadFileBytes(File), Before) << File;
  }
}

TEST_F(EditorScreenTest, ALooseMapFileBesideThePackIsNeverSavedIntoIt) {
  WriteFileBytes("deep_shafts.sq", PackOf({{"001.mpp", "Pull the Rug"}, {"002.mpp", "Two"}}).Finish());
  WriteFileText("001.mpp", MapText("First Dig"));
  auto S = OpenEditor("deep_shafts.sq");
  EXPECT_EQ(S->Editor().CurrentMap().MapName, "Pull the Rug");
  S->Press(VXKey::Letter('s'), true);
  EXPECT_TRUE(Questions.empty());
  TStoredPack Saved;
  std::string Error;
  ASSERT_TRUE(ReadStoredPack("deep_shafts.sq", Saved, Error)) << Error;
  ASSERT_EQ(Saved.Maps.size(), 2u);
  EXPECT_EQ(Saved.Maps[0]->MapName, "Pull the Rug");
  EXPECT_EQ(Saved.Name, "Deep Shafts");
}

TEST_F(EditorScreenTest, AGapInTheMapNumbersLosesNoMapAndRenumbersOnlyWhenAsked) {
  const std::vector<uint8_t> Gapped = PackOf({{"001.mpp", "One"}, {"002.mpp", "Two"}, {"004.mpp", "Four"}}).Finish();
  WriteFileBytes("gap.sq", Gapped);
  auto S = OpenEditor("gap.sq");
  EXPECT_EQ(S->Editor().MapCount(), 3);
  EXPECT_EQ(S->Editor().Map(2).MapName, "Four");
  EXPECT_EQ(S->Status(), "No map 003: saving renumbers later maps");
  EXPECT_FALSE(S->Editor().Modified()) << "leaving asks nothing";

  Reply = TEditorScreen::kNo;
  EXPECT_FALSE(S->Save());
  ASSERT_EQ(Questions.size(), 1u);
  EXPECT_EQ(Questions[0], "No map 003: renumber and save? (Y/N)");
  EXPECT_EQ(ReadFileBytes("gap.sq"), Gapped);

  Reply = TEditorScreen::kYes;
  ASSERT_TRUE(S->Save()) << S->Status();
  TStoredPack Saved;
  std::string Error;
  ASSERT_TRUE(ReadStoredPack("gap.sq", Saved, Error)) << Error;
  EXPECT_EQ(Saved.Numbers, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(Saved.Maps[2]->MapName, "Four");
  EXPECT_EQ(Reload("gap.sq")->MapCount(), 3) << "the game now shows the third map too";
  EXPECT_FALSE(S->Editor().Renumbered());
  EXPECT_TRUE(S->Save());
  EXPECT_EQ(Questions.size(), 2u) << "once closed, the gap asks no more";
}

TEST_F(EditorScreenTest, AFailedSaveTellsTheCauseAndThatThePackIsUnchanged) {
  std::filesystem::create_directory("sub");
  auto S = OpenEditor("sub/p.sq");
  Type(*S, "*$!");
  // The folder goes away under the editor: nothing can be written there now.
  std::filesystem::rename("sub", "moved");
  const std::vector<uint8_t> Before = ReadFileBytes("moved/p.sq");
  EXPECT_FALSE(S->Save());
  EXPECT_EQ(S->Status(), "Pack unchanged: No such file or directory");
  EXPECT_TRUE(S->Editor().Modified());
  EXPECT_EQ(ReadFileBytes("moved/p.sq"), Before);
}
