// The world as a value: copies run on their own, keep the animation state
// that decides when the exit opens, and can be silenced.
#include "tests/world/world_fixture.h"

namespace {

// Grid, state bytes and elf of two worlds side by side.
void ExpectSameWorld(const TMaps& A, const TMaps& B) {
  for (int Y = 0; Y < TMaps::kRows; ++Y)
    for (int X = 0; X < TMaps::kCols; ++X) {
      ASSERT_EQ(A.Code(X, Y), B.Code(X, Y)) << X << "," << Y;
      ASSERT_EQ(A.Flag(X, Y), B.Flag(X, Y)) << X << "," << Y;
    }
  EXPECT_EQ(A.ElfX, B.ElfX);
  EXPECT_EQ(A.ElfY, B.ElfY);
  EXPECT_EQ(A.DiamondsLeft, B.DiamondsLeft);
  EXPECT_EQ(A.ElfDead, B.ElfDead);
}

}  // namespace

TEST_F(WorldTest, CopyRunsOnItsOwnAndAgreesWithTheOriginal) {
  Load({"%@ $ @%", "% 0 & %", "%* . .%", "%#####%"});
  TMaps Copy(*World);
  TMapRun CopyRun = Run;
  const int32_t Before = At(1, 0);
  for (int I = 0; I < 5; ++I) RunMapStep(Copy, CopyRun, ElfKeysFor('R'));
  EXPECT_EQ(At(1, 0), Before) << "the original does not move with its copy";
  EXPECT_EQ(World->ElfX, 1);
  EXPECT_NE(Copy.ElfX, 1);
  for (int I = 0; I < 5; ++I) Step("R");
  ExpectSameWorld(*World, Copy);
  // Assignment replaces a world that had moved on.
  Step("L");
  Copy = *World;
  ExpectSameWorld(*World, Copy);
  EXPECT_EQ(Copy.ActiveMap(), World->ActiveMap()) << "loaded maps are shared, not copied";
}

TEST_F(WorldTest, CopyOpensItsExitOnTheSameFrame) {
  Load({"%*$  !%"});
  Step("R");  // the last diamond: the exit waits for its animation
  Frames(3);  // part-way through a frame
  TMaps Copy(*World);
  TMapRun CopyRun = Run;
  int Original = 0, Copied = 0;
  for (int I = 1; I <= 200 && (!Original || !Copied); ++I) {
    Frames(1);
    AdvanceMapFrame(Copy, CopyRun, TElfKeys{});
    if (!Original && At(5, 0) == Tile::ExitOpen) Original = I;
    if (!Copied && Copy.Code(5, 0) == Tile::ExitOpen) Copied = I;
  }
  ASSERT_GT(Original, 0);
  EXPECT_EQ(Copied, Original) << "frames drawn and frames advanced off screen keep the same time";
  ExpectSameWorld(*World, Copy);
}

TEST_F(WorldTest, SilentCopyPlaysNoEffects) {
  Load({"%*$.!%"});
  TMaps Copy(*World);
  Copy.Effects = {};
  TMapRun CopyRun = Run;
  RunMapStep(Copy, CopyRun, ElfKeysFor('R'));
  RunMapStep(Copy, CopyRun, ElfKeysFor('R'));
  EXPECT_TRUE(Effects.empty());
  EXPECT_EQ(Copy.DiamondsLeft, 0);
  Step("R");
  EXPECT_EQ(Count("DiamondPickup"), 1) << "the original still plays";
}

TEST_F(WorldTest, KeyScriptLettersHoldOneArrowEach) {
  EXPECT_TRUE(ElfKeysFor('U').Up);
  EXPECT_TRUE(ElfKeysFor('D').Down);
  EXPECT_TRUE(ElfKeysFor('L').Left);
  EXPECT_TRUE(ElfKeysFor('R').Right);
  const TElfKeys None = ElfKeysFor('.');
  EXPECT_FALSE(None.Up || None.Down || None.Left || None.Right);
  EXPECT_FALSE(ElfKeysFor('U').Down || ElfKeysFor('L').Right);
}
