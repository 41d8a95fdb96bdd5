#include "graphics/font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "config/ini_file.h"
#include "graphics/font_collection.h"
#include "graphics/surface.h"
#include "shell/logger.h"
#include "shell/memory_stream.h"
#include "shell/parameters.h"
#include "storage/stream_opener.h"
#include "tests/support/scope_guard.h"
#include "tests/support/test_support.h"

namespace {

struct TTestGlyph {
  uint8_t Code;
  int Left, Top, Right, Bottom;
};

// An 8-bit greyscale TGA page, fully lit inside each glyph, with its glyph
// table in the image ID field and after the pixels.
std::vector<uint8_t> GlyphTga(int W, int H, const std::vector<TTestGlyph>& Glyphs) {
  std::vector<uint8_t> T = {32,
                            0,
                            3,
                            0,
                            0,
                            0,
                            0,
                            0,
                            0,
                            0,
                            0,
                            0,
                            static_cast<uint8_t>(W),
                            static_cast<uint8_t>(W >> 8),
                            static_cast<uint8_t>(H),
                            static_cast<uint8_t>(H >> 8),
                            8,
                            0x20};
  std::vector<uint8_t> Presence(32, 0);
  for (const auto& G : Glyphs) Presence[G.Code / 8] |= static_cast<uint8_t>(0x80 >> (G.Code % 8));
  T.insert(T.end(), Presence.begin(), Presence.end());
  std::vector<uint8_t> Page(static_cast<size_t>(W * H), 0);
  for (const auto& G : Glyphs)
    for (int Y = G.Top; Y <= std::min(G.Bottom, H - 1); ++Y)
      for (int X = G.Left; X <= std::min(G.Right, W - 1); ++X) Page[static_cast<size_t>(Y * W + X)] = 255;
  T.insert(T.end(), Page.begin(), Page.end());
  auto Sorted = Glyphs;
  std::sort(Sorted.begin(), Sorted.end(), [](auto& A, auto& B) { return A.Code < B.Code; });
  for (const auto& G : Sorted)
    for (int V : {G.Left, G.Top, G.Right, G.Bottom}) {
      T.push_back(static_cast<uint8_t>(V));
      T.push_back(static_cast<uint8_t>(V >> 8));
    }
  return T;
}

// A VXR font: W wide, H high, every glyph blank except those given (one
// byte per row, W <= 8).
std::vector<uint8_t> Vxr(uint8_t Flags, uint8_t W, uint8_t H, const std::map<int, std::vector<uint8_t>>& Ink) {
  std::vector<uint8_t> V = {'V', 'X', 'A', 'R', Flags, W, H};
  for (int C = 0; C < 256; ++C) {
    auto It = Ink.find(C);
    for (int R = 0; R < H; ++R) V.push_back(It != Ink.end() ? It->second[static_cast<size_t>(R)] : 0);
  }
  return V;
}

// Lit columns and rows of an image.
struct TInk {
  int Left = 1 << 30, Right = -1, Top = 1 << 30, Bottom = -1;
};
TInk InkOf(const TImage& Image) {
  TInk I;
  for (int Y = 0; Y < Image.Height(); ++Y)
    for (int X = 0; X < Image.Width(); ++X) {
      uint8_t R, G, B;
      Image.PixelRGB(X, Y, R, G, B);
      if (R || G || B) {
        I.Left = std::min(I.Left, X);
        I.Right = std::max(I.Right, X);
        I.Top = std::min(I.Top, Y);
        I.Bottom = std::max(I.Bottom, Y);
      }
    }
  return I;
}

class FontTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartLogger();
    StartStreamOpener();
    // "a" is 5 wide, "b" 6 wide and starts 2 rows down.
    WriteFileBytes(Dir.File("page.tga"), GlyphTga(16, 12, {{'a', 0, 0, 4, 9}, {'b', 5, 2, 10, 11}}));
  }
  void TearDown() override {
    StopStreamOpener();
    StopLogger();
  }
  std::string LogText() { return ReadFileText(Dir.File("f.log")); }
  TTempDir Dir;
  TRestore<std::unique_ptr<TParameters>> Params{
      Parameters,
      std::make_unique<TParameters>(Dir.File("sq"), std::vector<std::string>{"-mainlog", Dir.File("f.log")})};
};

}  // namespace

TEST_F(FontTest, WidthsFollowLetterAndSpaceSpacingAndSize) {
  TTGAFont F(Dir.File("page.tga"));
  ASSERT_EQ(F.Glyphs['b'].Width, 6);
  EXPECT_EQ(F.Glyphs['b'].Y, 2);
  EXPECT_EQ(F.TextWidth("ab"), 12);
  EXPECT_EQ(F.TextWidth("a b"), 22);
  EXPECT_EQ(F.TextWidth(""), -1);
  EXPECT_EQ(F.TextWidth("a#b"), 13) << "a missing glyph still advances by the letter space";
  F.SetSize(2);
  EXPECT_EQ(F.TextWidth("ab"), 24);
  EXPECT_EQ(F.Height, 24);
  EXPECT_EQ(F.SizedGlyphs['b'].Y, 4);
}

TEST_F(FontTest, DrawingHonoursAlignmentAndGlyphOffsets) {
  TTGAFont F(Dir.File("page.tga"));
  F.SetColor(255, 255, 255);
  F.SpaceSpace = 10;
  // "a b" is 22 wide: centred on 100 it starts at 89, right-aligned on 100 at 78.
  for (auto [Align, Start] : {std::pair{kAlignLeft, 100}, {kAlignCenter, 89}, {kAlignRight, 78}}) {
    TImage Target(200, 30);
    F.DrawTextOn(Target, "a b", 100, 5, Align);
    const TInk I = InkOf(Target);
    EXPECT_EQ(I.Left, Start) << "align " << Align;
    EXPECT_EQ(I.Right, Start + 21);
    EXPECT_EQ(I.Top, 5);
    EXPECT_EQ(I.Bottom, 5 + 11) << "b sits two rows lower than a";
  }
}

TEST_F(FontTest, ColourAndSizeChangesRebuildThePageOrWarn) {
  TTGAFont F(Dir.File("page.tga"));
  F.SetColor(255, 64, 0);
  TImage Target(20, 20);
  F.DrawTextOn(Target, "a", 0, 0, kAlignLeft);
  uint8_t R, G, B;
  Target.PixelRGB(0, 0, R, G, B);
  EXPECT_EQ(R, 255);
  EXPECT_EQ(G, 64);
  EXPECT_EQ(B, 0);
  F.SetColor(256, 0, 0);
  F.SetSize(17);
  F.SetSize(0);
  EXPECT_EQ(F.Red, 255);
  EXPECT_EQ(F.Size, 1);
  const std::string Log = LogText();
  EXPECT_NE(Log.find("[VXFonts, TFont.SetColor] Color is out of range! (256, 0, 0)"), std::string::npos);
  EXPECT_NE(Log.find("[VXFonts, TFont.SetSize] Invalid size! (17)"), std::string::npos);
  EXPECT_NE(Log.find("Invalid size! (0)"), std::string::npos);
}

TEST_F(FontTest, GlyphTableOutsideThePageIsDropped) {
  WriteFileBytes(Dir.File("bad.tga"), GlyphTga(16, 12, {{'a', 0, 0, 4, 9}, {'z', 10, 0, 40, 30}}));
  TTGAFont F(Dir.File("bad.tga"));
  EXPECT_EQ(F.Glyphs['a'].Width, 5);
  EXPECT_EQ(F.Glyphs['z'].Width, 0);
  TTGAFont Missing(Dir.File("none.tga"));
  EXPECT_EQ(Missing.Image->Width(), 16);
  EXPECT_EQ(Missing.TextWidth("ab"), 1);
}

TEST_F(FontTest, VxrGlyphsNarrowRowsAndTheDescenderRow) {
  std::vector<uint8_t> Full(8, 0x3F), Bottom(8, 0);
  Bottom[7] = 0x01;  // narrow glyph: the lowest bit is its last column
  const auto Bytes = Vxr(0x01, 6, 8, {{'a', Bottom}, {'g', Bottom}, {'q', Full}});
  TMemoryStream S(Bytes);
  TVXRFont F(S);
  EXPECT_EQ(F.Height, 9);
  EXPECT_EQ(F.LetterSpace, 0);
  EXPECT_EQ(F.SpaceSpace, 6);
  EXPECT_EQ(F.Glyphs['g'].X, 'g' * 6);
  TImage A(20, 20), G(20, 20);
  F.DrawTextOn(A, "a", 0, 0, kAlignLeft);
  F.DrawTextOn(G, "g", 0, 0, kAlignLeft);
  EXPECT_EQ(InkOf(A).Left, 5);
  EXPECT_EQ(InkOf(A).Bottom, 7);
  EXPECT_EQ(InkOf(G).Bottom, 8) << "g sits one row lower";
}

TEST_F(FontTest, VxrWithoutMagicOrCutShortStaysSafe) {
  TMemoryStream Junk(std::vector<uint8_t>{'X', 'X', 'A', 'R', 0, 8, 16});
  TVXRFont Empty(Junk);
  EXPECT_EQ(Empty.SpaceSpace, 0);
  EXPECT_EQ(Empty.Image->Width(), 16);
  auto Bytes = Vxr(0, 8, 16, {{'A', std::vector<uint8_t>(16, 0xFF)}});
  Bytes.resize(7 + 16 * 70);  // up to part of 'E'
  TMemoryStream Cut(Bytes);
  TVXRFont F(Cut);
  TImage T(20, 20);
  F.DrawTextOn(T, "A", 0, 0, kAlignLeft);
  EXPECT_EQ(InkOf(T).Bottom, 15);
  TImage Blank(20, 20);
  F.DrawTextOn(Blank, "Z", 0, 0, kAlignLeft);
  EXPECT_EQ(InkOf(Blank).Bottom, -1);
}

// anti.vxr's layout (256 glyphs of 8x16, a 2048-pixel page) at the game's
// 32-bit images: size 8 makes a page of 16384 pixels, whose rows no surface
// can hold. Such a size is refused and the font keeps drawing.
TEST_F(FontTest, ASizeWhosePageNoSurfaceHoldsIsRefused) {
  SetImageDepth(32);
  TScopeGuard Depth([] { SetImageDepth(24); });
  TMemoryStream S(Vxr(0, 8, 16, {{'A', std::vector<uint8_t>(16, 0xFF)}}));
  TVXRFont F(S);
  F.SetSize(2);
  ASSERT_EQ(F.Height, 32);
  F.SetSize(8);
  EXPECT_EQ(F.Size, 2);
  EXPECT_EQ(F.Height, 32);
  EXPECT_EQ(F.SizedGlyphs['A'].Width, 16);
  EXPECT_NE(LogText().find("[VXFonts, TFont.SetSize] Size 8 makes the page 16384x128, more than a surface holds; the "
                           "size stays 2"),
            std::string::npos)
      << LogText();
  TImage T(40, 40);
  F.DrawTextOn(T, "A", 0, 0, kAlignLeft);
  EXPECT_EQ(InkOf(T).Right, 15) << "still drawn at the size that worked";
  EXPECT_EQ(InkOf(T).Bottom, 31);
  F.SetSize(4);
  EXPECT_EQ(F.Height, 64) << "a size that fits is still taken";
}

TEST_F(FontTest, LoadFontReadsItsSectionAndReportsBadOnes) {
  auto Ini = TIniFile::CreateFromText("[Gold]\r\nFile=" + Dir.File("page.tga") +
                                      "\r\nType=TGA\r\nColor=FFC040\r\nColorKey=000000\r\nLetterSpace=3\r\n"
                                      "[Odd]\r\nFile=x\r\nType=PNG\r\n[NoFile]\r\nType=TGA\r\n");
  auto F = LoadFont(*Ini, "Gold");
  ASSERT_NE(F, nullptr);
  EXPECT_EQ(F->Name, "Gold");
  EXPECT_EQ(F->Red, 255);
  EXPECT_EQ(F->Green, 192);
  EXPECT_TRUE(F->HasColorKey);
  EXPECT_EQ(F->LetterSpace, 3);
  EXPECT_EQ(F->SpaceSpace, 10);
  EXPECT_EQ(LoadFont(*Ini, "Odd"), nullptr);
  EXPECT_EQ(LoadFont(*Ini, "NoFile"), nullptr);
  const std::string Log = LogText();
  EXPECT_NE(Log.find("[VXFonts, LoadFont] Unknown font type! (PNG)"), std::string::npos);
  EXPECT_NE(Log.find("Valid types: BMP, GSD, VXR, TGA"), std::string::npos);
  EXPECT_NE(Log.find("[VXFonts, LoadFont] File name not specified!"), std::string::npos);
}

TEST_F(FontTest, CollectionNumbersPrefixesAndSwitches) {
  const std::string Page = Dir.File("page.tga");
  auto Ini = TIniFile::CreateFromText("[*Fonts]\r\nGold\r\nMissing\r\nBlue\r\n[Gold]\r\nFile=" + Page +
                                      "\r\nType=TGA\r\n[Font.Gold]\r\nFile=" + Page +
                                      "\r\nType=TGA\r\nSize=2\r\n[Blue]\r\nFile=" + Page + "\r\nType=TGA\r\n");
  TFontCollection C;
  C.Load(*Ini, "Fonts");
  ASSERT_EQ(C.Count(), 2) << "a font that fails to load is skipped";
  EXPECT_EQ(C.Item(0)->Name, "Font.Gold");
  EXPECT_EQ(C.Font(0)->Size, 2);
  EXPECT_EQ(C.IndexOf("Blue"), 1);
  EXPECT_EQ(C.Find("Red"), nullptr);
  EXPECT_EQ(C.Font(2), nullptr);
  // Font 0 is twice as large as font 1; code 15 selects the last font.
  EXPECT_EQ(C.TextWidth("ab"), 24);
  EXPECT_EQ(C.TextWidth(std::string("\x01") + "ab"), 12);
  EXPECT_EQ(C.TextWidth(std::string("a\x0F") + "b"), 10 + 2 + 6);
  EXPECT_EQ(C.TextHeight(std::string("a\x01") + "b"), 24);
  TImage T(100, 40);
  C.DrawTextOn(T, std::string("\x01") + "a", 50, 0, kAlignRight);
  EXPECT_EQ(InkOf(T).Right, 49);
  EXPECT_EQ(InkOf(T).Bottom, 9) << "drawn at size 1";
}

// Layout checks hear each text once, as a whole, with the box its glyphs
// cover; a text drawn glyph by glyph through the collection is not heard
// glyph by glyph as well.
TEST_F(FontTest, TheTextListenerHearsEachTextOnceWithItsInk) {
  struct THeard {
    std::string Text;
    TTextBox Box;
    const TImage* Target;
  };
  std::vector<THeard> Heard;
  TScopeGuard Restore([Old = SetTextListener([&Heard](std::string_view T, const TTextBox& B, const TImage* I) {
                         Heard.push_back({std::string(T), B, I});
                       })]() mutable { SetTextListener(std::move(Old)); });
  TFontCollection C;
  C.Add(std::make_unique<TTGAFont>(Dir.File("page.tga")), "A");
  C.Add(std::make_unique<TTGAFont>(Dir.File("page.tga")), "B");
  C.Font(1)->SetColor(255, 255, 255);
  C.Font(0)->SetColor(255, 255, 255);

  TImage T(100, 40);
  const std::string Text = std::string("\x01") + "a b";
  C.DrawTextOn(T, Text, 60, 3, kAlignRight);
  ASSERT_EQ(Heard.size(), 1u);
  EXPECT_EQ(Heard[0].Text, Text);
  EXPECT_EQ(Heard[0].Target, &T);
  const TInk I = InkOf(T);
  const TTextBox& B = Heard[0].Box;
  EXPECT_EQ(B.X, I.Left);
  EXPECT_EQ(B.Right() - 1, I.Right);
  EXPECT_EQ(B.Y, I.Top);
  EXPECT_EQ(B.Bottom() - 1, I.Bottom) << "the box reaches down to b, two rows below a";

  C.Font(0)->DrawTextOn(T, "b", 0, 0, kAlignLeft);
  ASSERT_EQ(Heard.size(), 2u) << "a font drawn alone is heard as well";
  EXPECT_EQ(Heard[1].Box.X, 0);
  EXPECT_EQ(Heard[1].Box.Width, 6);
  {
    TTextListenerMute Mute;
    C.DrawTextOn(T, "ab", 0, 0, kAlignLeft);
  }
  EXPECT_EQ(Heard.size(), 2u);
}

TEST_F(FontTest, TextTooWideForItsPlaceEndsInDots) {
  TFontCollection C;
  C.Add(std::make_unique<TTGAFont>(Dir.File("page.tga")), "A");
  // "abab" is 5+1+6+1+5+1+6 = 25 wide; a dot has no glyph here and takes
  // just its letter space.
  EXPECT_EQ(C.FitText("abab", 25), "abab");
  EXPECT_EQ(C.FitText("abab", 20), "ab...");
  EXPECT_LE(C.TextWidth(C.FitText("abab", 20)), 20);
  EXPECT_EQ(C.FitText("ab ab", 20), "ab...") << "no blank before the dots";
  EXPECT_EQ(C.FitText(std::string("\x00", 1) + "abab", 20), std::string("\x00", 1) + "ab...")
      << "font switches are kept";
  EXPECT_EQ(C.FitText("abab", 1), "");
}
