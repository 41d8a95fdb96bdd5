// Play run backwards: a world taken back k steps is the world run forward
// n - k steps, on the shipped maps played through with their solutions and
// on small maps built for the corner cases; the history stays small.
#include "world/run_history.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>

#include "graphics/image_collection.h"
#include "tests/support/data_folder.h"
#include "tests/support/log_capture.h"
#include "tests/world/world_fixture.h"

namespace {

// Everything of a world that the screen shows or the rules read.
struct TWorldPicture {
  std::vector<int64_t> Cells;
  int32_t ElfX = 0, ElfY = 0, ElfDead = 0, Diamonds = 0;
  std::string ElfImage;
  bool Completed = false;
  bool operator==(const TWorldPicture&) const = default;
};

TWorldPicture PictureOf(const TMaps& W, const TMapRun& Run) {
  TWorldPicture P;
  for (int X = 0; X < TMaps::kCols; ++X)
    for (int Y = 0; Y < TMaps::kRows; ++Y) {
      P.Cells.push_back(W.Code(X, Y));
      P.Cells.push_back(W.Flag(X, Y));
      const TSprite* S = W.Sprite(X, Y);
      P.Cells.push_back(S ? reinterpret_cast<intptr_t>(S->Image) : 0);
      P.Cells.push_back(S ? static_cast<int64_t>(S->CurrentFrame) << 16 | (S->TickCounter + 1) << 8 |
                                (S->PauseCounter + 1) << 4 | S->Finished << 2 | S->Animated << 1 | S->Looping
                          : -1);
    }
  P.ElfX = W.ElfX;
  P.ElfY = W.ElfY;
  P.ElfDead = W.ElfDead;
  P.Diamonds = W.DiamondsLeft;
  P.ElfImage = W.ElfImage;
  P.Completed = Run.Completed;
  return P;
}

// Plays Keys frame by frame as the play screen does, recording each step
// into History and the world at the start of each step into Pictures (one
// more at the end: the world after the last step).
void PlayRecorded(TMaps& W, TMapRun& Run, TImage& Target, TRunHistory& History, const std::string& Keys,
                  std::vector<TWorldPicture>& Pictures) {
  for (char Key : Keys) {
    if (Run.Completed) break;
    bool Stepped = false;
    while (!Stepped)
      Stepped = RunMapFrame(W, Run, Target, [&] {
        Pictures.push_back(PictureOf(W, Run));
        History.Record(W, Run, ElfKeysFor(Key));
        return ElfKeysFor(Key);
      });
  }
  // The world as it stands when the next step is due.
  while (Run.Ticks > 1) RunMapFrame(W, Run, Target);
  Pictures.push_back(PictureOf(W, Run));
}

// Steps back to the map's start, checking the world at every step.
void ExpectRewindsThrough(TMaps& W, TMapRun& Run, TRunHistory& History, const std::vector<TWorldPicture>& Pictures,
                          const std::string& What) {
  ASSERT_EQ(static_cast<size_t>(History.Steps()) + 1, Pictures.size()) << What;
  const int Steps = History.Steps();
  for (int K = 1; K <= Steps; ++K) {
    ASSERT_TRUE(History.StepBack(W, Run)) << What;
    ASSERT_TRUE(PictureOf(W, Run) == Pictures[static_cast<size_t>(Steps - K)])
        << What << ": " << Steps << " steps forward, " << K << " back";
    ASSERT_EQ(Run.Ticks, 1) << "the step rewound to is due at once";
  }
  EXPECT_FALSE(History.StepBack(W, Run)) << "nothing before the map's start";
}

std::string SolutionOf(const std::string& Pack, int MapNo) {
  std::ostringstream Name;
  Name << PlayDir() << "../levels/" << Pack << "/"
       << (MapNo + 1 < 10    ? "00"
           : MapNo + 1 < 100 ? "0"
                             : "")
       << MapNo + 1 << ".keys";
  std::ifstream In(Name.str());
  std::string Keys;
  for (char C; In.get(C);)
    if (std::string("UDLR.").find(C) != std::string::npos) Keys += C;
    else if (std::string("udlr").find(C) != std::string::npos) Keys += static_cast<char>(C - 'a' + 'A');
  return Keys;
}

class ShippedRewindTest : public ::testing::TestWithParam<const char*> {};

}  // namespace

// Every shipped map (boulders, balloons, barrels, tunnels, exits opening)
// played to its end and rewound to its start, one step at a time; played on
// after a rewind, the recorded script is still the solution.
TEST_P(ShippedRewindTest, EveryStepBackIsTheWorldOfThatStep) {
  TLogCapture Log;
  TDataFolder Data;
  ASSERT_TRUE(Data.Mounted());
  TRestore BlockImages(Blocks, std::make_unique<TImageCollection>());
  TImage Target(640, 480);
  SetDefaultSpriteTarget(&Target);
  TScopeGuard Untarget([] { SetDefaultSpriteTarget(nullptr); });
  std::vector<std::string> Heard;
  SetEffectListener([&Heard](const std::string& Name) { Heard.push_back(Name); });
  TScopeGuard Unlisten([] { SetEffectListener({}); });

  const std::string Pack = GetParam();
  TMaps W;
  ASSERT_TRUE(W.Load(PlayDir() + Pack + ".sq"));
  ASSERT_GE(W.MapCount(), 20);
  int Completed = 0;
  double Slowest = 0;  // microseconds per step back, on average over a map
  for (int MapNo = 0; MapNo < W.MapCount(); ++MapNo) {
    const std::string Keys = SolutionOf(Pack, MapNo);
    if (Keys.empty()) continue;
    const std::string What = Pack + " map " + std::to_string(MapNo + 1);
    TMapRun Run;
    Run.MapNo = MapNo;
    StartMapRun(W, Run);
    TRunHistory History;
    History.Start(W);
    std::vector<TWorldPicture> Pictures;
    PlayRecorded(W, Run, Target, History, Keys, Pictures);
    ASSERT_TRUE(Run.Completed) << What;
    ++Completed;
    EXPECT_EQ(History.Script(), Keys.substr(0, History.Script().size())) << What;
    const std::string Script = History.Script();

    // Half way back, then on again with the rest of the solution.
    const int Half = History.Steps() / 2;
    while (History.Steps() > Half) {
      Heard.clear();
      ASSERT_TRUE(History.StepBack(W, Run));
      EXPECT_TRUE(Heard.empty()) << What << ": rewinding plays no effects";
    }
    ASSERT_TRUE(PictureOf(W, Run) == Pictures[static_cast<size_t>(Half)]) << What;
    Pictures.resize(static_cast<size_t>(Half));
    PlayRecorded(W, Run, Target, History, Keys.substr(static_cast<size_t>(Half)), Pictures);
    EXPECT_TRUE(Run.Completed) << What << ": completed again after the rewind";
    EXPECT_EQ(History.Script(), Script) << What;

    const auto Began = std::chrono::steady_clock::now();
    const int Back = History.Steps();
    ExpectRewindsThrough(W, Run, History, Pictures, What);
    Slowest =
        std::max(Slowest, std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - Began).count() /
                              std::max(Back, 1));
    if (HasFatalFailure()) return;
  }
  EXPECT_GE(Completed, 20);
  RecordProperty("slowest_step_back_us", static_cast<int>(Slowest));
}

INSTANTIATE_TEST_SUITE_P(Packs, ShippedRewindTest, ::testing::Values("quarry_basics", "deep_shafts", "quarry_mix"));

class RunHistoryTest : public WorldTest {
 protected:
  // Plays Keys from the map's start, recording.
  void Play(const std::string& Keys) {
    History.Start(*World);
    Pictures.clear();
    PlayRecorded(*World, Run, *Target, History, Keys, Pictures);
  }
  TRunHistory History;
  std::vector<TWorldPicture> Pictures;
};

TEST_F(RunHistoryTest, RewindUndoesADeathWithoutASound) {
  // The boulder rests on the grass above the elf; the elf eats the grass
  // and steps back down: the boulder follows it.
  Load({"%%@%%%", "%% %%%", "%%.%%%", "%%*  !", "%%%%%%"});
  Play("UD" + std::string(12, '.'));
  ASSERT_GT(World->ElfDead, 0) << "the boulder came down on the elf";
  Effects.clear();
  while (World->ElfDead > 0) ASSERT_TRUE(History.StepBack(*World, Run));
  EXPECT_NE(World->ElfImage, TMaps::kHiddenElf);
  EXPECT_EQ(World->Code(World->ElfX, World->ElfY), Tile::Elf);
  EXPECT_TRUE(Effects.empty());
  Pictures.resize(static_cast<size_t>(History.Steps()) + 1);
  EXPECT_TRUE(PictureOf(*World, Run) == Pictures.back());
  ExpectRewindsThrough(*World, Run, History, Pictures, "death");
}

TEST_F(RunHistoryTest, SeveralArrowsAreRecordedAsTheOneThatActed) {
  Load({"%.$ .!%", "%*%%%%%"});
  const auto Held = [](bool Up, bool Down, bool Left, bool Right) {
    TElfKeys K;
    K.Up = Up;
    K.Down = Down;
    K.Left = Left;
    K.Right = Right;
    return K;
  };
  const TMaps Start(*World);
  const TMapRun StartRun = Run;
  History.Start(*World);
  // Up and Right: up is grass; Left and Right: left is steel, right the
  // diamond; Up and Down: the map's edge and steel, nothing moves; Down and
  // Right: only right is free.
  const std::vector<TElfKeys> Steps = {Held(true, false, false, true), Held(false, false, true, true),
                                       Held(true, true, false, false), Held(false, true, false, true)};
  for (const TElfKeys& K : Steps) {
    History.Record(*World, Run, K);
    RunMapStep(*World, Run, K);
  }
  EXPECT_EQ(History.Script(), "URUR");
  // The script does to the same start what the held keys did.
  TMaps Again(Start);
  TMapRun AgainRun = StartRun;
  for (char C : History.Script()) RunMapStep(Again, AgainRun, ElfKeysFor(C));
  EXPECT_TRUE(PictureOf(Again, AgainRun) == PictureOf(*World, Run));
}

TEST_F(RunHistoryTest, AWorldThatCannotBePackedIsKeptWhole) {
  // An elf dead for hundreds of steps is more than the packed form holds.
  Load({"%%@%%%", "%% %%%", "%%.%%%", "%%*  !", "%%%%%%"});
  Play("UD" + std::string(400, '.'));
  ASSERT_GT(World->ElfDead, 255);
  for (int K = 0; K < 150; ++K) ASSERT_TRUE(History.StepBack(*World, Run));
  EXPECT_TRUE(PictureOf(*World, Run) == Pictures[static_cast<size_t>(History.Steps())]);
}

TEST_F(RunHistoryTest, MemoryStaysUnderItsCapForAHundredThousandSteps) {
  Load({"%*  $  .  @ 0 > !%", "%%%%%%%%%%%%%%%%%%"});
  History.Start(*World);
  const std::string Pattern = "RRRLLLUUDDRRRRLLLL..";
  size_t Most = 0;
  for (int S = 0; S < 100000; ++S) {
    const TElfKeys K = ElfKeysFor(Pattern[static_cast<size_t>(S) % Pattern.size()]);
    History.Record(*World, Run, K);
    RunMapStep(*World, Run, K);
    Most = std::max(Most, History.MemoryUsed());
  }
  RecordProperty("most_bytes", static_cast<int>(Most));
  EXPECT_EQ(History.Steps(), 100000);
  EXPECT_LT(Most, TRunHistory::kDefaultCap);
  EXPECT_EQ(History.SnapshotInterval(), TRunHistory::kSnapshotEvery);
}

TEST_F(RunHistoryTest, ATightCapThinsTheSnapshotsAndRewindsAsExactly) {
  // The elf paces to and fro, takes the diamond and the exit opens.
  Load({"%*  $  .  . 0 .!%"});
  TRunHistory Tight(128 * 1024);
  Tight.Start(*World);
  std::vector<TWorldPicture> Seen;
  std::string Keys;
  for (int S = 0; S < 3000; ++S) Keys += "RRRLLL.RLRL."[static_cast<size_t>(S) % 12];
  PlayRecorded(*World, Run, *Target, Tight, Keys, Seen);
  EXPECT_LE(Tight.MemoryUsed(), size_t{128 * 1024});
  EXPECT_GT(Tight.SnapshotInterval(), TRunHistory::kSnapshotEvery);
  for (int K = 0; K < 700; ++K) ASSERT_TRUE(Tight.StepBack(*World, Run));
  EXPECT_TRUE(PictureOf(*World, Run) == Seen[static_cast<size_t>(Tight.Steps())]);
  TMapRun Other = Run;
  Tight.StateAt(123, *World, Other);
  EXPECT_TRUE(PictureOf(*World, Other) == Seen[123]);
}
