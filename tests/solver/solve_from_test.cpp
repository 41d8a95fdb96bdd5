// The solver asked from a world in play (a hint): the way starts where the
// elf stands, its first step lies on a shortest way, a world that can no
// longer be completed says so at once, and a search on a worker thread
// leaves the screen's random draws alone.
#include <chrono>
#include <thread>

#include "shell/random.h"
#include "solver/solver.h"
#include "tests/world/world_fixture.h"

namespace {

class SolveFromTest : public WorldTest {
 protected:
  // The map started with Seed and Keys played on it: a world in play.
  void Play(const std::vector<std::string>& Rows, const std::string& Keys, uint32_t Seed = 1) {
    Load(Rows);
    World->Effects = {};
    VXRandom::Seed(Seed);
    Run = TMapRun{};
    StartMapRun(*World, Run);
    for (char K : Keys) AdvanceMapStep(*World, Run, ElfKeysFor(K));
    // A few frames into the next step, as a player presses F3 between steps.
    AdvanceMapFrame(*World, Run, TElfKeys{});
    AdvanceMapFrame(*World, Run, TElfKeys{});
  }
  TSolveResult Hint(double Seconds = 10) {
    TSolveOptions Options;
    Options.Seconds = Seconds;
    return SolveHint(*World, Run, Options);
  }
  // Keys played on a copy of the world complete the map on their last key.
  bool CompletesFromHere(const std::string& Keys) const {
    TMaps W(*World);
    W.Effects = {};
    TMapRun R = Run;
    for (char K : Keys) {
      if (R.Completed) return false;
      AdvanceMapStep(W, R, ElfKeysFor(K));
    }
    return R.Completed;
  }

  TMapRun Run;
};

}  // namespace

TEST_F(SolveFromTest, TheWayStartsWhereTheElfStandsAndItsFirstStepIsOnAShortestWay) {
  // The elf went right, away from the diamond behind it: the way goes back
  // for the diamond first, then on to the exit.
  Play({"%$ *   !%"}, "R");
  ASSERT_EQ(World->ElfX, 4);
  const TSolveResult R = Hint();
  ASSERT_EQ(R.Status, TSolveResult::TStatus::Solved) << R.Why;
  EXPECT_EQ(R.Keys.substr(0, 4), "LLLR") << R.Keys;
  EXPECT_TRUE(CompletesFromHere(R.Keys)) << R.Keys;
  EXPECT_TRUE(Effects.empty()) << "the search plays no sounds";
}

TEST_F(SolveFromTest, AmongTwoDiamondsTheNearerWayComesFirst) {
  // Diamonds up and down; the exit is at the bottom: the top one first.
  Play({"%%%%%%", "%$%%%%", "%.%%%%", "%*%%%%", "%.%%%%", "%$%%%%", "%!%%%%"}, "");
  const TSolveResult R = Hint();
  ASSERT_EQ(R.Status, TSolveResult::TStatus::Solved) << R.Why;
  EXPECT_EQ(R.Keys.substr(0, 2), "UU") << R.Keys;
  EXPECT_TRUE(CompletesFromHere(R.Keys)) << R.Keys;
}

TEST_F(SolveFromTest, ADiamondThatIsGoneMakesTheWorldDeadAtOnce) {
  // The same corridor, its diamond blown away: the exit can never open.
  Play({"%$ *   !%"}, "");
  World->SetCode(1, 0, Tile::Empty);
  World->Sprites[1 * TMaps::kRows + 0].reset();
  ASSERT_EQ(World->DiamondsLeft, 1);
  const auto Began = std::chrono::steady_clock::now();
  const TSolveResult R = Hint();
  EXPECT_EQ(R.Status, TSolveResult::TStatus::Unsolvable) << R.Why;
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - Began).count(), 2.0);
}

TEST_F(SolveFromTest, ABoulderThatSealedTheExitLeavesNoWay) {
  // The boulder has fallen into the only way to the exit and rests on steel.
  Play({"%*$ @%", "%%%% %", "%%%%!%"}, "R");
  AdvanceMapStep(*World, Run, ElfKeysFor('.'));
  AdvanceMapStep(*World, Run, ElfKeysFor('.'));
  ASSERT_EQ(World->Code(4, 1), Tile::Boulder);
  const TSolveResult R = Hint();
  EXPECT_EQ(R.Status, TSolveResult::TStatus::Unsolvable) << R.Why << " " << R.Keys;
}

TEST_F(SolveFromTest, ASearchOnAWorkerThreadLeavesTheScreensRandomDrawsAlone) {
  Load({"%*$     !%"});
  std::vector<int32_t> Expected, Got;
  VXRandom::Seed(77);
  for (int I = 0; I < 8; ++I) Expected.push_back(VXRandom::Next(1000));
  VXRandom::Seed(77);
  Got.push_back(VXRandom::Next(1000));
  {
    // A search from the map's start seeds the generator of its own thread.
    TSolveOptions Options;
    Options.Seconds = 5;
    TSolveJob Job(std::make_unique<TMaps>(*World), 0, Options);
    EXPECT_EQ(Job.Result().Status, TSolveResult::TStatus::Solved);
  }
  for (int I = 1; I < 8; ++I) Got.push_back(VXRandom::Next(1000));
  EXPECT_EQ(Got, Expected);
  EXPECT_EQ(DefaultSpriteTarget(), Target.get()) << "the search's own target stayed on its thread";
}

TEST_F(SolveFromTest, AHintJobCanBeCancelled) {
  // A wide field with many diamonds: not settled at once.
  std::vector<std::string> Rows(12, std::string(20, '.'));
  Rows[0][0] = '*';
  Rows[11][19] = '!';
  for (int Y = 1; Y < 12; Y += 2)
    for (int X = 1; X < 20; X += 3) Rows[static_cast<size_t>(Y)][static_cast<size_t>(X)] = '$';
  Play(Rows, "");
  TSolveOptions Options;
  Options.Seconds = 30;
  const auto Began = std::chrono::steady_clock::now();
  TSolveJob Job(std::make_unique<TMaps>(*World), Run, Options);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  Job.Cancel();
  EXPECT_TRUE(Job.Done());
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - Began).count(), 5.0);
}

TEST_F(SolveFromTest, AHintJobOnItsOwnThreadFindsTheWayForTheScreensWorld) {
  // The world's sprites draw on the screen's target; those the search makes
  // on its own thread draw elsewhere, and the search must take both.
  Play({"%$ *   !%"}, "R");
  TSolveOptions Options;
  Options.Seconds = 10;
  TSolveJob Job(std::make_unique<TMaps>(*World), Run, Options);
  const TSolveResult& R = Job.Result();
  ASSERT_EQ(R.Status, TSolveResult::TStatus::Solved) << R.Why;
  EXPECT_EQ(R.Keys.substr(0, 4), "LLLR") << R.Keys;
  EXPECT_TRUE(CompletesFromHere(R.Keys)) << R.Keys;
}
