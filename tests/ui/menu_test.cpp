#include "ui/menu.h"

#include <gtest/gtest.h>

#include "graphics/key_codes.h"
#include "tests/support/log_capture.h"
#include "tests/ui/ui_fixture.h"

namespace {

const std::string kKeys = "KeyUp=Up|KeyDown=Down|KeyLeft=Left|KeyRight=Right|KeySelect=Return|KeyEscape=Escape";
const std::string kPercent = "{0%=0|10%=1|20%=2|30%=3|40%=4|50%=5|60%=6|70%=7|80%=8|90%=9|100%=10}";

class MenuTest : public ui_test::UiTest {
 protected:
  // One frame with the key held.
  void Tap(TMenu& Menu, int Key) {
    Press(Key);
    Menu.Update();
    Release(Key);
  }
  std::vector<std::string> VisibleCaptions(const TMenu& Menu) {
    std::vector<std::string> C;
    for (int32_t I : Menu.Visible) C.push_back(Menu.Lines[static_cast<size_t>(I)].Caption);
    return C;
  }
};

TEST(MenuRows, RowTextsAndTokens) {
  TLineData Header = ParseMenuRow("@OPTIONS");
  EXPECT_EQ(Header.LineKind, kLineHeader);
  EXPECT_EQ(Header.Caption, "OPTIONS");
  TLineData Item = ParseMenuRow("Back=B");
  EXPECT_EQ(Item.LineKind, kLineItem);
  EXPECT_EQ(Item.Caption, "Back");
  EXPECT_EQ(Item.Id, "B");
  EXPECT_EQ(ParseMenuRow("Quit").Id, "Quit");
  TLineData Option = ParseMenuRow("%MV%Music volume: " + kPercent);
  EXPECT_EQ(Option.LineKind, kLineOption);
  EXPECT_EQ(Option.Id, "MV");
  EXPECT_EQ(Option.Caption, "Music volume: ") << "trailing blanks kept";
  ASSERT_EQ(Option.OptionNames.size(), 11u);
  EXPECT_EQ(Option.OptionNames[10], "100%");
  EXPECT_EQ(Option.OptionValues[10], "10");
  EXPECT_EQ(Option.OptionIndex, 0);

  std::string Text = "  ab\"c d\"'e' f  \"g'h\"";
  EXPECT_EQ(TakeMenuToken(Text), "abc de") << "quoted parts join the unquoted ones";
  EXPECT_EQ(Text, "f  \"g'h\" ");
  EXPECT_EQ(TakeMenuToken(Text), "f");
  EXPECT_EQ(TakeMenuToken(Text), "g'h");
  EXPECT_EQ(Text, "");
}

TEST_F(MenuTest, OneValueMayHoldSeveralRowsInOrder) {
  TMenu Menu;
  Menu.Setup("X=0|Y=0|Width=200|Height=144|RowHeight=36|" + kKeys);
  Menu.Setup("ItemExt=\"@OPTIONS\" \"Back=B\" \"%MV%Music volume: " + kPercent + "\"");
  Menu.Draw();
  ASSERT_EQ(Menu.Lines.size(), 3u);
  EXPECT_EQ(Menu.Lines[0].LineKind, kLineHeader);
  EXPECT_EQ(Menu.Lines[1].Id, "B");
  EXPECT_EQ(Menu.Lines[2].OptionNames.size(), 11u);
  EXPECT_EQ(Menu.HeaderCount, 1);
  EXPECT_EQ(Menu.SelectedId(), "B");
  EXPECT_EQ(Menu.VisibleRows, 4);
}

TEST_F(MenuTest, HeadersComeFirstAndCannotBeSelected) {
  TLogCapture Capture;
  TMenu Menu;
  Menu.Setup("RowHeight=20|Height=100|" + kKeys + "|Item=One|Item=@Head|Item=Two=2|Item=@Foot");
  Menu.Draw();
  EXPECT_EQ(VisibleCaptions(Menu), (std::vector<std::string>{"Head", "Foot", "One", "Two"}));
  EXPECT_EQ(Menu.HeaderCount, 2);
  EXPECT_EQ(Menu.SelectedId(), "One");
  Tap(Menu, VXKey::Up);
  EXPECT_EQ(Menu.SelectedId(), "One");
  EXPECT_TRUE(VX_SDL::Keys[VXKey::Up] == false);
  Tap(Menu, VXKey::Down);
  EXPECT_EQ(Menu.SelectedId(), "2");
  EXPECT_TRUE(Capture.Contains("<vcc_Menu, TMenu.FillItems> Parent=-1"));
  EXPECT_TRUE(Capture.Contains("<vcc_Menu, TMenu.FillItems> Item added: 3"));
}

TEST_F(MenuTest, KeysActOncePerPress) {
  TMenu Menu;
  Menu.Setup(kKeys + "|Item=A|Item=B|Item=C");
  Menu.Draw();
  Press(VXKey::Down);
  Menu.Update();
  EXPECT_FALSE(VX_SDL::Keys[VXKey::Down]) << "cleared once it acted";
  Menu.Update();
  EXPECT_EQ(Menu.Selected, 1);
  // At the last row the key stays held and acts as soon as it can.
  Menu.Selected = 2;
  Press(VXKey::Down);
  Menu.Update();
  EXPECT_TRUE(VX_SDL::Keys[VXKey::Down]);
  Press(VXKey::Left);
  Menu.Update();
  EXPECT_TRUE(VX_SDL::Keys[VXKey::Left]) << "not an option row";
}

TEST_F(MenuTest, OptionsStopOrCycleAtTheirEnds) {
  for (bool Cycle : {false, true}) {
    TMenu Menu;
    Menu.Setup(kKeys + "|CycleOptions=" + (Cycle ? "Y" : "N"));
    Menu.Setup("ItemExt=\"%MV%Music {0%=0|50%=5|100%=10}\"");
    Menu.Draw();
    Tap(Menu, VXKey::Left);
    EXPECT_EQ(Menu.GetOption("MV"), Cycle ? "10" : "0");
    Menu.SetOption("MV", "10");
    Tap(Menu, VXKey::Right);
    EXPECT_EQ(Menu.GetOption("MV"), Cycle ? "0" : "10");
    Menu.SetOption("MV", "5");
    Tap(Menu, VXKey::Right);
    EXPECT_EQ(Menu.GetOption("MV"), "10");
    Menu.SetOption("MV", "7");
    EXPECT_EQ(Menu.GetOption("MV"), "10") << "an unknown value changes nothing";
    Menu.SetOption("XX", "0");
    EXPECT_EQ(Menu.GetOption("XX"), "");
    EXPECT_FALSE(Menu.Finished);
  }
}

TEST_F(MenuTest, SubmenusOpenAndEscapeReturnsToTheirOpener) {
  TLogCapture Capture;
  TMenu Menu;
  Menu.Setup(kKeys + "|Item=Play=P");
  Menu.Setup("ItemExt=Sound=S > @SOUND 'Music=M' > Deeper=D < Loud=L < Quit=Q");
  Menu.Draw();
  EXPECT_EQ(VisibleCaptions(Menu), (std::vector<std::string>{"Play", "Sound", "Quit"}));
  EXPECT_TRUE(Menu.Lines[1].HasChildren);
  Tap(Menu, VXKey::Down);
  Tap(Menu, VXKey::Return);
  EXPECT_FALSE(Menu.Finished);
  EXPECT_EQ(VisibleCaptions(Menu), (std::vector<std::string>{"SOUND", "Music", "Loud"}));
  EXPECT_EQ(Menu.SelectedId(), "M");
  Tap(Menu, VXKey::Return);
  EXPECT_EQ(VisibleCaptions(Menu), (std::vector<std::string>{"Deeper"}));
  Tap(Menu, VXKey::Escape);
  EXPECT_EQ(Menu.SelectedId(), "M") << "the opener is selected again";
  Tap(Menu, VXKey::Escape);
  EXPECT_EQ(Menu.SelectedId(), "S");
  EXPECT_FALSE(Menu.Finished);
  Tap(Menu, VXKey::Escape);
  EXPECT_TRUE(Menu.Finished);
  EXPECT_EQ(Menu.ExitKey, VXKey::Escape);
  Tap(Menu, VXKey::Down);
  EXPECT_EQ(Menu.SelectedId(), "S") << "a finished menu ignores keys";
  EXPECT_TRUE(Capture.Contains("Parent=1"));

  Menu.SelectById("D");
  EXPECT_EQ(VisibleCaptions(Menu), (std::vector<std::string>{"Deeper"}));
  EXPECT_EQ(Menu.SelectedId(), "D");
}

TEST_F(MenuTest, ChoosingAnItemFinishesWithTheSelectKey) {
  TMenu Menu;
  Menu.Setup(kKeys + "|Item=A|Item=B");
  Tap(Menu, VXKey::Return);
  EXPECT_TRUE(Menu.Finished);
  EXPECT_EQ(Menu.ExitKey, VXKey::Return);
  EXPECT_EQ(Menu.SelectedId(), "A");
  EXPECT_FALSE(VX_SDL::Keys[VXKey::Return]);
}

TEST_F(MenuTest, LoneCloseIsIgnored) {
  TLogCapture Capture;
  TMenu Menu;
  Menu.Setup("ItemExt=< A < B");
  Menu.Draw();
  EXPECT_EQ(VisibleCaptions(Menu), (std::vector<std::string>{"A", "B"}));
  EXPECT_FALSE(Capture.Contains("Stack underflow!"));
}

TEST_F(MenuTest, RowsDrawWithTheirFontsAndBackgrounds) {
  TMenu Menu;
  Menu.Setup(
      "X=320|Y=100|Width=200|Height=90|AlignX=center|RowHeight=30|Font1=0|Font2=5|Font3=3|TextAlign=Center|"
      "SelectedBackground=000080|HeaderBackground=400000|" +
      kKeys);
  Menu.Setup("ItemExt=\"@OPTIONS\" \"Back=B\" \"%MV%Music {0%=0|100%=10}\"");
  Menu.Draw();
  EXPECT_EQ(Menu.Left, 220);
  EXPECT_EQ(Menu.TextX, 320);
  EXPECT_EQ(Menu.TextOffsetY, 10);
  auto Row = [&](int R, uint32_t Raw) { return CountPixels(220, 100 + 30 * R, 419, 129 + 30 * R, Raw); };
  EXPECT_GT(Row(0, ui_test::FontColor(3).Raw()), 0);
  EXPECT_EQ(Pixel(220, 100), Rgb(0x40, 0, 0));
  EXPECT_GT(Row(1, ui_test::FontColor(5).Raw()), 0);
  EXPECT_EQ(Pixel(419, 159), Rgb(0, 0, 0x80));
  EXPECT_GT(Row(2, ui_test::FontColor(0).Raw()), 0);
  EXPECT_EQ(Pixel(220, 160), 0u) << "no normal background set";
  // The option's text is its caption and its current name.
  const auto [L, R] = Columns(220, 160, 419, 189, ui_test::FontColor(0).Raw());
  TFont* F = Menu.Font1;
  EXPECT_EQ(R - L + 1, F->TextWidth("Music 0%"));
  Menu.SetOption("MV", "10");
  ClearBack();
  Menu.Draw();
  const auto [L2, R2] = Columns(220, 160, 419, 189, ui_test::FontColor(0).Raw());
  EXPECT_EQ(R2 - L2 + 1, F->TextWidth("Music 100%"));
}

TEST_F(MenuTest, ResetForgetsRowsAndSettings) {
  TMenu Menu;
  Menu.Setup("Item=A|RowHeight=10");
  Menu.Draw();
  Menu.Reset();
  EXPECT_TRUE(Menu.Lines.empty());
  EXPECT_FALSE(Menu.HasKey("Item"));
  EXPECT_TRUE(Menu.SetupPending);
  Menu.Draw();
  EXPECT_EQ(Menu.SelectedId(), "");
  Tap(Menu, VXKey::Escape);
  EXPECT_FALSE(Menu.Finished) << "no keys set";
}

}  // namespace
