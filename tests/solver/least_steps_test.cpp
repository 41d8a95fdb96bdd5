// The least steps a search may still expect: never more than a completion
// really takes, and -1 when steel walls the elf off from what it needs.
#include "solver/least_steps.h"

#include "shell/random.h"
#include "solver/solver.h"
#include "tests/world/world_fixture.h"

namespace {

class LeastStepsTest : public WorldTest {
 protected:
  int BoundNow(const TLeastSteps& Least) {
    std::array<uint8_t, TLeastSteps::kCells> Codes;
    for (int Cell = 0; Cell < TLeastSteps::kCells; ++Cell)
      Codes[static_cast<size_t>(Cell)] = static_cast<uint8_t>(World->Cells()[static_cast<size_t>(Cell)]);
    return Least.Bound(World->ElfX * TMaps::kRows + World->ElfY, World->DiamondsLeft, Codes.data());
  }
};

TEST_F(LeastStepsTest, NeverAboveWhatTheFewestStepsTake) {
  const std::vector<std::vector<std::string>> Maps = {
      {"%*$     !%"},
      {"%%%%%%%", "%%%%%%%", "%%%%%%%", "%%%@%%%", "%%% %%%", "%*   !%", "%%% %%%", "%%% %%%", "%%% %%%"},
      {"%$.....%", "%.%%%%.%", "%.*..$.%", "%%%%%%!%"},
      {"%!$%", "%% %", "%% %", "%%*%", "%%0%"}};
  for (const auto& Map : Maps) {
    Load(Map);
    TSolveOptions Options;
    Options.Optimal = true;
    Options.Seconds = 20;
    const TSolveResult R = SolveMap(*World, 0, Options);
    ASSERT_EQ(R.Status, TSolveResult::TStatus::Solved) << Map[0];
    // Along the fewest steps, the bound never promises fewer than are left.
    VXRandom::Seed(0);
    Load(Map);
    const TLeastSteps Least(*World);
    int Steps = 0;
    (void)ReplayCompletes(*World, 0, R.Keys, 0, &Steps);
    for (int K = 0; K < Steps; ++K) {
      const int Bound = BoundNow(Least);
      EXPECT_GE(Bound, 0) << Map[0] << " step " << K;
      EXPECT_LE(Bound, Steps - K) << Map[0] << " step " << K;
      AdvanceMapStep(*World, Run, ElfKeysFor(R.Keys[static_cast<size_t>(K)]));
    }
    EXPECT_TRUE(Run.Completed) << Map[0];
  }
}

TEST_F(LeastStepsTest, StepsAtLeastOnePerDiamondAndTheWayToTheExit) {
  Load({"%*$$$  !%"});
  const TLeastSteps Least(*World);
  EXPECT_EQ(BoundNow(Least), 6) << "six cells to the exit";
  Load({"%*$$$$$$!%"});
  EXPECT_EQ(BoundNow(TLeastSteps(*World)), 7);
  // Diamonds on steel stay put: the elf goes out to one end and back past
  // itself to the other (4 + 4 + 1 at least, the lightest tree).
  Load({"%$   *   $!%"});
  EXPECT_EQ(BoundNow(TLeastSteps(*World)), 9);
  // A diamond on grass stays until the elf takes the grass below it...
  Load({"%$   *   $!%", "%.%%%%%%%%%%", "%  %%%%%%%%%"});
  EXPECT_EQ(BoundNow(TLeastSteps(*World)), 9);
  // ...unless a barrel may blow the grass away: then it may fall anywhere
  // below, and only the way out counts.
  Load({"%$   *   $!%", "%.%%%%%%%%%%", "%  %%%&%%%%%"});
  EXPECT_EQ(BoundNow(TLeastSteps(*World)), 5);
}

TEST_F(LeastStepsTest, SteelWallingOffTheExitOrADiamondEndsIt) {
  Load({"%*  %!%"});
  EXPECT_EQ(BoundNow(TLeastSteps(*World)), -1);
  Load({"%*  !%$%"});
  EXPECT_EQ(BoundNow(TLeastSteps(*World)), -1);
}

}  // namespace
