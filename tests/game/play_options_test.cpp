// F12 during play: the options open over the playfield, the key that closed
// them does not act on the map, and play goes on where it was.
#include "config/setup_command.h"
#include "game/options_screen.h"
#include "game/play_screen.h"
#include "graphics/font_collection.h"
#include "graphics/key_codes.h"
#include "shell/random.h"
#include "storage/stream_opener.h"
#include "tests/game/play_fixture.h"
#include "tests/support/log_capture.h"
#include "tests/support/scope_guard.h"

namespace {

class PlayOptionsTest : public PlayWindowTest {
 protected:
  void TearDown() override {
    Options.reset();
    PlayWindowTest::TearDown();
  }

  TTempDir Dir;
  TChangeDir Here{Dir.Path()};
  TLogCapture Captured;
  TRestore<std::unique_ptr<TVXStreamOpener>> Opener{StreamOpener,
                                                    std::make_unique<TVXStreamOpener>(Dir.Path() + "/Data/")};
  TRestore<std::unique_ptr<TMaps>> PackGuard{Maps};
  TRestore<std::unique_ptr<TSetupCommandHandler>> Setup{SetupCommands, std::make_unique<TSetupCommandHandler>()};
  TRestore<std::unique_ptr<TFontCollection>> Fonts{FontCollection, std::make_unique<TFontCollection>()};
  TRestore<std::unique_ptr<TOptions>> OptionsGuard{Options};
};

}  // namespace

TEST_F(PlayOptionsTest, EscapeThatClosesTheOptionsDoesNotRestartTheMap) {
  Load({"%*  $ !%"});
  Maps = std::move(World);
  Options = std::make_unique<TOptions>();
  TPlay1Map Play(0);
  int OpenedAtX = -1;
  bool WentBack = false;
  Play.AfterEvents = [&] {
    if (OpenedAtX >= 0 && Maps->ElfX < OpenedAtX) WentBack = true;
    if (Maps->ElfX == 3 && OpenedAtX < 0) {
      // F12 with Escape: the options open and close at once on Escape.
      OpenedAtX = Maps->ElfX;
      Hold({VXKey::F12, VXKey::Escape});
      return;
    }
    Hold({VXKey::Right});
  };
  VXRandom::Seed(5);
  ASSERT_TRUE(Play.Run());
  EXPECT_EQ(OpenedAtX, 3);
  EXPECT_TRUE(Options->Menu->Finished);
  EXPECT_EQ(Options->Menu->ExitKey, VXKey::Escape);
  EXPECT_FALSE(WentBack) << "the Escape that closed the options restarted the map";
}
