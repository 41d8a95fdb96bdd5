// The solver on small maps with known answers, and the packed worlds it
// keeps; every script it prints is replayed from the map's start.
#include "solver/solver.h"

#include <chrono>

#include "shell/random.h"
#include "solver/search_packer.h"
#include "tests/world/world_fixture.h"
#include "world/world_packer.h"

namespace {

class SolverTest : public WorldTest {
 protected:
  TSolveResult Solve(const std::vector<std::string>& Rows, bool Optimal, int MaxSteps = 200) {
    Load(Rows);
    TSolveOptions Options;
    Options.Optimal = Optimal;
    Options.MaxSteps = MaxSteps;
    Options.Seconds = 20;
    return SolveMap(*World, 0, Options);
  }
  // The script completes the map from its start, whatever the seed.
  void ExpectCompletes(const TSolveResult& R) {
    ASSERT_EQ(R.Status, TSolveResult::TStatus::Solved) << R.Why;
    for (uint32_t Seed = 0; Seed < 10; ++Seed) {
      int Steps = 0;
      EXPECT_TRUE(ReplayCompletes(*World, 0, R.Keys, Seed, &Steps)) << R.Keys << " seed " << Seed;
      EXPECT_LE(Steps, static_cast<int>(R.Keys.size()));
    }
  }
};

uint64_t KeyOf(TSearchPacker& Packer, const TMaps& World, const TMapRun& Run) {
  TSearchPacker::TState State;
  EXPECT_TRUE(Packer.Read(World, Run, State));
  return Packer.Key(State, false);
}

// Straight along a corridor: one diamond, the exit seven steps away.
const std::vector<std::string> kCorridor = {"%*$     !%"};

}  // namespace

TEST_F(SolverTest, OptimalSearchFindsTheFewestSteps) {
  const TSolveResult R = Solve(kCorridor, true);
  ExpectCompletes(R);
  EXPECT_EQ(R.Keys, "RRRRRRR");
  EXPECT_GT(R.States, 0);
  EXPECT_TRUE(Effects.empty()) << "the search plays no sounds";
}

TEST_F(SolverTest, WaitsForAFallingBoulderToPass) {
  // The corridor crosses a shaft; walking on at once puts the elf under the boulder.
  const std::vector<std::string> Map = {"%%%%%%%", "%%%%%%%", "%%%%%%%", "%%%@%%%", "%%% %%%",
                                        "%*   !%", "%%% %%%", "%%% %%%", "%%% %%%"};
  const TSolveResult R = Solve(Map, true);
  ExpectCompletes(R);
  EXPECT_EQ(R.Keys.size(), 6u) << R.Keys << ": four cells to walk, two steps for the boulder to pass";
  const TSolveResult Fast = Solve(Map, false);
  ExpectCompletes(Fast);
}

TEST_F(SolverTest, UsesATunnelAndABalloon) {
  ExpectCompletes(Solve({"%*>$ !%"}, false));
  // The elf rides a balloon up a shaft to the diamond and the exit.
  ExpectCompletes(Solve({"%!$%", "%% %", "%% %", "%%*%", "%%0%"}, false));
}

TEST_F(SolverTest, WalledInDiamondIsUnsolvableAtOnce) {
  const auto Began = std::chrono::steady_clock::now();
  const TSolveResult R = Solve({"%* . %$% !%", "%  . %%%  %"}, false, 1000);
  EXPECT_EQ(R.Status, TSolveResult::TStatus::Unsolvable);
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - Began).count(), 1.0);
  EXPECT_EQ(Solve({"%* . %$% !%", "%  . %%%  %"}, true, 1000).Status, TSolveResult::TStatus::Unsolvable);
  // A whole field of grass: far too many ways of digging it to search them
  // all, but the steel around the diamond settles it before any search.
  const std::vector<std::string> Grassy = {"%*.................%", "%..................%", "%......%%%.........%",
                                           "%......%$%....@....%", "%......%%%.........%", "%..@........$......%",
                                           "%.................!%"};
  const auto Again = std::chrono::steady_clock::now();
  EXPECT_EQ(Solve(Grassy, false, 1000).Status, TSolveResult::TStatus::Unsolvable);
  EXPECT_EQ(Solve({"%*...$..%%%", "%.......%!%", "%.......%%%"}, true, 1000).Status, TSolveResult::TStatus::Unsolvable)
      << "an exit walled in by steel";
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - Again).count(), 1.0);
}

TEST_F(SolverTest, DiamondCrushedByABarrelWhateverTheElfDoesIsUnsolvable) {
  const TSolveResult R = Solve({"%&%%%%%%", "% %%%%%%", "%$    *%", "%%%%%!%%"}, true);
  EXPECT_EQ(R.Status, TSolveResult::TStatus::Unsolvable);
}

TEST_F(SolverTest, LimitsEndTheSearchAsUnknown) {
  Load({"%*      .  ", "%   .      ", "% . . .    ", "%          ", "%   @   $ !"});
  TSolveOptions Options;
  Options.MemoryCap = 1;
  TSolveResult R = SolveMap(*World, 0, Options);
  EXPECT_EQ(R.Status, TSolveResult::TStatus::Unknown);
  EXPECT_EQ(R.Why, "memory");
  Options = TSolveOptions{};
  Options.MaxSteps = 3;  // the diamond is eight steps away
  R = SolveMap(*World, 0, Options);
  EXPECT_EQ(R.Status, TSolveResult::TStatus::Unsolvable) << "nothing completes within three steps";
}

TEST_F(SolverTest, PackedWorldRunsOnExactlyAsTheWorldItCameFrom) {
  VXRandom::Seed(5);
  Load({"%@   @%", "% 0 & %", "%*$. ..!", "%#######"});
  Step("R");  // the last diamond: the exit starts opening
  Frames(3);  // part-way to the next step, the exit's animation half played
  TWorldPacker Packer(*World);
  std::vector<uint8_t> Bytes;
  ASSERT_TRUE(Packer.Pack(*World, Run, Bytes));
  EXPECT_EQ(TWorldPacker::PackedSize(Bytes.data()), Bytes.size());
  TMaps Copy(*World);
  TMapRun CopyRun;
  Step("L");  // the copy is then set back from the bytes
  Packer.Unpack(Bytes.data(), Copy, CopyRun);
  VXRandom::Seed(5);  // the same start again, to run beside the copy
  Load({"%@   @%", "% 0 & %", "%*$. ..!", "%#######"});
  Step("R");
  Frames(3);
  TSearchPacker Keyer(*World, Run);
  EXPECT_EQ(KeyOf(Keyer, Copy, CopyRun), KeyOf(Keyer, *World, Run));
  for (int F = 0; F < 60; ++F) {
    const TElfKeys Keys = ElfKeysFor(F < 30 ? 'R' : '.');
    RunMapFrame(*World, Run, *Target, [&] { return Keys; });
    AdvanceMapFrame(Copy, CopyRun, Keys);
    ASSERT_EQ(Copy.Code(7, 2), At(7, 2)) << "frame " << F;
    ASSERT_EQ(KeyOf(Keyer, Copy, CopyRun), KeyOf(Keyer, *World, Run)) << "frame " << F;
  }
  EXPECT_EQ(At(7, 2), Tile::ExitOpen);
}
