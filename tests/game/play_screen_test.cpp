// The play screen's step counter, its pause (the key that resumes does
// nothing else) and Backspace going back past a restart into the attempt
// the restart ended.
#include "game/play_screen.h"

#include "graphics/key_codes.h"
#include "shell/random.h"
#include "storage/stream_opener.h"
#include "tests/game/play_fixture.h"
#include "tests/support/log_capture.h"
#include "tests/support/scope_guard.h"

namespace {

class PlayScreenTest : public PlayWindowTest {
 protected:
  // What a step can change, for comparing two worlds.
  struct TSeen {
    std::array<int32_t, TMaps::kCols * TMaps::kRows> Cells;
    std::array<uint8_t, TMaps::kCols * TMaps::kRows> Flags;
    int ElfX, ElfY, Diamonds, Dead;
    std::string Image;
    bool operator==(const TSeen&) const = default;
  };
  static int ElfKeyCode(char Key) {
    return Key == 'U' ? VXKey::Up : Key == 'D' ? VXKey::Down : Key == 'L' ? VXKey::Left : Key == 'R' ? VXKey::Right : 0;
  }
  static TSeen Seen() {
    return {Maps->Cells(), Maps->Flags, Maps->ElfX, Maps->ElfY, Maps->DiamondsLeft, Maps->ElfDead, Maps->ElfImage};
  }

  TTempDir Dir;
  TChangeDir Here{Dir.Path()};
  TLogCapture Captured;
  TRestore<std::unique_ptr<TVXStreamOpener>> Opener{StreamOpener,
                                                    std::make_unique<TVXStreamOpener>(Dir.Path() + "/Data/")};
  TRestore<std::unique_ptr<TMaps>> PackGuard{Maps};
};

TEST_F(PlayScreenTest, TheStepCounterCountsTheAttemptsStepsAndForgetsWhatBackspaceUndid) {
  Pack({"%*.......$!%"});
  TPlay1Map Play(0);
  int Frames = 0;
  std::vector<int> Counted;
  Play.AfterEvents = [&] {
    ++Frames;
    if (Frames % TMapRun::kFramesPerStep == 0) Counted.push_back(Play.Steps());
    // Three steps right, then back two (a step back every second frame).
    if (Frames <= 3 * TMapRun::kFramesPerStep) Hold({VXKey::Right});
    else if (Frames <= 3 * TMapRun::kFramesPerStep + 2 * TPlay1Map::kRewindFrames - 1) Hold({VXKey::Backspace});
    else Hold({VXKey::F10});
  };
  EXPECT_FALSE(Play.Run());
  ASSERT_EQ(Counted.size(), 3u);
  EXPECT_EQ(Counted, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(Play.Steps(), 1) << "two steps undone";
  EXPECT_EQ(Maps->ElfX, 2);
}

TEST_F(PlayScreenTest, PauseFreezesTheWorldAndTheKeyThatResumesDoesNothingElse) {
  Pack({"%.@..%", "%. ..%", "%.*..%", "%$..!%"});
  TPlay1Map Play(0);
  int Frames = 0, Phase = 0, StepsAtPause = -1;
  TSeen AtPause{};
  Play.AfterEvents = [&] {
    ++Frames;
    switch (Phase) {
      case 0:  // the boulder has not fallen yet: pause it in the air
        if (Frames == 2) {
          Hold({VXKey::Letter('p')});
          StepsAtPause = Play.Steps();
          AtPause = Seen();
          Phase = 1;
        }
        break;
      case 1:  // paused: nothing moves for a long while, then Right is pressed
        EXPECT_EQ(Seen(), AtPause);
        if (Frames == 60) {
          VX_SDL::Keys[VXKey::Right] = true;
          Phase = 2;
        }
        break;
      case 2:  // playing again, with Right still held down by the player
        if (Frames == 61) { EXPECT_FALSE(VX_SDL::Keys[VXKey::Right]) << "the resuming key was let go"; }
        if (Frames == 61 + 3 * TMapRun::kFramesPerStep) Hold({VXKey::F10});
        break;
    }
  };
  EXPECT_FALSE(Play.Run());
  EXPECT_EQ(Phase, 2);
  EXPECT_GE(Play.FramesPaused(), 55);
  EXPECT_EQ(Maps->ElfX, 2) << "the key that resumed did not move the elf";
  EXPECT_GT(Play.Steps(), StepsAtPause) << "play went on after the pause";
  EXPECT_NE(Maps->Code(2, 0), Tile::Boulder) << "the boulder fell once play went on";
}

TEST_F(PlayScreenTest, ATapJustBeforeThePauseMovesTheElfAWholeStepAfterPlayGoesOn) {
  Pack({"%*.....$..!%"});
  TPlay1Map Play(0);
  int Frames = 0, Phase = 0, ResumedAt = -1, MovedAt = -1;
  Play.AfterEvents = [&] {
    ++Frames;
    switch (Phase) {
      case 0:  // Right tapped between two steps, P straight after it
        if (Frames == 3) {
          Hold({VXKey::Letter('p')});
          VX_SDL::RestorePresses({VXKey::Right});
          Phase = 1;
        }
        break;
      case 1:
        if (Frames == 30) {
          Hold({VXKey::Space});
          ResumedAt = Frames;
          Phase = 2;
        }
        break;
      case 2:
        if (MovedAt < 0 && Maps->ElfX == 2) MovedAt = Frames;
        if (Frames == ResumedAt + 3 * TMapRun::kFramesPerStep) Hold({VXKey::F10});
        break;
    }
  };
  EXPECT_FALSE(Play.Run());
  ASSERT_EQ(Phase, 2);
  ASSERT_GE(MovedAt, 0) << "the tap made before the pause was lost";
  EXPECT_EQ(MovedAt - ResumedAt, TMapRun::kFramesPerStep) << "the step after the pause came early";
  EXPECT_EQ(Maps->ElfX, 2) << "one tap, one step";
}

TEST_F(PlayScreenTest, BackspaceAfterEscapeGoesBackToTheWorldBeforeTheRestart) {
  Pack({"%*.....$..!%"});
  TPlay1Map Play(0);
  int Frames = 0, Phase = 0;
  TSeen BeforeEscape{}, AfterRewind{};
  int StepsBefore = 0;
  std::string ScriptBefore;
  Play.AfterEvents = [&] {
    ++Frames;
    switch (Phase) {
      case 0:
        Hold({VXKey::Right});
        if (Maps->ElfX == 5) {
          Hold({VXKey::Escape});
          BeforeEscape = Seen();
          StepsBefore = Play.Steps();
          ScriptBefore = Play.RunScript();
          Phase = 1;
        }
        break;
      case 1:  // restarted: the elf is back at the start
        EXPECT_EQ(Maps->ElfX, 1);
        EXPECT_EQ(Play.Steps(), 0);
        Hold({VXKey::Backspace});
        Phase = 2;
        break;
      case 2:
        AfterRewind = Seen();
        EXPECT_EQ(Play.Steps(), StepsBefore);
        EXPECT_EQ(Play.RunScript(), ScriptBefore);
        Hold({VXKey::Right});
        Phase = 3;
        break;
    }
  };
  VXRandom::Seed(9);
  EXPECT_TRUE(Play.Run());
  EXPECT_EQ(Phase, 3);
  EXPECT_EQ(AfterRewind, BeforeEscape);
  EXPECT_EQ(Play.RunScript().substr(0, ScriptBefore.size()), ScriptBefore) << "the run goes on from the old attempt";
}

TEST_F(PlayScreenTest, EscapeHeldDownKeepsTheAttemptBeforeIt) {
  Pack({"%*.....$..!%"});
  TPlay1Map Play(0);
  int Phase = 0, Restarts = 0;
  TSeen BeforeEscape{};
  Play.AfterEvents = [&] {
    if (Phase == 0) {
      Hold({VXKey::Right});
      if (Maps->ElfX == 4) {
        BeforeEscape = Seen();
        Phase = 1;
      }
    }
    if (Phase == 1) {
      // Several frames: a restart each, none with a step.
      Hold({VXKey::Escape});
      if (++Restarts == 5) Phase = 2;
    } else if (Phase == 2) {
      Hold({VXKey::Backspace});
      Phase = 3;
    } else if (Phase == 3) {
      EXPECT_EQ(Seen(), BeforeEscape);
      Hold({VXKey::F10});
    }
  };
  EXPECT_FALSE(Play.Run());
  EXPECT_EQ(Phase, 3);
}

TEST_F(PlayScreenTest, AWatchedRunGoesFourTimesAsFastWhileRightOrFIsHeldAndPauses) {
  Pack({"%*$..........!%"});
  const std::string Run(12, 'R');
  const auto FramesToWatch = [&](int Key, bool PauseOnce) {
    VXRandom::Seed(3);
    TPlay1Map Watch(0, Run, "Wren");
    int Frames = 0;
    bool Paused = false;
    Watch.AfterEvents = [&] {
      ++Frames;
      if (PauseOnce && !Paused && Frames == 5) {
        Hold({VXKey::Letter('p')});
        Paused = true;
      } else if (PauseOnce && Paused && Frames == 20) {
        Hold({VXKey::Down});  // resumes, and does not end the run
      } else if (Key) {
        Hold({Key});
      }
    };
    EXPECT_FALSE(Watch.Run());
    EXPECT_TRUE(Watch.Completed());
    EXPECT_EQ(Watch.Steps(), static_cast<int>(Run.size()));
    return Frames;
  };
  const int Plain = FramesToWatch(0, false);
  for (int Key : {VXKey::Right, VXKey::Letter('f')}) {
    const int Fast = FramesToWatch(Key, false);
    EXPECT_LE(Fast * TPlay1Map::kFastForward, Plain + TPlay1Map::kFastForward * TMapRun::kFramesPerStep) << Key;
  }
  EXPECT_GE(FramesToWatch(0, true), Plain + 14) << "the paused frames came on top";
}

}  // namespace

TEST_F(PlayScreenTest, AHintShowsTheWayFromWhereTheElfStandsUntilTheElfLeavesIt) {
  // The diamond is behind the elf once it has gone right.
  Pack({"%$..*....!%", "%%%%.%%%%%%"});
  TPlay1Map Play(0);
  int Frames = 0, Phase = 0;
  std::string Ahead;
  Play.AfterEvents = [&] {
    ++Frames;
    switch (Phase) {
      case 0:  // one step right, then ask
        Hold({VXKey::Right});
        if (Maps->ElfX == 5) {
          Hold({VXKey::F3});
          Phase = 1;
        }
        break;
      case 1:
        Hold({});
        if (Play.Hint().State() == TPlayHint::TState::Shown) {
          Ahead = Play.Hint().KeysAhead();
          Phase = 2;
        }
        ASSERT_LT(Frames, 2000) << "no hint came";
        break;
      case 2:  // follows the way to the end
        Hold({Play.Hint().KeysAhead().empty() ? VXKey::Right : ElfKeyCode(Play.Hint().KeysAhead()[0])});
        break;
    }
  };
  EXPECT_TRUE(Play.Run());
  EXPECT_EQ(Ahead.substr(0, 4), "LLLL") << Ahead;
  EXPECT_TRUE(Play.Hinted());
}
