// New players: a name that is empty or taken is refused with the reason and
// the entry goes on; the new player is under the cursor afterwards.
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include "game/game_flow.h"
#include "registry/player_reg.h"
#include "tests/game/help_fixture.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_support.h"

namespace {

class PlayerNamesTest : public HelpFixture {
 protected:
  static void Type(const std::string& Text) {
    for (char C : Text)
      for (auto Type : {SDL_KEYDOWN, SDL_KEYUP}) {
        SDL_Event E{};
        E.type = static_cast<Uint8>(Type);
        E.key.type = E.type;
        E.key.keysym.sym = static_cast<SDLKey>(static_cast<uint8_t>(C));
        SDL_PushEvent(&E);
      }
  }

  TTempDir Dir;
  TChangeDir Here{Dir.Path()};
  TLogCapture Captured;
  TRestore<std::unique_ptr<TPlayerReg>> Registry{PlayerRegistry, std::make_unique<TPlayerReg>()};
};

TEST_F(PlayerNamesTest, EmptyAndTakenNamesAreRefusedWithAReason) {
  PlayerRegistry->AddPlayer("Wren");
  EXPECT_EQ(TGame::RefuseName(""), "A player needs a name");
  EXPECT_EQ(TGame::RefuseName("   "), "A player needs a name");
  EXPECT_EQ(TGame::RefuseName("wREN"), "That name is taken");
  EXPECT_EQ(TGame::RefuseName(" Wren "), "That name is taken");
  EXPECT_EQ(TGame::RefuseName("Ada"), "");
}

TEST_F(PlayerNamesTest, TheEntryGoesOnAfterARefusalAndTheNewPlayerIsSelected) {
  PlayerRegistry->AddPlayer("Wren");
  TGame Game;
  // Down to the new-player row, Return; in the entry Return on nothing,
  // then a taken name, then a new one; back in the list, Return at once.
  OnFrames([](int F) {
    if (F == 0) Hold({VXKey::Down});
    else if (F == 2 || F == 40) Hold({VXKey::Return});
    else VX_SDL::ClearKeys();
    if (F == 3) Type("\rwren\r\b\b\b\bada\r");
  });
  EXPECT_EQ(Game.SelectPlayer(), "ada");
  ASSERT_EQ(PlayerRegistry->PlayerCount(), 2);
  std::string Second;
  PlayerRegistry->GetPlayerName(1, Second);
  EXPECT_EQ(Second, "ada");
}

}  // namespace
