#include "ui/edit_box.h"

#include <gtest/gtest.h>

#include "graphics/font.h"
#include "graphics/key_codes.h"
#include "tests/support/log_capture.h"
#include "tests/ui/ui_fixture.h"

namespace {

class EditBoxTest : public ui_test::UiTest {
 protected:
  // Updates until the typed characters are used up.
  void Feed(TEditBox& Box, int Frames) {
    for (int I = 0; I < Frames; ++I) Box.Update();
  }
  const uint32_t Ink = ui_test::FontColor(0).Raw();
};

TEST_F(EditBoxTest, SettingsPlaceTheBoxAndTheText) {
  TLogCapture Capture;
  TEditBox Box;
  Box.Setup(
      "X=320|Y=100|Width=200|Height=30|AlignX=center|AlignY=center|Font=0|TextAlign=center|"
      "TextOffsetY=2|Background=102030|MaxLength=16");
  EXPECT_TRUE(Box.SetupPending);
  Box.Draw();
  EXPECT_FALSE(Box.SetupPending);
  EXPECT_EQ(Box.BoxLeft, 220);
  EXPECT_EQ(Box.BoxRight, 419);
  EXPECT_EQ(Box.BoxTop, 85);
  EXPECT_EQ(Box.BoxBottom, 114);
  EXPECT_EQ(Box.TextX, 320);
  EXPECT_EQ(Box.TextY, 85 + 2 + (30 - 10) / 2);
  EXPECT_EQ(Box.TextAlign, 1);
  EXPECT_EQ(Box.MaxLength, 16);
  EXPECT_EQ(Box.CursorChar, '_') << "absent key";
  EXPECT_EQ(Box.CursorBlinkRate, 60);
  EXPECT_EQ(Pixel(220, 85), Rgb(0x10, 0x20, 0x30));
  EXPECT_EQ(Pixel(419, 114), Rgb(0x10, 0x20, 0x30));
  EXPECT_EQ(Pixel(420, 114), 0u);
  EXPECT_TRUE(Capture.Contains("< Trace > *** \r\n")) << "Transparent absent";
  EXPECT_FALSE(Capture.Contains("++Transparent++"));

  // Right and bottom anchors; a transparent box leaves the screen behind.
  ClearBack();
  Box.Setup("AlignX=Right|AlignY=Bottom|TextAlign=right|Transparent=Y");
  Box.Draw();
  EXPECT_EQ(Box.BoxLeft, 120);
  EXPECT_EQ(Box.BoxTop, 70);
  EXPECT_EQ(Box.TextX, 319);
  EXPECT_EQ(CountPixels(120, 70, 319, 99, Rgb(0x10, 0x20, 0x30)), 0);
  EXPECT_TRUE(Capture.Contains("< Trace > *** Y"));
  EXPECT_TRUE(Capture.Contains("< Trace > ++Transparent++"));
}

TEST_F(EditBoxTest, TypingRespectsTheLimitBackspaceAndControlCharacters) {
  TEditBox Box;
  Box.Setup("Width=100|Height=20|MaxLength=3|TextCase=Normal");
  Type("ab\tcd");
  Feed(Box, 6);
  EXPECT_EQ(Box.Text, "abc") << "Tab ignored, the fourth letter refused";
  PushKey(VXKey::Backspace, true);
  Type("e");
  Feed(Box, 3);
  EXPECT_EQ(Box.Text, "abe");
  EXPECT_FALSE(Box.Done);
  PushKey(VXKey::Escape, true);
  Box.Update();
  EXPECT_TRUE(Box.Done);
  EXPECT_EQ(Box.Text, "abe") << "the caller decides to drop the text";

  TEditBox Empty;
  Empty.Setup("MaxLength=5");
  PushKey(VXKey::Backspace, true);
  PushKey(VXKey::Return, true);
  Feed(Empty, 2);
  EXPECT_EQ(Empty.Text, "");
  EXPECT_TRUE(Empty.Done);
}

TEST_F(EditBoxTest, LetterCaseRules) {
  TEditBox Upper, Lower;
  Upper.Setup("MaxLength=10|TextCase=upper");
  Lower.Setup("MaxLength=10|TextCase=Lower");
  Type("a1");
  Feed(Upper, 2);
  Type("a", true);
  Type("1", true);
  Feed(Lower, 2);
  EXPECT_EQ(Upper.Text, "A1");
  EXPECT_EQ(Lower.Text, "a1") << "Shift+a types A, stored in lower case";
}

// A name takes what the keyboard types: Shift and the layout make the
// character, not the key's own symbol.
TEST_F(EditBoxTest, TypingStoresTheCharactersTheKeyboardMade) {
  TEditBox Name;
  Name.Setup("MaxLength=20");
  TypeAsKeyboard("Ada_s Test! $5");
  Feed(Name, 14);
  EXPECT_EQ(Name.Text, "Ada_s Test! $5");

  std::string Printable;
  for (char C = ' '; C <= '~'; ++C) Printable += C;
  TEditBox All;
  All.Setup("MaxLength=100");
  // SDL's queue holds fewer events than that: typed as the box takes them.
  for (char C : Printable) {
    TypeAsKeyboard(std::string(1, C));
    All.Update();
  }
  EXPECT_EQ(All.Text, Printable);
}

TEST_F(EditBoxTest, CursorFollowsTheShownTextInEachAlignment) {
  // Test-font widths: a 4, b 5, * 5, _ 6, one pixel between letters.
  TEditBox Box;
  Box.Setup("X=100|Y=50|Width=200|Height=20|Font=0|MaxLength=10|Transparent");
  Box.ShowCursor = true;
  Box.Text = "ab";
  Box.Draw();
  EXPECT_EQ(Columns(0, 0, 639, 479, Ink), std::make_pair(100, 100 + 10 + 5));
  Box.Setup("PasswordChar=*");
  ClearBack();
  Box.Draw();
  EXPECT_EQ(Columns(0, 0, 639, 479, Ink), std::make_pair(100, 100 + 11 + 5)) << "one star per letter";
  EXPECT_EQ(CountPixels(100, 0, 104, 479, Ink), 5 * 10);

  Box.Setup("TextAlign=Center");
  ClearBack();
  Box.Draw();
  EXPECT_EQ(Box.TextX, 200);
  EXPECT_EQ(Columns(0, 0, 639, 479, Ink), std::make_pair(200 - 5, 200 + 5 + 5)) << "cursor at half the width";
  Box.Setup("TextAlign=Right");
  ClearBack();
  Box.Draw();
  EXPECT_EQ(Box.TextX, 299);
  EXPECT_EQ(Columns(0, 0, 639, 479, Ink), std::make_pair(299 - 11, 299 + 5)) << "cursor at the anchor";
}

TEST_F(EditBoxTest, CursorBlinksForHalfThePeriod) {
  TEditBox Box;
  Box.Setup("X=10|Y=10|Width=100|Height=20|Font=0|Transparent|CursorBlinkRate=30|CursorChar=#");
  Box.ShowCursor = true;
  std::string Pattern;
  for (int Frame = 0; Frame < 60; ++Frame) {
    ClearBack();
    Box.Draw();
    Pattern += CountPixels(0, 0, 200, 60, Ink) > 0 ? '#' : '.';
  }
  const std::string Period = std::string(15, '#') + std::string(15, '.');
  EXPECT_EQ(Pattern, Period + Period);
  Box.ShowCursor = false;
  ClearBack();
  Box.Draw();
  EXPECT_EQ(CountPixels(0, 0, 200, 60, Ink), 0);
}

TEST_F(EditBoxTest, UnknownFontDrawsOnlyTheBox) {
  TEditBox Box;
  Box.Setup("X=10|Y=10|Width=50|Height=20|Font=40|Background=FFFFFF|MaxLength=4");
  Box.ShowCursor = true;
  Box.Text = "ab";
  Box.Draw();
  EXPECT_EQ(Box.Font, nullptr);
  EXPECT_EQ(Box.TextY, 10 + 10);
  EXPECT_EQ(CountPixels(0, 0, 100, 100, Rgb(255, 255, 255)), 50 * 20);
}

TEST_F(EditBoxTest, RunEndsOnReturn) {
  TEditBox Box;
  Box.Setup("Width=50|Height=20|Font=1|MaxLength=8");
  Type("hi");
  PushKey(VXKey::Return, true);
  Box.Run();
  EXPECT_TRUE(Box.Done);
  EXPECT_EQ(Box.Text, "hi") << "characters typed before Run are kept in SDL's queue, not the buffer";
}

}  // namespace
