// sqtool text: a font preview that matches the font's glyphs pixel for pixel.
#include <gtest/gtest.h>

#include "tests/support/sqtool_runner.h"
#include "tests/support/test_support.h"

namespace {
// A 16x12 greyscale page: "a" lit at (0..4, 0..9), "b" at (5..10, 2..11).
std::vector<uint8_t> Page() {
  std::vector<uint8_t> T = {32, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 16, 0, 12, 0, 8, 0x20};
  std::vector<uint8_t> Presence(32, 0);
  Presence['a' / 8] |= 0x80 >> ('a' % 8);
  Presence['b' / 8] |= 0x80 >> ('b' % 8);
  T.insert(T.end(), Presence.begin(), Presence.end());
  for (int Y = 0; Y < 12; ++Y)
    for (int X = 0; X < 16; ++X) T.push_back((X <= 4 && Y <= 9) || (X >= 5 && X <= 10 && Y >= 2) ? 255 : 0);
  for (int V : {0, 0, 4, 9, 5, 2, 10, 11}) {
    T.push_back(static_cast<uint8_t>(V));
    T.push_back(0);
  }
  return T;
}
}  // namespace

TEST(TextTool, DrawsTheGlyphsOfTheFontsInTheSection) {
  TTempDir Dir;
  WriteFileBytes(Dir.File("page.tga"), Page());
  WriteFileText(Dir.File("fonts.ini"), "[*F]\r\nW\r\nR\r\n[W]\r\nFile=" + Dir.File("page.tga") +
                                           "\r\nType=TGA\r\nColor=FFFFFF\r\n[R]\r\nFile=" + Dir.File("page.tga") +
                                           "\r\nType=TGA\r\nColor=FF0000\r\nSize=2\r\n");
  std::string Out;
  ASSERT_EQ(TSqtool().RunJoined("text " + Dir.File("fonts.ini") + " F 'ab\\1a' " + Dir.File("o.ppm"), &Out), 0) << Out;
  const auto P = ReadFileBytes(Dir.File("o.ppm"));
  const std::string Header = "P6\n23 24\n255\n";  // 5+1+6+1 at size 1, then 10 at size 2; 24 high
  ASSERT_GE(P.size(), Header.size() + 23 * 24 * 3);
  ASSERT_EQ(std::string(P.begin(), P.begin() + static_cast<long>(Header.size())), Header);
  auto Px = [&](int X, int Y) { return &P[Header.size() + static_cast<size_t>(Y * 23 + X) * 3]; };
  for (int Y = 0; Y < 24; ++Y)
    for (int X = 0; X < 23; ++X) {
      const bool White = (X <= 4 && Y <= 9) || (X >= 6 && X <= 11 && Y >= 2 && Y <= 11);
      const bool Red = X >= 13 && X <= 22 && Y <= 19;
      const uint8_t* C = Px(X, Y);
      ASSERT_EQ(C[0], White || Red ? 255 : 0) << X << "," << Y;
      ASSERT_EQ(C[1], White ? 255 : 0) << X << "," << Y;
    }
}

TEST(TextTool, FailsWithoutFonts) {
  TTempDir Dir;
  WriteFileText(Dir.File("e.ini"), "[*F]\r\n");
  std::string Out;
  EXPECT_EQ(TSqtool().RunJoined("text " + Dir.File("e.ini") + " F x " + Dir.File("o.ppm"), &Out), 1);
  EXPECT_NE(Out.find("no font loaded"), std::string::npos);
}
