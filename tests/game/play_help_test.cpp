// H during play and while watching: the world waits under the help, and the
// key that closes it neither restarts the map nor ends the watched run.
#include <utility>

#include "config/setup_command.h"
#include "game/help_overlay.h"
#include "game/play_screen.h"
#include "graphics/key_codes.h"
#include "shell/random.h"
#include "storage/stream_opener.h"
#include "tests/support/log_capture.h"
#include "tests/support/scope_guard.h"
#include "tests/world/world_fixture.h"

namespace {

class PlayHelpTest : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    VX_SDL::Start();
    VX_SDL::Initialize(640, 480, 32, VX_SDL::kUseSecondary);
    VX_SDL::SetFrameRate(0);
  }
  void TearDown() override {
    VX_SDL::SetPresentHook(nullptr);
    VX_SDL::ClearKeys();
    VX_SDL::Finalize();
    VX_SDL::Stop();
    WorldTest::TearDown();
  }
  static void Hold(std::initializer_list<int> Keys) {
    VX_SDL::ClearKeys();
    for (int K : Keys) VX_SDL::Keys[static_cast<size_t>(K)] = true;
  }

  TTempDir Dir;
  TChangeDir Here{Dir.Path()};
  TLogCapture Captured;
  TRestore<std::unique_ptr<TVXStreamOpener>> Opener{StreamOpener,
                                                    std::make_unique<TVXStreamOpener>(Dir.Path() + "/Data/")};
  TRestore<std::unique_ptr<TMaps>> PackGuard{Maps};
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

}  // namespace
