#include "shell/toolbox.h"

#include <gtest/gtest.h>

#include "shell/memory_stream.h"

using namespace VXToolbox;

TEST(Toolbox, KeywordLookup) {
  const char* Pictures = "BMP,0,CEL,1,MI,2,TGA,3,KEP,4,K16,5,MATOR,6,GSD,7,X";
  EXPECT_EQ(KeywordLookup("tga", Pictures, true), "3");
  EXPECT_EQ(KeywordLookup("tga", Pictures, false), "X");
  EXPECT_EQ(KeywordLookup("PNG", Pictures, true), "X");
  EXPECT_EQ(KeywordLookup("MATOR", Pictures, true), "6");
  EXPECT_EQ(KeywordLookup("vxr", "BMP,1,GSD,2,VXR,3,TGA,4,0", true), "3");
  EXPECT_EQ(KeywordLookup("3", "BMP,1,GSD,2,VXR,3,TGA,4,0", true), "0") << "values are not keys";
}

TEST(Toolbox, CompleteExtension) {
  EXPECT_EQ(CompleteExtension("font", "tga"), "font.tga");
  EXPECT_EQ(CompleteExtension("font", ".tga"), "font.tga");
  EXPECT_EQ(CompleteExtension("font.tga", "tga"), "font.tga");
  EXPECT_EQ(CompleteExtension("a.b", "tga"), "a.b");
  EXPECT_EQ(CompleteExtension("mytga", "tga"), "mytga");
  EXPECT_EQ(CompleteExtension("tga", "tga"), "tga.tga") << "name must be longer than the extension";
  EXPECT_EQ(CompleteExtension(".x", "tga"), ".x.tga");
}

TEST(Toolbox, NthLastPosCountsFromTheEndWithOverlaps) {
  EXPECT_EQ(NthLastPos(".", "a.b.tga", 1), 4);
  EXPECT_EQ(NthLastPos(".", "a.b.tga", 2), 2);
  EXPECT_EQ(NthLastPos(".", "a.b.tga", 3), 0);
  EXPECT_EQ(NthLastPos("aa", "aaa", 2), 1);
}

TEST(Toolbox, HexToInt) {
  EXPECT_EQ(HexToInt("ff"), 255);
  EXPECT_EQ(HexToInt(""), 0);
  EXPECT_EQ(HexToInt("1A0"), 416);
  try {
    HexToInt("g1");
    FAIL() << "expected a conversion error";
  } catch (const EConvertError& E) { EXPECT_STREQ(E.what(), "Not a hexadecimal expression! ('G1')"); }
}

TEST(Toolbox, ColorParsing) {
  EXPECT_EQ(ParseColor("FFC040"), (TRGB{255, 192, 64}));
  EXPECT_EQ(ParseColor("  ffc040 "), (TRGB{255, 192, 64}));
  EXPECT_EQ(ParseColor("FF"), (TRGB{0, 0, 255}));
  EXPECT_EQ(ParseColor("FFC04012"), (TRGB{255, 192, 64}));
  EXPECT_THROW(ParseColor("FFZ040"), EConvertError);
  EXPECT_TRUE(IsHexColor("FFC040"));
  EXPECT_FALSE(IsHexColor("ffc040"));
  EXPECT_FALSE(IsHexColor("FFC04"));
}

TEST(Toolbox, NumberTest) {
  EXPECT_TRUE(IsNumber("-12.5", '.'));
  EXPECT_FALSE(IsNumber("-", '.'));
  EXPECT_FALSE(IsNumber("", '.'));
  EXPECT_TRUE(IsNumber("1..2", '.'));
  EXPECT_TRUE(IsNumber("3.5", 0));
  EXPECT_FALSE(IsNumber("3,5", '.'));
}

TEST(Toolbox, TextHelpers) {
  EXPECT_EQ(Trim("  a b\t "), "a b\t");
  EXPECT_EQ(TrimLeft("  a "), "a ");
  EXPECT_EQ(TrimRight("  a "), "  a");
  EXPECT_EQ(ReplaceAll("aaaa", "aa", "a"), "a") << "passes repeat until nothing changes";
  EXPECT_EQ(ReplaceAll("x,y,z", ",", ";"), "x;y;z");
  EXPECT_EQ(CountChar('a', std::string(300, 'a')), 44) << "the count wraps at 256";
  EXPECT_EQ(PaddedNumber(7, 3, '0'), "007");
  EXPECT_EQ(PaddedNumber(1234, 3, '0'), "1234");
  EXPECT_EQ(PadLeft(' ', "ab", 4), "  ab");
  EXPECT_EQ(RepeatChar('-', 3), "---");
  EXPECT_EQ(BitCount(0xB1), 4);
}

TEST(Toolbox, ReadLineAcceptsLfAndCrLfAndStopsAtEnd) {
  TMemoryStream S(std::vector<uint8_t>{'a', 'b', 13, 10, 'c'});
  EXPECT_EQ(ReadLine(S), "ab");
  EXPECT_EQ(S.Position(), 4);
  EXPECT_EQ(ReadLine(S), "c");
  EXPECT_EQ(ReadLine(S), "");
  EXPECT_TRUE(S.Eof());
}

TEST(Toolbox, ReadLineAcrossChunkBoundaries) {
  // Lines longer than one 512-byte fetch, and a CR LF split across fetches.
  std::string Long(700, 'x');
  std::string Text = Long + "\n" + std::string(510, 'y') + "\r\n" + "z";
  auto S = TMemoryStream::FromString(Text);
  EXPECT_EQ(ReadLine(*S), Long);
  EXPECT_EQ(ReadLine(*S), std::string(510, 'y'));
  EXPECT_EQ(ReadLine(*S), "z");
  EXPECT_EQ(ReadLine(*S), "");
}

TEST(Toolbox, ReadLineInterleavedOnTwoStreams) {
  // The buffer is shared, but each call leaves its stream right after its line.
  auto A = TMemoryStream::FromString("a1\na2\n");
  auto B = TMemoryStream::FromString("b1\nb2\n");
  EXPECT_EQ(ReadLine(*A), "a1");
  EXPECT_EQ(ReadLine(*B), "b1");
  EXPECT_EQ(ReadLine(*A), "a2");
  EXPECT_EQ(ReadLine(*B), "b2");
}

TEST(Toolbox, Paths) {
  EXPECT_EQ(ExtractFileName("/a/b/starquarry"), "starquarry");
  EXPECT_EQ(ExtractFileDir("/a/b/starquarry"), "/a/b/");
  EXPECT_EQ(ExtractFileDir("x"), "");
  EXPECT_EQ(FileSize("/nonexistent/file"), -1);
  EXPECT_EQ(StrToIntDef("42", -1), 42);
  EXPECT_EQ(StrToIntDef("4x", -1), -1);
}
