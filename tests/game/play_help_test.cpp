// H during play and while watching: the world waits under the help, and the
// key that closes it neither restarts the map nor ends the watched run.
#include <utility>

#include "config/setup_command.h"
#include "game/help_keys.h"
#include "game/help_overlay.h"
#include "game/options_screen.h"
#include "game/play_screen.h"
#include "graphics/key_codes.h"
#include "shell/random.h"
#include "storage/stream_opener.h"
#include "tests/game/play_fixture.h"
#include "tests/support/log_capture.h"
#include "tests/support/scope_guard.h"

namespace {

class PlayHelpTest : public PlayWindowTest {
 protected:
  void TearDown() override {
    VX_SDL::SetPresentHook(nullptr);
    PlayWindowTest::TearDown();
  }

  TTempDir Dir;
  TChangeDir Here{Dir.Path()};
  TLogCapture Captured;
  TRestore<std::unique_ptr<TVXStreamOpener>> Opener{StreamOpener,
                                                    std::make_unique<TVXStreamOpener>(Dir.Path() + "/Data/")};
  TRestore<std::unique_ptr<TMaps>> PackGuard{Maps};
  TRestore<std::unique_ptr<TSetupCommandHandler>> Setups{SetupCommands, std::make_unique<TSetupCommandHandler>()};
  TRestore<std::unique_ptr<TOptions>> OptionsGuard{Options};

  // Two flips with no play frame between them belong to a screen over the
  // map: it is noted in Opened and closed with Escape. The play frames set
  // SinceEvents back to 0.
  static void CloseScreensOver(bool& Opened, int& SinceEvents) {
    VX_SDL::SetPresentHook([Opened = &Opened, SinceEvents = &SinceEvents](const std::vector<TDirtyRect>&) {
      if (++*SinceEvents > 1) {
        *Opened = true;
        Hold({VXKey::Escape});
      }
    });
  }
};

TEST_F(PlayHelpTest, EscapeThatClosesTheHelpDoesNotRestartTheMap) {
  Load({"%*  $ !%"});
  Maps = std::move(World);
  TPlay1Map Play(0);
  int OpenedAtX = -1, HelpFrames = 0;
  bool WentBack = false;
  const int Opened = THelpOverlay::OpenCount();
  Play.AfterEvents = [&] {
    if (OpenedAtX >= 0 && Maps->ElfX < OpenedAtX) WentBack = true;
    if (Maps->ElfX == 3 && OpenedAtX < 0) {
      OpenedAtX = Maps->ElfX;
      Hold({VXKey::Letter('h')});
      // Frames under the help: the world must not move meanwhile.
      VX_SDL::SetPresentHook([&](const std::vector<TDirtyRect>&) {
        if (++HelpFrames == 20) Hold({VXKey::Escape});
      });
      return;
    }
    VX_SDL::SetPresentHook(nullptr);
    Hold({VXKey::Right});
  };
  VXRandom::Seed(5);
  ASSERT_TRUE(Play.Run());
  EXPECT_EQ(THelpOverlay::OpenCount(), Opened + 1);
  EXPECT_GE(HelpFrames, 20);
  EXPECT_FALSE(WentBack) << "the Escape that closed the help restarted the map";
}

TEST_F(PlayHelpTest, HWhileWatchingShowsTheHelpAndTheRunGoesOn) {
  Load({"%*  $ !%"});
  Maps = std::move(World);
  TPlay1Map Play(0, "RRRRR", "Wren");
  const int Opened = THelpOverlay::OpenCount();
  int Frames = 0;
  Play.AfterEvents = [&] {
    if (++Frames == 3) {
      Hold({VXKey::Letter('h')});
      // The help's first frame: Escape, once.
      VX_SDL::SetPresentHook([Sent = false](const std::vector<TDirtyRect>&) mutable {
        if (!std::exchange(Sent, true)) Hold({VXKey::Escape});
      });
    }
  };
  VXRandom::Seed(5);
  // A watched run that ends at the exit reports false, as it records nothing.
  EXPECT_FALSE(Play.Run());
  EXPECT_EQ(THelpOverlay::OpenCount(), Opened + 1);
  EXPECT_TRUE(Play.Completed()) << "H ended the watched run";
}

// What one key does in play: the elf steps right once, then Key is held for
// a step's worth of frames, then F10 leaves. Whatever opens over the play
// (help, options, a pause) is closed by Escape.
struct TPlayProbe {
  int ElfX = 0, ElfY = 0;
  bool LeftEarly = false;  // Key left the map
  bool Opened = false;     // something came over the play screen
};

class PlayKeysTest : public PlayHelpTest {
 protected:
  TPlayProbe Probe(const TMaps& Start, int Key) {
    Maps = std::make_unique<TMaps>(Start);
    TPlay1Map Play(0);
    TPlayProbe Result;
    int Frame = 0, SinceEvents = 0;
    CloseScreensOver(Result.Opened, SinceEvents);
    Play.AfterEvents = [&] {
      SinceEvents = 0;
      ++Frame;
      if (Frame < 9) Hold({VXKey::Right});
      else if (Key != 0 && Frame >= 10 && Frame < 18) Hold({Key});
      else if (Frame == 30) {
        // A hint asked for is being looked for, or shown, or said to be none.
        Result.Opened = Result.Opened || Play.Hint().State() != TPlayHint::TState::Idle;
        Hold({VXKey::F10});
      } else VX_SDL::ClearKeys();
    };
    Play.Run();
    VX_SDL::SetPresentHook(nullptr);
    Result.LeftEarly = Frame < 30;
    // The pause runs the play's own frame hook: it shows in its count.
    Result.Opened = Result.Opened || Play.FramesPaused() > 0;
    Result.ElfX = Maps->ElfX;
    Result.ElfY = Maps->ElfY;
    return Result;
  }
};

TEST_F(PlayKeysTest, EveryKeyOfTheTableActsAndNoOther) {
  Load({"%%%%%%%%", "%      %", "%  *   %", "%      %", "%$    !%"});
  const auto Start = std::make_unique<TMaps>(*World);
  Options = std::make_unique<TOptions>();
  const TPlayProbe Idle = Probe(*Start, 0);
  ASSERT_FALSE(Idle.LeftEarly);
  ASSERT_EQ(Idle.ElfX, 4) << "the elf's first step right";
  const THelpPage& Page = HelpPage(THelpScreen::Play);
  for (int Key = 1; Key < VX_SDL::kKeyCount; ++Key) {
    // Those skip the end-of-map picture: a test of their own below.
    if (Key == VXKey::Space || Key == VXKey::F2) continue;
    const TPlayProbe P = Probe(*Start, Key);
    const bool Reacted = P.LeftEarly || P.Opened || P.ElfX != Idle.ElfX || P.ElfY != Idle.ElfY;
    EXPECT_EQ(Reacted, HelpKeyFor(Page, Key) != nullptr) << "key " << Key;
  }
}

TEST_F(PlayKeysTest, SpaceAndF2SkipTheEndOfMapPicture) {
  Load({"%*!%"});
  for (int Key : {VXKey::Space, VXKey::F2, VXKey::Escape, VXKey::Letter('h')}) {
    Maps = std::make_unique<TMaps>(*World);
    TPlay1Map Play(0);
    int Frames = 0;
    VX_SDL::SetPresentHook([&](const std::vector<TDirtyRect>&) {
      if (++Frames == 5) Hold({Key});
    });
    Play.ShowCompleted();
    VX_SDL::SetPresentHook(nullptr);
    EXPECT_EQ(Frames < TPlay1Map::kCompletedFrames, HelpKeyFor(HelpPage(THelpScreen::Play), Key) != nullptr &&
                                                        Key != VXKey::Escape && Key != VXKey::Letter('h'))
        << "key " << Key;
  }
}

// What one key does to a watched run: Key is held for a step's worth of
// frames, then nothing until F10 ends it.
struct TWatchProbe {
  int Steps = 0;
  bool Ended = false;   // Key ended the run
  bool Opened = false;  // something came over it
};

class WatchKeysTest : public PlayHelpTest {
 protected:
  TWatchProbe Probe(const TMaps& Start, int Key) {
    Maps = std::make_unique<TMaps>(Start);
    TPlay1Map Play(0, std::string(40, 'R'), "Wren");
    TWatchProbe Result;
    int Frame = 0, SinceEvents = 0;
    CloseScreensOver(Result.Opened, SinceEvents);
    Play.AfterEvents = [&] {
      SinceEvents = 0;
      ++Frame;
      if (Key != 0 && Frame >= 10 && Frame < 18) Hold({Key});
      else if (Frame == 40) {
        Result.Steps = Play.Steps();
        Hold({VXKey::F10});
      } else {
        VX_SDL::ClearKeys();
      }
    };
    Play.Run();
    VX_SDL::SetPresentHook(nullptr);
    Result.Ended = Frame < 40;
    Result.Opened = Result.Opened || Play.FramesPaused() > 0;
    return Result;
  }
};

TEST_F(WatchKeysTest, TheKeysOfTheTableActAndEveryOtherEndsTheRun) {
  Load({"%%%%%%%%%%%%%%%%%%%%", "%*                 %"});
  const auto Start = std::make_unique<TMaps>(*World);
  Options = std::make_unique<TOptions>();
  const TWatchProbe Idle = Probe(*Start, 0);
  ASSERT_FALSE(Idle.Ended);
  const THelpPage& Page = HelpPage(THelpScreen::Watching);
  for (int Key = 1; Key < VX_SDL::kKeyCount; ++Key) {
    const TWatchProbe P = Probe(*Start, Key);
    const bool Listed = HelpKeyFor(Page, Key) != nullptr;
    EXPECT_EQ(P.Ended, !Listed) << "key " << Key;
    if (Listed) { EXPECT_TRUE(P.Opened || P.Steps != Idle.Steps) << "key " << Key << " does nothing"; }
  }
}

}  // namespace
