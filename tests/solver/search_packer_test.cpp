// The search's packed worlds: a world set back from its bytes runs on
// exactly as the one it came from, and the keys tell apart what matters.
#include "solver/search_packer.h"

#include "shell/random.h"
#include "tests/world/world_fixture.h"

namespace {

// The elf digs out the grass under a barrel and steps back; the barrel
// falls, blows the wall open and the elf walks on to the diamond and the
// exit: a fall, explosions and the exit opening all happen on the way.
const std::vector<std::string> kBusy = {"%%%%", "%%%&", "%%%.", "%*  #$ !%", "%%%%%%%%%"};
const char kKeys[] = "RRUDLL..........RRRRRRRRRRRRRRRRR";

class SearchPackerTest : public WorldTest {
 protected:
  TSearchPacker::TState Read(TSearchPacker& Packer, const TMaps& W, const TMapRun& R) {
    TSearchPacker::TState State;
    EXPECT_TRUE(Packer.Read(W, R, State));
    return State;
  }
};

TEST_F(SearchPackerTest, WorldsSetBackFromTheirBytesRunOnAsTheOriginal) {
  VXRandom::Seed(3);
  Load(kBusy);
  World->AnimateLooks = false;
  const TMaps Start(*World);
  const TMapRun StartRun = Run;
  TSearchPacker Packer(Start, StartRun);
  TMaps Copy(Start), Scratch(Start);
  TMapRun CopyRun = StartRun, ScratchRun = StartRun;
  TSearchPacker::TState Held = Read(Packer, Copy, CopyRun);
  std::vector<uint8_t> Bytes;
  bool Opened = false;
  for (const char* K = kKeys; *K; ++K) {
    const TElfKeys Keys = ElfKeysFor(*K);
    AdvanceMapStep(*World, Run, Keys);
    AdvanceMapStep(Copy, CopyRun, Keys);
    // Through the bytes into a scratch world, set cell by cell from what it
    // held before, and back into the copy as a whole.
    const TSearchPacker::TState Now = Read(Packer, Copy, CopyRun);
    Packer.Pack(Now, Bytes);
    ASSERT_EQ(TSearchPacker::PackedSize(Bytes.data()), Bytes.size());
    TSearchPacker::TState Back;
    Packer.Unpack(Bytes.data(), Back);
    Packer.Apply(Back, Scratch, ScratchRun, &Held);
    Held = Read(Packer, Scratch, ScratchRun);
    ASSERT_EQ(Held.Cells, Now.Cells) << "after " << K - kKeys + 1 << " steps";
    ASSERT_EQ(Held.Exits, Now.Exits);
    Packer.Apply(Back, Copy, CopyRun);
    ASSERT_EQ(Packer.Key(Read(Packer, Copy, CopyRun), false), Packer.Key(Read(Packer, *World, Run), false));
    Opened = Opened || Copy.Code(7, 3) == Tile::ExitOpen;
  }
  EXPECT_TRUE(Run.Completed);
  EXPECT_TRUE(CopyRun.Completed) << "the copy set back from bytes each step completes the map as well";
  EXPECT_TRUE(Opened);
  EXPECT_EQ(World->Code(4, 3), Tile::Empty) << "the barrel blew the wall away";
}

TEST_F(SearchPackerTest, WorldsWithStillLooksKeepTheGamesTiming) {
  // The exit opens on the same step whether or not the looks animate.
  VXRandom::Seed(7);
  Load(kBusy);
  TMaps Still(*World);
  Still.AnimateLooks = false;
  TMapRun StillRun = Run;
  for (const char* K = kKeys; *K; ++K) {
    AdvanceMapStep(*World, Run, ElfKeysFor(*K));
    AdvanceMapStep(Still, StillRun, ElfKeysFor(*K));
    for (int X = 0; X < TMaps::kCols; ++X)
      for (int Y = 0; Y < TMaps::kRows; ++Y) ASSERT_EQ(Still.Code(X, Y), World->Code(X, Y)) << X << "," << Y;
  }
  EXPECT_TRUE(StillRun.Completed);
}

TEST_F(SearchPackerTest, CoarseKeysIgnoreOnlyGrassNothingCanReach) {
  // Grass far from the boulder, and grass under it.
  Load({"%*. @.  %", "%   .   %", "%%%%%%%%%"});
  TSearchPacker Packer(*World, Run);
  const TSearchPacker::TState Before = Read(Packer, *World, Run);
  TMaps Idle(*World);
  Idle.SetCode(2, 0, Tile::Empty);  // nothing movable near it
  const TSearchPacker::TState IdleEaten = Read(Packer, Idle, Run);
  EXPECT_EQ(Packer.Key(IdleEaten, true), Packer.Key(Before, true));
  EXPECT_NE(Packer.Key(IdleEaten, false), Packer.Key(Before, false));
  TMaps Under(*World);
  Under.SetCode(4, 1, Tile::Empty);  // the boulder above would fall
  EXPECT_NE(Packer.Key(Read(Packer, Under, Run), true), Packer.Key(Before, true));
  TMaps Beside(*World);
  Beside.SetCode(5, 0, Tile::Empty);  // the boulder could be pushed into it
  EXPECT_NE(Packer.Key(Read(Packer, Beside, Run), true), Packer.Key(Before, true));
}

}  // namespace
