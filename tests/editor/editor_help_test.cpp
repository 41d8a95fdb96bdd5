// The editor's keys against its help page: every key and character of the
// table does something, and no other does anything.
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <tuple>

#include "config/setup_command.h"
#include "editor/editor_screen.h"
#include "game/help_keys.h"
#include "game/help_overlay.h"
#include "graphics/key_codes.h"
#include "graphics/video.h"
#include "tests/game/help_fixture.h"
#include "tests/support/data_folder.h"
#include "tests/support/log_capture.h"
#include "tests/support/scope_guard.h"
#include "world/maps.h"

namespace {

class EditorHelpTest : public HelpFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Data.Mounted());
    StreamOpener->CacheEnabled = false;
    HelpFixture::SetUp();
  }
  static void Push(int Sym, bool Down) {
    SDL_Event E{};
    E.type = static_cast<Uint8>(Down ? SDL_KEYDOWN : SDL_KEYUP);
    E.key.type = E.type;
    E.key.keysym.sym = static_cast<SDLKey>(Sym);
    SDL_PushEvent(&E);
  }
  // Three maps, the middle one shown: every key that moves between maps or
  // moves a map has somewhere to go.
  std::unique_ptr<TEditorScreen> Fresh() {
    auto S = std::make_unique<TEditorScreen>("keys.sq", 0);
    S->Answer = [this](const std::string&) {
      ++Questions;
      return TEditorScreen::kYes;
    };
    EXPECT_TRUE(S->Open());
    S->Press(VXKey::Insert, false);
    S->Press(VXKey::Insert, false);
    S->Press(VXKey::PageUp, false);
    return S;
  }
  auto State(TEditorScreen& S) const {
    TMapEditor& E = S.Editor();
    return std::make_tuple(S.Status(), S.CursorX(), S.CursorY(), S.Chosen(), E.Current(), E.MapCount(), E.Modified(),
                           E.CurrentMap().MapName, E.CurrentMap().Author, E.PackName(), E.PackAuthor(),
                           E.CurrentMap().Tiles, Questions, THelpOverlay::OpenCount(), S.Solving());
  }
  // Whatever a key opens, the designer leaves it: a line of text gets an
  // "x" and Return, anything else Escape.
  void LeaveWhatOpens(bool TypeText) {
    Frames = 0;
    VX_SDL::SetPresentHook([this, TypeText](const std::vector<TDirtyRect>&) {
      ++Frames;
      if (TypeText && Frames == 1)
        for (int C : {int{'x'}, VXKey::Return}) Push(C, true), Push(C, false);
      if (!TypeText) Push(VXKey::Escape, true);
    });
  }

  TDataFolder Data;
  TLogCapture Captured;
  TRestore<std::unique_ptr<TMaps>> PackGuard{Maps};
  TRestore<std::unique_ptr<TSetupCommandHandler>> Setups{SetupCommands, std::make_unique<TSetupCommandHandler>()};
  int Questions = 0;
  int Frames = 0;
};

TEST_F(EditorHelpTest, EveryKeyOfTheTableActsAndNoOther) {
  const THelpPage& Page = HelpPage(THelpScreen::Editor);
  for (bool Ctrl : {false, true})
    for (int Key = 1; Key < VX_SDL::kKeyCount; ++Key) {
      if (Key == VXKey::LeftCtrl || Key == VXKey::RightCtrl) continue;
      auto S = Fresh();
      const auto Before = State(*S);
      const bool Text = !Ctrl && (Key == VXKey::F2 || Key == VXKey::F3 || Key == VXKey::F4 || Key == VXKey::F8);
      LeaveWhatOpens(Text);
      S->Press(Key, Ctrl);
      VX_SDL::SetPresentHook(nullptr);
      VX_SDL::ClearKeys();
      SDL_Event Drop;
      while (SDL_PollEvent(&Drop)) {}
      const bool Reacted = State(*S) != Before || Frames > 0;
      EXPECT_EQ(Reacted, HelpKeyFor(Page, Key, Ctrl) != nullptr) << (Ctrl ? "Ctrl+" : "") << "key " << Key;
    }
}

TEST_F(EditorHelpTest, EveryCharacterOfTheTableActsAndNoOther) {
  const THelpPage& Page = HelpPage(THelpScreen::Editor);
  for (int C = 1; C < 256; ++C) {
    auto S = Fresh();
    const auto Before = State(*S);
    S->Typed(static_cast<char>(C));
    EXPECT_EQ(State(*S) != Before, HelpCharFor(Page, static_cast<char>(C)) != nullptr) << "character " << C;
  }
}

}  // namespace
