// The help overlay and the one table of keys it shows: H opens it on every
// screen, H again or Escape closes it, and the screen behind is as it was.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "game/help_keys.h"
#include "game/help_overlay.h"
#include "game/list_screen.h"
#include "graphics/key_codes.h"
#include "tests/game/help_fixture.h"

namespace {

class HelpTest : public HelpFixture {};

TEST(HelpKeysTest, EveryPageNamesHAndNoKeyTwice) {
  for (const THelpPage& Page : HelpPages()) {
    SCOPED_TRACE(Page.Title);
    EXPECT_NE(HelpKeyFor(Page, VXKey::Letter('h')), nullptr);
    std::set<std::tuple<int, bool, bool>> Seen;
    std::set<std::string> Names;
    for (const THelpKey& K : Page.Keys) {
      EXPECT_FALSE(K.Text.empty()) << K.Name;
      EXPECT_TRUE(Names.insert(K.Name).second) << K.Name << " listed twice";
      for (int Code : K.Codes) EXPECT_TRUE(Seen.insert({Code, K.Ctrl, K.Typed}).second) << K.Name << ": " << Code;
    }
  }
}

TEST(HelpKeysTest, EveryScreenHasItsPage) {
  for (THelpScreen S :
       {THelpScreen::Players, THelpScreen::ErasePlayer, THelpScreen::LevelPacks, THelpScreen::MapSelection,
        THelpScreen::Play, THelpScreen::Watching, THelpScreen::Editor, THelpScreen::Options})
    EXPECT_EQ(HelpPage(S).Screen, S);
}

TEST_F(HelpTest, HOpensTheHelpAndHAgainClosesItWithTheScreenAsItWas) {
  VX_SDL::FillBox(100, 100, 300, 200, 200, 80, 40);
  const std::vector<uint8_t> Before = Picture();
  std::vector<uint8_t> Shown;
  const int Opened = THelpOverlay::OpenCount();
  // H stays held a while: it opened the help and must not close it too.
  OnFrames([&](int F) {
    if (F < 5) Hold({VXKey::Letter('h')});
    else if (F < 7) VX_SDL::ClearKeys();
    else Hold({VXKey::Letter('h')});
    if (F == 6) Shown = Picture();
  });
  Hold({VXKey::Letter('h')});
  EXPECT_TRUE(HelpOnH(THelpScreen::Players));
  EXPECT_EQ(Frame, 8);
  EXPECT_EQ(THelpOverlay::OpenCount(), Opened + 1);
  EXPECT_NE(Shown, Before) << "the help was not drawn";
  EXPECT_EQ(Picture(), Before) << "the screen behind was not put back";
  EXPECT_FALSE(VX_SDL::Keys[VXKey::Letter('h')]) << "the closing H would open it again";
}

TEST_F(HelpTest, EscapeClosesTheHelpAndIsLetGo) {
  const std::vector<uint8_t> Before = Picture();
  OnFrames([](int F) {
    if (F == 2) Hold({VXKey::Escape});
  });
  Hold({VXKey::Letter('h')});
  EXPECT_TRUE(HelpOnH(THelpScreen::Play));
  EXPECT_EQ(Frame, 3);
  EXPECT_FALSE(VX_SDL::Keys[VXKey::Escape]);
  EXPECT_EQ(Picture(), Before);
}

TEST_F(HelpTest, NothingOpensWithoutH) {
  const int Opened = THelpOverlay::OpenCount();
  Hold({VXKey::Escape, VXKey::F1, VXKey::Letter('p')});
  EXPECT_FALSE(HelpOnH(THelpScreen::Play));
  EXPECT_EQ(THelpOverlay::OpenCount(), Opened);
}

class ListScreenKeysTest : public HelpFixture, public ::testing::WithParamInterface<THelpScreen> {
 protected:
  // Whether pressing Key once makes the list screen do anything: end at
  // once, move its cursor, open the help or the options.
  bool Reacts(int Key, THelpScreen Screen) {
    static const std::initializer_list<int> kPlayerEnds{VXKey::Escape, VXKey::Return, VXKey::Delete};
    static const std::initializer_list<int> kOtherEnds{VXKey::Escape, VXKey::Return};
    Options->Menu->ExitKey = 0;
    const int Opened = THelpOverlay::OpenCount();
    PressThenEscape(Key);
    TListScreenExtras Extras{Screen, 1};
    const TListChoice C =
        RunListScreen({"Title", 1, 30}, "X=60|Y=90|Width=520|Height=360|AlignX=Left|AlignY=Top",
                      {"one", "two", "three"}, Screen == THelpScreen::Players ? kPlayerEnds : kOtherEnds, Extras);
    return Frame < 3 || C.Index != 1 || THelpOverlay::OpenCount() != Opened || Options->Menu->ExitKey != 0;
  }
};

TEST_P(ListScreenKeysTest, EveryKeyOfTheTableActsAndNoOther) {
  Options = std::make_unique<TOptions>();
  const THelpPage& Page = HelpPage(GetParam());
  for (int Key = 1; Key < VX_SDL::kKeyCount; ++Key)
    EXPECT_EQ(Reacts(Key, GetParam()), HelpKeyFor(Page, Key) != nullptr) << Page.Title << ", key " << Key;
}

INSTANTIATE_TEST_SUITE_P(Lists, ListScreenKeysTest,
                         ::testing::Values(THelpScreen::Players, THelpScreen::ErasePlayer, THelpScreen::LevelPacks));

class OptionsKeysTest : public HelpFixture {
 protected:
  // Whether one frame of the options with Key held does anything, from the
  // row Row: moves the cursor, changes a volume, leaves, or opens the help.
  bool Reacts(int Key, const char* Row) {
    // A help that opens is closed again by its first frame's Escape.
    OnFrames([](int F) {
      if (F > 0) Hold({VXKey::Escape});
    });
    const int Opened = THelpOverlay::OpenCount();
    Options->Begin();
    Options->Menu->SelectById(Row);
    const std::string Music = Options->Menu->GetOption("MV"), Effects = Options->Menu->GetOption("SV");
    VX_SDL::ClearKeys();
    VX_SDL::Keys[static_cast<size_t>(Key)] = true;
    const bool Left = !Options->Step();
    const bool Reacted = Left || Options->Menu->SelectedId() != Row || Options->Menu->GetOption("MV") != Music ||
                         Options->Menu->GetOption("SV") != Effects || THelpOverlay::OpenCount() != Opened;
    Options->End();
    return Reacted;
  }
};

TEST_F(HelpTest, EscapeClosingTheHelpDoesNotLeaveTheList) {
  OnFrames([](int F) {
    if (F == 1) Hold({VXKey::Letter('h')});
    else if (F == 3 || F == 6) Hold({VXKey::Escape});
    else VX_SDL::ClearKeys();
  });
  const TListChoice C = RunListScreen({"Title", 1, 30}, "X=60|Y=90|Width=520|Height=360|AlignX=Left|AlignY=Top",
                                      {"one", "two"}, {VXKey::Escape, VXKey::Return}, {THelpScreen::LevelPacks, 1});
  EXPECT_EQ(Frame, 7) << "the Escape that closed the help ended the list";
  EXPECT_EQ(C.Key, VXKey::Escape);
  EXPECT_EQ(C.Index, 1);
}

TEST_F(OptionsKeysTest, EveryKeyOfTheTableActsAndNoOther) {
  Options = std::make_unique<TOptions>();
  Options->Menu->SetOption("MV", "5");
  const THelpPage& Page = HelpPage(THelpScreen::Options);
  for (int Key = 1; Key < VX_SDL::kKeyCount; ++Key) {
    if (Key == VXKey::F12) continue;  // the key that opened them
    const bool Reacted = Reacts(Key, "B") || Reacts(Key, "MV");
    EXPECT_EQ(Reacted, HelpKeyFor(Page, Key) != nullptr) << "key " << Key;
  }
}

TEST_F(HelpTest, TheOptionsOpenTheirOwnHelpAndStayOpenAfterIt) {
  Options = std::make_unique<TOptions>();
  const int Opened = THelpOverlay::OpenCount();
  // H in the options; Escape closes the help, a later Escape the options.
  OnFrames([](int F) {
    if (F == 1) Hold({VXKey::Letter('h')});
    else if (F == 4 || F == 8) Hold({VXKey::Escape});
    else VX_SDL::ClearKeys();
  });
  Options->Run();
  EXPECT_EQ(THelpOverlay::OpenCount(), Opened + 1);
  EXPECT_GE(Frame, 9) << "the Escape that closed the help closed the options as well";
}

}  // namespace
