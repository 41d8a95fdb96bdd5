// The play screen with Backspace: steps undone (a death too) are gone from
// the run it keeps, rewinding plays no effects; a kept run watched plays by
// itself and ends at any key.
#include "game/best_runs.h"
#include "game/play_screen.h"
#include "graphics/key_codes.h"
#include "registry/player_reg.h"
#include "shell/random.h"
#include "solver/solver.h"
#include "storage/stream_opener.h"
#include "tests/game/play_fixture.h"
#include "tests/support/log_capture.h"
#include "tests/support/scope_guard.h"

namespace {

// Rewinding on the play screen, and the runs it records.
class PlayRewindTest : public PlayWindowTest {
 protected:
  // The script completes the map from the same start, on its last key.
  static void ExpectReplays(const std::string& Script, uint32_t Seed) {
    int Steps = 0;
    EXPECT_TRUE(ReplayCompletes(*Maps, 0, Script, Seed, &Steps)) << Script;
    EXPECT_EQ(Steps, static_cast<int>(Script.size())) << Script;
  }

  TTempDir Dir;
  TChangeDir Here{Dir.Path()};
  TLogCapture Captured;
  TRestore<std::unique_ptr<TVXStreamOpener>> Opener{StreamOpener,
                                                    std::make_unique<TVXStreamOpener>(Dir.Path() + "/Data/")};
  TRestore<std::unique_ptr<TMaps>> PackGuard{Maps};
};

}  // namespace

TEST_F(PlayRewindTest, StepsUndoneAreNotInTheRunAndMakeNoSound) {
  Pack({"%*.$  !%"});
  TPlay1Map Play(0);
  int Phase = 0, Held = 0;
  Play.AfterEvents = [&] {
    if (Phase == 0 && Maps->ElfX == 4) Phase = 1;  // past the diamond
    if (Phase == 1 && ++Held > 3) Phase = 2;       // three frames: two steps back
    Hold({Phase == 1 ? VXKey::Backspace : VXKey::Right});
    if (Phase == 1) { EXPECT_EQ(Count("DiamondPickup"), 1) << "taking the diamond back is silent"; }
  };
  VXRandom::Seed(11);
  ASSERT_TRUE(Play.Run());
  EXPECT_EQ(Phase, 2);
  EXPECT_EQ(Count("DiamondPickup"), 2) << "taken, given back, taken again";
  EXPECT_EQ(Play.RunScript().find_first_not_of('R'), std::string::npos) << Play.RunScript();
  ExpectReplays(Play.RunScript(), 11);
}

TEST_F(PlayRewindTest, ADeathIsUndoneAndPlayGoesOn) {
  // The boulder rests on the grass the elf eats; stepping back down under
  // it is deadly. The way out is to the right, past the diamond.
  Pack({"%%@%%%%", "%% %%%%", "%%. $!%", "%%*%%%%"});
  TPlay1Map Play(0);
  int Phase = 0;
  Play.AfterEvents = [&] {
    if (Phase == 0 && Maps->ElfY == 2) Phase = 1;
    if (Phase == 1 && Maps->ElfY == 3) Phase = 2;
    if (Phase == 2 && Maps->ElfDead > 3) Phase = 3;
    if (Phase == 3 && Maps->ElfDead == 0 && Maps->ElfY == 2) Phase = 4;
    const int Keys[] = {VXKey::Up, VXKey::Down, 0, VXKey::Backspace, VXKey::Right};
    Hold({Keys[Phase]});
  };
  VXRandom::Seed(4);
  ASSERT_TRUE(Play.Run()) << "the map did not restart: the death was undone";
  EXPECT_EQ(Phase, 4);
  const std::string Script = Play.RunScript();
  EXPECT_EQ(Script.substr(0, 1), "U") << Script;
  EXPECT_EQ(Script.find('D'), std::string::npos) << "the fatal step is gone: " << Script;
  ExpectReplays(Script, 4);
}

TEST_F(PlayRewindTest, AWatchedRunPlaysItselfAndRecordsNothing) {
  Pack({"%*$  !%"});
  VXRandom::Seed(2);
  // Four steps reach the door before it has opened: the last key is held on.
  TPlay1Map Watch(0, "RRRR", "Wren");
  Hold({VXKey::Letter('w')});  // the key that asked for the run
  int Frames = 0;
  Watch.AfterEvents = [&] { ++Frames; };
  EXPECT_FALSE(Watch.Run()) << "a watched run is never the player's completion";
  EXPECT_TRUE(Watch.Completed());
  EXPECT_TRUE(Watch.RunScript().empty());
  EXPECT_GT(Frames, 4 * TMapRun::kFramesPerStep);
}

TEST_F(PlayRewindTest, AnyKeyEndsAWatchedRun) {
  Pack({"%*$  !%"});
  TPlay1Map Watch(0, std::string(30, 'R'), "Wren");
  int Frames = 0;
  Watch.AfterEvents = [&] {
    if (++Frames == 10) Hold({VXKey::Letter('q')});
  };
  EXPECT_FALSE(Watch.Run());
  EXPECT_FALSE(Watch.Completed());
  EXPECT_EQ(Frames, 10);
}

TEST_F(PlayRewindTest, TheMapSelectionFindsThePlayersBestRun) {
  Pack({"%*$  !%"});
  TRestore<std::unique_ptr<TPlayerReg>> Registry{PlayerRegistry, std::make_unique<TPlayerReg>()};
  for (const char* Name : {"Wren", "Moss"}) PlayerRegistry->AddPlayer(Name);
  PlayerRegistry->AddLevelPack("test.sq");
  EXPECT_EQ(BestRunNote("test.sq", "Wren", 0), "");
  EXPECT_FALSE(WatchBestRun("test.sq", "Wren", 0)) << "no run kept: nothing to watch";

  ASSERT_EQ(PlayerRegistry->KeepRun("test.sq", "Wren", 0, std::string(12, 'R')), TRunKept::Kept);
  EXPECT_EQ(BestRunNote("TEST.SQ", "Wren", 0), "\3  (best run: 12 steps)");
  EXPECT_EQ(BestRunNote("test.sq", "Moss", 0), "") << "another player's run is not shown";
  EXPECT_EQ(BestRunNote("test.sq", "Wren", 1), "") << "no such map";
  EXPECT_TRUE(WatchBestRun("test.sq", "Wren", 0));
  EXPECT_TRUE(Maps->ElfX > 1) << "the run was played";
  EXPECT_FALSE(WatchBestRun("test.sq", "Moss", 0));
}
