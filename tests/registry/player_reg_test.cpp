#include "registry/player_reg.h"

#include <gtest/gtest.h>

#include "shell/toolbox.h"
#include "tests/support/bytes.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_support.h"

namespace {
// The map selection's rule: the first three entries not yet completed are
// opened when still locked.
void OpenFirstThree(TPlayerReg& R, const std::string& Pack, const std::string& Player, int Entries) {
  int Waiting = 0;
  for (int N = 0; N < Entries && Waiting < 3; ++N) {
    const uint8_t State = R.GetMapState(Pack, Player, N);
    if (State == TPlayerReg::kCompleted) continue;
    ++Waiting;
    if (State == TPlayerReg::kLocked) R.SetMapState(Pack, Player, TPlayerReg::kOpen, N);
  }
}

std::vector<uint8_t> BlockOnDisk(const std::string& File, const std::string& Pack, const std::string& Player) {
  TPlayerRegistry R;
  if (!R.Load(File)) return {};
  const TPlayerPackData* D = R.FindData(R.PlayerID(Player), R.LevelPackID(Pack));
  return D ? D->Data : std::vector<uint8_t>{};
}
}  // namespace

TEST(PlayerReg, NewPlayerOpensTheFirstThreeMapsAndCompletingOneOpensTheNext) {
  TTempDir Dir;
  TLogCapture Capture;
  const std::string File = Dir.File("Starquarry.vmu");
  TPlayerReg R(File);
  R.Logging = true;
  ASSERT_TRUE(R.AddPlayer("Bob"));
  ASSERT_TRUE(R.AddLevelPack("Caves.sq"));
  OpenFirstThree(R, "Caves.sq", "Bob", 6);
  EXPECT_EQ(BlockOnDisk(File, "Caves.sq", "Bob"), std::vector<uint8_t>({1, 1, 1}));
  EXPECT_EQ(Capture.Count("Data record not found. (Bob, Caves.sq)"), 1u);
  EXPECT_TRUE(
      Capture.HasLine("{SQPlayerRegistryUnit, TPlayerReg.GetMapState} PlayerRegistry read error! "
                      "(PL: Bob, LP: Caves.sq MapNo: 0"));
  EXPECT_EQ(Capture.Count("PlayerRegistry read error!"), 1u);

  R.SetMapState("Caves.sq", "Bob", TPlayerReg::kCompleted, 1);
  EXPECT_EQ(BlockOnDisk(File, "Caves.sq", "Bob"), std::vector<uint8_t>({1, 2, 1}));
  OpenFirstThree(R, "Caves.sq", "Bob", 6);
  EXPECT_EQ(BlockOnDisk(File, "Caves.sq", "Bob"), std::vector<uint8_t>({1, 2, 1, 1}));
  EXPECT_EQ(R.GetMapState("Caves.sq", "Bob", 3), TPlayerReg::kOpen);
  EXPECT_EQ(R.GetMapState("Caves.sq", "Bob", 4), TPlayerReg::kLocked);

  // Unknown names read as locked and change nothing but the file's timestamp.
  EXPECT_EQ(R.GetMapState("Caves.sq", "Nobody", 0), 0);
  R.SetMapState("Nowhere.sq", "Bob", 2, 0);
  EXPECT_EQ(R.Datas.size(), 1u);
  EXPECT_TRUE(R.LastSaveSucceeded());
}

TEST(PlayerReg, ChangesAreSavedAtOnceAndRenamingKeepsProgress) {
  TTempDir Dir;
  const std::string File = Dir.File("Starquarry.vmu");
  {
    TPlayerReg R(File);
    EXPECT_TRUE(R.Players.empty());
    R.AddPlayer("Quiet", "info");
    EXPECT_FALSE(VXToolbox::FileExists(File)) << "the two-argument form does not save";
    EXPECT_FALSE(R.AddPlayer("quiet"));
    EXPECT_TRUE(VXToolbox::FileExists(File)) << "a refused addition still saves";
    R.AddLevelPack("A.sq");
    R.SetMapState("A.sq", "Quiet", 2, 0);
    ASSERT_TRUE(R.RenamePlayer(0, "Loud"));
  }
  {
    TPlayerReg R(File);
    EXPECT_EQ(R.PlayerID("Loud"), 0);
    EXPECT_EQ(R.Players[0].Info, "info");
    EXPECT_EQ(R.GetMapState("A.sq", "Loud", 0), 2);
    R.AddLevelPack("B.sq");
    R.DeleteLevelPack("A.sq");
  }
  {
    TPlayerReg R(File);
    EXPECT_EQ(R.LevelPackID("A.sq"), -1);
    EXPECT_EQ(R.LevelPackID("B.sq"), 2);
    R.DeletePlayer("LOUD");
  }
  TPlayerReg R(File);
  EXPECT_EQ(R.PlayerCount(), 0);
  EXPECT_EQ(R.Datas.size(), 1u) << "progress records outlive their player";
}

TEST(PlayerReg, ModuleReadsTheFileInTheWorkingDirectoryWithLoggingOn) {
  TTempDir Dir;
  TChangeDir Here(Dir.Path());
  {
    TPlayerReg Seed;
    Seed.AddPlayer("Kept");
  }
  ASSERT_TRUE(VXToolbox::FileExists(Dir.File("Starquarry.vmu")));
  StartPlayerRegistry();
  ASSERT_TRUE(PlayerRegistry);
  EXPECT_TRUE(PlayerRegistry->Logging);
  EXPECT_EQ(PlayerRegistry->PlayerID("kept"), 0);
  StopPlayerRegistry();
  EXPECT_FALSE(PlayerRegistry);
}
