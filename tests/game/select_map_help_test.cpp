// The map selection's keys against its help page, and what the foot strip
// says when a key asks for what cannot be done.
#include <gtest/gtest.h>

#include "game/help_keys.h"
#include "game/help_overlay.h"
#include "game/select_map.h"
#include "graphics/key_codes.h"
#include "registry/player_reg.h"
#include "tests/game/help_fixture.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_support.h"
#include "ui/sq_list_box.h"
#include "world/maps.h"

namespace {

constexpr const char* kPack = "test.sq";
constexpr const char* kPlayer = "Wren";

class SelectMapHelpTest : public HelpFixture {
 protected:
  void SetUp() override {
    HelpFixture::SetUp();
    PlayerRegistry->AddPlayer(kPlayer);
    PlayerRegistry->AddLevelPack(kPack);
    Maps = std::make_unique<TMaps>();
    for (int I = 0; I < 5; ++I) {
      auto Map = std::make_unique<TXMap>();
      Map->MapName = "Map " + std::to_string(I);
      Maps->Maps.push_back(std::move(Map));
    }
  }

  TTempDir Dir;
  TChangeDir Here{Dir.Path()};
  TLogCapture Captured;
  TRestore<std::unique_ptr<TPlayerReg>> Registry{PlayerRegistry, std::make_unique<TPlayerReg>()};
  TRestore<std::unique_ptr<TMaps>> PackGuard{Maps};
};

TEST_F(SelectMapHelpTest, EveryKeyOfTheTableActsAndNoOther) {
  Options = std::make_unique<TOptions>();
  const THelpPage& Page = HelpPage(THelpScreen::MapSelection);
  for (int Key = 1; Key < VX_SDL::kKeyCount; ++Key) {
    TSelectMap Screen(kPack, kPlayer);
    bool Edited = false;
    Screen.EditPack = [&Edited](const std::string&, int) { return Edited = true, false; };
    Options->Menu->ExitKey = 0;
    const int Opened = THelpOverlay::OpenCount();
    PressThenEscape(Key);
    // The cursor on the second of the three open maps.
    const int Result = Screen.Run(1);
    const bool Reacted = Result != TSelectMap::kLeave || Frame < 3 || Screen.MapList->GetItemIndex() != 1 || Edited ||
                         !Screen.FootMessage().empty() || THelpOverlay::OpenCount() != Opened ||
                         Options->Menu->ExitKey != 0;
    EXPECT_EQ(Reacted, HelpKeyFor(Page, Key) != nullptr) << "key " << Key;
  }
}

TEST_F(SelectMapHelpTest, ReturnOnALockedMapSaysWhyForAWhile) {
  TSelectMap Screen(kPack, kPlayer);
  // Down to the first locked map, Return there, then nothing until Escape.
  const int Last = TSelectMap::kMessageFrames + 25;
  std::vector<std::string> Said;
  OnFrames([&](int F) {
    if (F == 0) Hold({VXKey::Down});
    else if (F == 20) Hold({VXKey::Return});
    else if (F == Last) Hold({VXKey::Escape});
    else VX_SDL::ClearKeys();
    if (F == 22 || F == Last - 1) Said.push_back(Screen.FootMessage());
  });
  EXPECT_EQ(Screen.Run(2), TSelectMap::kLeave);
  EXPECT_EQ(Screen.MapList->GetItemIndex(), 3);
  EXPECT_EQ(Said, (std::vector<std::string>{TSelectMap::kLockedMessage, ""}));
}

TEST_F(SelectMapHelpTest, WWithoutAKeptRunSaysThereIsNone) {
  TSelectMap Screen(kPack, kPlayer);
  OnFrames([](int F) {
    if (F == 0) Hold({VXKey::Letter('w')});
    else if (F == 3) Hold({VXKey::Escape});
    else VX_SDL::ClearKeys();
  });
  EXPECT_EQ(Screen.Run(0), TSelectMap::kLeave);
  EXPECT_EQ(Screen.FootMessage(), TSelectMap::kNoRunMessage);
}

TEST_F(SelectMapHelpTest, ReturnOnAnOpenMapSaysNothing) {
  TSelectMap Screen(kPack, kPlayer);
  Screen.ShowProgress(0);
  VX_SDL::Keys[VXKey::Return] = true;
  Screen.NoteRefusal();
  EXPECT_EQ(Screen.FootMessage(), "");
  Screen.MapList->SetItemIndex(4);
  Screen.NoteRefusal();
  EXPECT_EQ(Screen.FootMessage(), TSelectMap::kLockedMessage);
}

TEST_F(SelectMapHelpTest, EscapeClosingTheHelpDoesNotLeaveTheSelection) {
  TSelectMap Screen(kPack, kPlayer);
  Screen.HelpPrompt = true;
  OnFrames([](int F) {
    if (F == 1) Hold({VXKey::Letter('h')});
    else if (F == 3 || F == 6) Hold({VXKey::Escape});
    else VX_SDL::ClearKeys();
  });
  EXPECT_EQ(Screen.Run(0), TSelectMap::kLeave);
  EXPECT_EQ(Frame, 7) << "the Escape that closed the help left the screen";
  EXPECT_FALSE(Screen.HelpPrompt) << "the prompt stays once the help was found";
}

}  // namespace
