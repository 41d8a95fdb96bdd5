#include "ui/list_box.h"

#include <gtest/gtest.h>

#include "graphics/image.h"
#include "graphics/key_codes.h"
#include "graphics/surface.h"
#include "tests/support/log_capture.h"
#include "tests/ui/ui_fixture.h"
#include "ui/sq_list_box.h"

namespace {

class ListBoxTest : public ui_test::UiTest {
 protected:
  // A box of ten items at (100, 50), 200 by 80, four rows of 20.
  void MakeTen(TListBox& Box, const std::string& Extra = "") {
    Box.Setup("X=100|Y=50|Width=200|Height=80|RowHeight=20|Font=0|KeyUp=Up|KeyDown=SDLK_DOWN" + Extra);
    for (int I = 0; I < 10; ++I) Box.Items.push_back("Item " + std::to_string(I));
    Box.Draw();
  }
  // The arrow as rows of '#' (bar colour) and '.'.
  static std::vector<std::string> Picture(const TImage& Arrow, uint32_t Ink) {
    std::vector<std::string> Rows;
    TSurfaceLock Lock(Arrow.Surface());
    for (int Y = 0; Y < Arrow.Height(); ++Y) {
      std::string Row;
      for (int X = 0; X < Arrow.Width(); ++X) Row += (Arrow.Pixel(X, Y) & 0xFFFFFF) == Ink ? '#' : '.';
      Rows.push_back(Row);
    }
    return Rows;
  }
};

TEST_F(ListBoxTest, SettingsAndDefaults) {
  TListBox Box;
  Box.Setup(
      "X=320|Y=240|Width=300|Height=100|AlignX=Center|AlignY=bottom|RowHeight=24|Font=2|TextAlign=Right|"
      "TextOffsetY=3|KeyUp=Up|KeyDown=Down|KeySelect=Return|KeyEscape=Escape|Background=102030");
  Box.SetItemIndex(0);
  EXPECT_EQ(Box.Left, 170);
  EXPECT_EQ(Box.Right, 469);
  EXPECT_EQ(Box.Top, 140);
  EXPECT_EQ(Box.Bottom, 239);
  EXPECT_EQ(Box.TextX, 469);
  EXPECT_EQ(Box.TextAlign, 2);
  EXPECT_EQ(Box.VisibleRows, 4);
  EXPECT_EQ(Box.TextOffsetY, 3 + (24 - 10) / 2);
  EXPECT_EQ(Box.KeyUp.Key, VXKey::Up);
  EXPECT_EQ(Box.KeyDown.Alternative, VXKey::Down);
  EXPECT_EQ(Box.KeySelect.Key, VXKey::Return);
  EXPECT_EQ(Box.KeyEscape.Key, VXKey::Escape);
  EXPECT_EQ(Box.Background, (TColor3{0x10, 0x20, 0x30}));
  EXPECT_EQ(Box.Background2, Box.Background) << "the second row colour follows the first";
  EXPECT_EQ(Box.Cursor1, (TColor3{40, 0, 0}));
  EXPECT_EQ(Box.Cursor2, (TColor3{80, 40, 0}));
  EXPECT_EQ(Box.SBWidth, 0);
}

TEST_F(ListBoxTest, HeldKeyMovesAtOnceThenAfterFifteenFramesThenEveryThird) {
  TListBox Box;
  MakeTen(Box);
  Press(VXKey::Down);
  std::vector<int> MovedAt;
  for (int Frame = 1; Frame <= 60; ++Frame) {
    const int Before = Box.ItemIndex;
    Box.Update();
    if (Box.ItemIndex != Before) MovedAt.push_back(Frame);
    EXPECT_EQ(Box.TopIndex, std::max(0, Box.ItemIndex - 3)) << "the cursor stays on the last visible row";
  }
  EXPECT_EQ(MovedAt, (std::vector<int>{1, 17, 20, 23, 26, 29, 32, 35, 38}));
  EXPECT_EQ(Box.ItemIndex, 9);
  EXPECT_EQ(Box.TopIndex, 6);
  EXPECT_EQ(Box.RepeatDelay, TListBox::kIdle) << "at the end the delay runs out and the box idles";

  // A released key waits out the running delay before a new press counts.
  Release(VXKey::Down);
  Press(VXKey::Up);
  Box.Update();
  EXPECT_EQ(Box.ItemIndex, 8);
  EXPECT_EQ(Box.TopIndex, 6);
  Release(VXKey::Up);
  Box.Update();
  Press(VXKey::Up);
  for (int I = 0; I < 14; ++I) Box.Update();
  EXPECT_EQ(Box.ItemIndex, 8);
  Box.Update();
  EXPECT_EQ(Box.ItemIndex, 7);
  for (int I = 0; I < 21; ++I) Box.Update();
  EXPECT_EQ(Box.ItemIndex, 0);
  EXPECT_EQ(Box.TopIndex, 0);
}

TEST_F(ListBoxTest, UpAndDownInOneFrameCancelAndStartTheRepeat) {
  TListBox Box;
  MakeTen(Box);
  Box.SetItemIndex(3);
  Press(VXKey::Up);
  Press(VXKey::Down);
  Box.Update();
  EXPECT_EQ(Box.ItemIndex, 3);
  EXPECT_EQ(Box.RepeatDelay, TListBox::kNextRepeat) << "the second move counts as a repeat";
}

TEST_F(ListBoxTest, SetItemIndexScrollsTheCursorIntoView) {
  TListBox Box;
  MakeTen(Box);
  Box.SetItemIndex(7);
  EXPECT_EQ(Box.TopIndex, 4);
  Box.SetItemIndex(3);
  EXPECT_EQ(Box.TopIndex, 0);
}

TEST_F(ListBoxTest, CursorPulsesBetweenItsTwoColours) {
  TListBox Box;
  MakeTen(Box);
  for (auto [Phase, Color] : {std::pair{0, TColor3{40, 0, 0}}, {16, TColor3{60, 20, 0}}, {32, TColor3{80, 40, 0}}}) {
    Box.Phase = Phase;
    EXPECT_EQ(Box.CursorColor(), Color) << Phase;
  }
  Box.Phase = 0;
  std::vector<int32_t> Phases;
  for (int I = 0; I < 64; ++I) {
    Phases.push_back(Box.Phase);
    Box.Update();
  }
  EXPECT_EQ(Phases[32], 32);
  EXPECT_EQ(Phases[33], 31);
  EXPECT_EQ(Box.Phase, 0) << "a whole period is 64 frames";
  EXPECT_EQ(Box.PhaseDir, 1);
  // The mix rounds toward zero, also on the way down.
  Box.Setup("Cursor1=FF0000|Cursor2=000000");
  Box.Draw();
  Box.Phase = 1;
  EXPECT_EQ(Box.CursorColor(), (TColor3{248, 0, 0}));
  Box.Phase = 16;
  ClearBack();
  Box.Draw();
  EXPECT_EQ(Pixel(100, 50), Rgb(128, 0, 0));
}

TEST_F(ListBoxTest, RowsShadeAlternatelyAroundTheCursor) {
  TListBox Box;
  MakeTen(Box, "|Background=000010|Background2=000020");
  Box.SetItemIndex(5);
  ClearBack();
  Box.Draw();
  // Rows show items 2 to 5: even items plain, odd ones shaded, item 5 the cursor.
  EXPECT_EQ(Pixel(299, 50), Rgb(0, 0, 0x10));
  EXPECT_EQ(Pixel(299, 70), Rgb(0, 0, 0x20));
  EXPECT_EQ(Pixel(299, 90), Rgb(0, 0, 0x10));
  EXPECT_EQ(Pixel(299, 110), Rgb(40, 0, 0));
  EXPECT_EQ(Pixel(299, 129), Rgb(40, 0, 0));
  EXPECT_EQ(Pixel(300, 129), 0u);
  EXPECT_GT(CountPixels(100, 55, 299, 64, ui_test::FontColor(0).Raw()), 0);

  TListBox Empty;
  Empty.Setup("X=0|Y=0|Width=50|Height=40|RowHeight=20|Background2=FFFFFF");
  ClearBack();
  Empty.Draw();
  EXPECT_EQ(CountPixels(0, 0, 49, 39, 0), 50 * 40) << "an empty list shows only its background";
}

TEST_F(ListBoxTest, RowHeightZeroShowsNoRows) {
  TListBox Box;
  Box.Setup("X=0|Y=0|Width=50|Height=40|Background=FFFFFF");
  Box.Items = {"a", "b"};
  Box.Draw();
  EXPECT_EQ(Box.VisibleRows, 0);
  EXPECT_EQ(CountPixels(0, 0, 49, 39, Rgb(255, 255, 255)), 50 * 40);
  Press(VXKey::Down);
  Box.Setup("KeyDown=Down");
  Box.Draw();
  Box.Update();
  EXPECT_EQ(Box.ItemIndex, 1);
}

TEST_F(ListBoxTest, ScrollBarWidthIsChecked) {
  TLogCapture Capture;
  TListBox Narrow, Short, Thin;
  Narrow.Setup("X=0|Y=0|Width=100|Height=100|RowHeight=10|ScrollBar=3");
  Narrow.Draw();
  EXPECT_EQ(Narrow.SBWidth, 0);
  EXPECT_EQ(Narrow.UpArrow, nullptr);
  Short.Setup("X=0|Y=0|Width=100|Height=32|RowHeight=10|ScrollBar=6");
  Short.Draw();
  EXPECT_EQ(Short.SBWidth, 0) << "a box lower than 33 pixels";
  Thin.Setup("X=0|Y=0|Width=6|Height=100|RowHeight=10|ScrollBar=6");
  Thin.Draw();
  EXPECT_EQ(Thin.SBWidth, 0) << "no room left for the rows";
  EXPECT_NE(Capture.Text().find("< Trace > 0\r\n< Trace > 0\r\n< Trace > 0\r\n"), std::string::npos);
  EXPECT_NE(Capture.Text().find("< Trace > 6\r\n< Trace > 0\r\n< Trace > 0\r\n"), std::string::npos);
  EXPECT_NE(Capture.Text().find("< Trace > 6\r\n< Trace > 6\r\n< Trace > 0\r\n"), std::string::npos);
}

TEST_F(ListBoxTest, ScrollBarArrowsFollowTheirColumnTables) {
  const uint32_t Ink = Rgb(255, 255, 255);
  auto Arrows = [&](int Width) {
    TListBox Box;
    Box.Setup("X=0|Y=0|Width=100|Height=100|RowHeight=10|ScrollBar=" + std::to_string(Width));
    Box.Draw();
    EXPECT_EQ(Box.SBWidth, Width);
    return std::pair{Picture(*Box.UpArrow, Ink), Picture(*Box.DownArrow, Ink)};
  };
  auto [Up4, Down4] = Arrows(4);
  EXPECT_EQ(Up4, (std::vector<std::string>{"....", "..#.", "..#.", "..#.", ".##.", ".##.", ".##.", ".#.."}));
  EXPECT_EQ(Down4, (std::vector<std::string>{"....", ".##.", ".##.", ".##.", "..#.", "..#.", "..#.", "...."}));
  auto [Up8, Down8] = Arrows(8);
  EXPECT_EQ(Up8, (std::vector<std::string>{"........", "...##...", "...##...", "..####..", "..####..", ".######.",
                                           ".######.", ".##..##."}));
  EXPECT_EQ(Down8, (std::vector<std::string>{"........", ".######.", ".######.", "..####..", "..####..", "...##...",
                                             "...##...", "........"}));
  // Widths 5 to 7 by the lit pixels of each down-arrow column.
  auto ColumnHeights = [](const std::vector<std::string>& Rows) {
    std::vector<int> H(Rows[0].size(), 0);
    for (const auto& R : Rows)
      for (size_t X = 0; X < R.size(); ++X) H[X] += R[X] == '#';
    return H;
  };
  EXPECT_EQ(ColumnHeights(Arrows(5).second), (std::vector<int>{0, 3, 6, 3, 0}));
  EXPECT_EQ(ColumnHeights(Arrows(6).second), (std::vector<int>{0, 2, 4, 6, 3, 0}));
  EXPECT_EQ(ColumnHeights(Arrows(7).second), (std::vector<int>{0, 2, 4, 6, 4, 2, 0}));
  EXPECT_EQ(ColumnHeights(Arrows(10).second), (std::vector<int>{0, 0, 2, 4, 6, 6, 4, 2, 0, 0}));
}

TEST_F(ListBoxTest, ScrollBarTrackAndThumb) {
  TListBox Box;
  MakeTen(Box, "|ScrollBar=8|SBColor1=C0C0C0|SBColor2=000080|Background=202020");
  const uint32_t Track = Rgb(0xC0, 0xC0, 0xC0), Thumb = Rgb(0, 0, 0x80);
  // Bar from x 292 to 299 beside rows that end at 291; box y 50 to 129.
  EXPECT_EQ(Pixel(291, 60), Rgb(40, 0, 0));
  EXPECT_EQ(Pixel(292, 58), Track);
  EXPECT_EQ(Pixel(292, 121), Track);
  EXPECT_EQ(Columns(292, 59, 299, 66, Thumb), std::make_pair(293, 298));
  EXPECT_EQ(CountPixels(293, 59, 298, 66, Thumb), 6 * 8) << "thumb at the top for the first item";
  Box.SetItemIndex(9);
  Box.Draw();
  // Top + 9 + 9 * (Bottom - 26 - Top) / 9 = 50 + 9 + 53.
  EXPECT_EQ(CountPixels(293, 112, 298, 119, Thumb), 6 * 8);
  EXPECT_EQ(Pixel(293, 111), Track);
  EXPECT_EQ(Pixel(293, 120), Track);
}

TEST_F(ListBoxTest, GameVariantSwitchesFontsInsideItems) {
  TSQListBox Box;
  Box.Setup("X=100|Y=50|Width=200|Height=80|RowHeight=20|Font=0|ScrollBar=8|Background=000010");
  Box.Items = {"ab", std::string("\x01") + "cd", "ef"};
  Box.Draw();
  EXPECT_EQ(Pixel(299, 60), Rgb(40, 0, 0)) << "the cursor row runs the full width, no scroll bar";
  EXPECT_EQ(Pixel(299, 80), Rgb(0, 0, 0x10)) << "no shading of odd rows";
  EXPECT_GT(CountPixels(100, 50, 299, 69, ui_test::FontColor(0).Raw()), 0);
  EXPECT_EQ(CountPixels(100, 70, 299, 89, ui_test::FontColor(0).Raw()), 0);
  EXPECT_GT(CountPixels(100, 70, 299, 89, ui_test::FontColor(1).Raw()), 0);
  EXPECT_GT(CountPixels(100, 90, 299, 109, ui_test::FontColor(0).Raw()), 0) << "each item starts in font 0";
}

}  // namespace
