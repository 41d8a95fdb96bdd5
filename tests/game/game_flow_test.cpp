#include "game/game_flow.h"

#include <gtest/gtest.h>

#include "graphics/image_collection.h"
#include "storage/mad4_high_level.h"
#include "storage/stream_opener.h"
#include "tests/storage/archive_bytes.h"
#include "tests/support/log_capture.h"
#include "tests/support/scope_guard.h"
#include "tests/support/test_support.h"
#include "world/maps.h"

namespace {

std::vector<uint8_t> TextBytes(const std::string& Text) { return {Text.begin(), Text.end()}; }

// A pack that does not load must leave the one in use as it was: the player
// is asked for another pack and may go back to the map selection.
class GameFlowPackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TArchiveBytes A;
    A.Member("RAWD", "info", TextBytes("Starquarry level pack\r\nGood\r\nAda\r\n"));
    A.Member("RAWD", "001.mpp", TextBytes("MAPT\r\nWI20\r\nHE12\r\nMNOne\r\nMP*!\r\nXX\r\n"));
    WriteFileBytes(Dir.File("good.sq"), A.Finish());
    TArchiveBytes Empty;
    Empty.Member("RAWD", "info", TextBytes("Starquarry level pack\r\nEmpty\r\nAda\r\n"));
    WriteFileBytes(Dir.File("empty.sq"), Empty.Finish());
    WriteFileText(Dir.File("broken.sq"), "not an archive at all");
  }

  TTempDir Dir;
  TChangeDir Here{Dir.Path()};
  TLogCapture Captured;
  TRestore<std::unique_ptr<TMAD4HighLevel>> Volumes{VolumeManager, std::make_unique<TMAD4HighLevel>()};
  TRestore<std::unique_ptr<TVXStreamOpener>> Opener{StreamOpener,
                                                    std::make_unique<TVXStreamOpener>(Dir.Path() + "/Data/")};
  TRestore<std::unique_ptr<TImageCollection>> BlockGuard{Blocks, std::make_unique<TImageCollection>()};
  TRestore<std::unique_ptr<TMaps>> MapsGuard{Maps};
  TGame Game;
};

TEST_F(GameFlowPackTest, AGoodPackReplacesTheMaps) {
  ASSERT_TRUE(Game.LoadPack("good.sq"));
  ASSERT_TRUE(Maps);
  EXPECT_EQ(Maps->MapCount(), 1);
  EXPECT_EQ(Maps->PackName, "Good");
}

TEST_F(GameFlowPackTest, APackThatCannotBeUsedLeavesTheMapsInUse) {
  ASSERT_TRUE(Game.LoadPack("good.sq"));
  const TMaps* InUse = Maps.get();

  EXPECT_FALSE(Game.LoadPack("broken.sq"));
  EXPECT_EQ(Maps.get(), InUse);
  EXPECT_TRUE(Captured.Contains("The level pack cannot be read (broken.sq)"));

  EXPECT_FALSE(Game.LoadPack("empty.sq"));
  EXPECT_EQ(Maps.get(), InUse);
  EXPECT_TRUE(Captured.Contains("The level pack holds no maps (empty.sq)"));

  EXPECT_FALSE(Game.LoadPack("missing.sq"));
  EXPECT_EQ(Maps.get(), InUse);
  EXPECT_EQ(Maps->PackName, "Good");
}

}  // namespace
