#include <gtest/gtest.h>

#include "graphics/picture_palette.h"
#include "graphics/raw_picture.h"
#include "tests/graphics/raw_picture_test_util.h"

using namespace picture_test;

namespace {

struct TVariant {
  const char* Args;  // ImageMagick options that pick the variant
  int Type, Depth;
};

// Writes the pattern as a TGA through ImageMagick, checks the header is the
// variant asked for, and compares our reading with ImageMagick's.
void CheckVariant(const TTempDir& Dir, const TVariant& V, bool TopDown, int W, int H, unsigned Seed) {
  SCOPED_TRACE(std::string(V.Args) + (TopDown ? " top-down" : " bottom-up"));
  const std::string Source = Dir.File("pattern.ppm"), File = Dir.File("variant.tga");
  WritePattern(Source, W, H, Seed);
  ASSERT_TRUE(Magick(Source + " " + V.Args + (TopDown ? " -orient TopLeft" : "") + " " + File));
  const std::vector<uint8_t> Bytes = ReadFileBytes(File);
  ASSERT_GE(Bytes.size(), 18u);
  ASSERT_EQ(Bytes[2], V.Type);
  ASSERT_EQ(Bytes[16], V.Depth);
  ASSERT_EQ((Bytes[17] & 0x20) != 0, TopDown);
  TMemoryStream S(Bytes);
  TRawPicture Pic;
  EXPECT_TRUE(Pic.ReadTGAStream(S));
  EXPECT_TRUE(SamePixels(Pic, MagickRead(Dir, File)));
}

}  // namespace

TEST(TgaReader, EveryImageTypeDepthAndOriginMatchesImageMagick) {
  const TVariant Variants[] = {
      {"-type Palette", 1, 8},
      {"-type Palette -compress RLE", 9, 8},
      {"-type TrueColor", 2, 24},
      {"-type TrueColor -compress RLE", 10, 24},
      {"-type Grayscale", 3, 8},
      {"-type Grayscale -compress RLE", 11, 8},
      {"-alpha set -channel A -evaluate set 40% +channel", 2, 32},
      {"-alpha set -channel A -evaluate set 40% +channel -compress RLE", 10, 32},
  };
  TTempDir Dir;
  unsigned Seed = 1;
  for (const TVariant& V : Variants)
    for (bool TopDown : {false, true}) CheckVariant(Dir, V, TopDown, 37, 23, Seed++);
}

// 16-bit pixels follow the descriptor's alpha bits: 0 is 5-6-5, 1 is
// 1-5-5-5, each component shifted into place, not stretched to 0..255.
// Level packs may carry 5-6-5 pictures, which a 5-5-5 reading would garble.
TEST(TgaReader, SixteenBitLayoutsFollowTheAlphaBits) {
  const uint16_t Values[] = {0x1234, 0xFFFF, 0x8001};
  struct TLayout {
    int AlphaBits;
    std::vector<uint8_t> Expected;  // blue, green, red per value
  };
  const TLayout Layouts[] = {
      {0, {0xA0, 0x44, 0x10, 0xF8, 0xFC, 0xF8, 0x08, 0x00, 0x80}},
      {1, {0xA0, 0x88, 0x20, 0xF8, 0xF8, 0xF8, 0x08, 0x00, 0x00}},
  };
  for (const TLayout& L : Layouts)
    for (int Type : {2, 10}) {
      SCOPED_TRACE("alpha bits " + std::to_string(L.AlphaBits) + ", type " + std::to_string(Type));
      TBytes T = TgaHeader(0, 0, Type, 0, 0, 3, 1, 16, 0x20 | L.AlphaBits);
      if (Type == 10) T.U8(2);  // one raw packet of three pixels
      for (uint16_t V : Values) T.U16(V);
      TMemoryStream S = T.Stream();
      TRawPicture Pic;
      ASSERT_TRUE(Pic.ReadTGAStream(S));
      EXPECT_EQ(Pic.Data, L.Expected);
    }
}

TEST(TgaReader, WideRunLengthPictureMatchesImageMagick) {
  // Rows longer than one packet, so packets end inside rows too.
  TTempDir Dir;
  CheckVariant(Dir, {"-type TrueColor -compress RLE", 10, 24}, false, 301, 9, 77);
  CheckVariant(Dir, {"-type Palette -compress RLE", 9, 8}, true, 301, 9, 78);
}

TEST(TgaReader, InformationBlockKinds) {
  auto Read = [](const std::vector<uint8_t>& Id) {
    TBytes T = TgaHeader(static_cast<int>(Id.size()), 0, 2, 0, 0, 1, 1, 24, 0x20);
    T.Add(Id).U8(1).U8(2).U8(3);
    TMemoryStream S = T.Stream();
    TRawPicture Pic;
    Pic.ReadTGAStream(S);
    return Pic;
  };
  TRawPicture Four = Read({0x04, 0x00});
  EXPECT_EQ(Four.InfoKind, kInfoAnimation);
  EXPECT_EQ(Four.FrameCount(), 4);
  TRawPicture Flags = Read({0x21, 0x4F});
  EXPECT_EQ(Flags.FrameCount(), 0xF21);
  EXPECT_EQ(Flags.InfoByte(1) & 0x40, 0x40);
  EXPECT_EQ(Flags.InfoByte(2), 0) << "outside the block reads 0";
  EXPECT_EQ(Flags.InfoByte(-1), 0);
  EXPECT_EQ(Read({}).InfoKind, kInfoNone);
  EXPECT_EQ(Read(std::vector<uint8_t>(16, 0)).InfoKind, kInfoAnimationLong);
  EXPECT_EQ(Read(std::vector<uint8_t>(5, 7)).InfoKind, kInfoOther);
  TRawPicture Pixel = Read({0x04, 0x00});
  EXPECT_EQ(Pixel.Data, (std::vector<uint8_t>{1, 2, 3}));
}

TEST(TgaReader, VerticalFrameStripIsLaidOutSideBySide) {
  // 32x96, three frames stacked; each frame row holds its frame number and row.
  std::vector<uint8_t> Id(16, 0);
  Id[0] = 3;
  Id[6] = 0x80;
  TBytes T = TgaHeader(16, 0, 2, 0, 0, 32, 96, 24, 0x20);
  T.Add(Id);
  for (int Y = 0; Y < 96; ++Y)
    for (int X = 0; X < 32; ++X) T.U8(Y / 32).U8(Y % 32).U8(X);
  TMemoryStream S = T.Stream();
  TRawPicture Pic;
  ASSERT_TRUE(Pic.ReadTGAStream(S));
  ASSERT_EQ(Pic.Width, 96);
  ASSERT_EQ(Pic.Height, 32);
  const uint8_t* P = Pic.PixelAt(32 + 5, 7);  // second frame, column 5, row 7
  EXPECT_EQ(P[0], 1);
  EXPECT_EQ(P[1], 7);
  EXPECT_EQ(P[2], 5);
  EXPECT_EQ(Pic.PixelAt(95, 31)[0], 2);
}

TEST(TgaReader, GlyphTableTrailerTakesEightBytesPerPresentCode) {
  std::vector<uint8_t> Id(32, 0);
  for (int C = 0; C < 77; ++C) Id[static_cast<size_t>(C + 32) / 8] |= static_cast<uint8_t>(0x80 >> ((C + 32) % 8));
  TBytes T = TgaHeader(32, 0, 3, 0, 0, 4, 2, 8, 0x20);
  T.Add(Id).Fill(8, 0x55);
  for (int I = 0; I < 616; ++I) T.U8(I & 0xFF);
  T.Fill(10, 0xEE);  // whatever follows stays unread
  TMemoryStream S = T.Stream();
  TRawPicture Pic;
  ASSERT_TRUE(Pic.ReadTGAStream(S));
  EXPECT_EQ(Pic.InfoKind, kInfoGlyphs);
  ASSERT_EQ(Pic.Info.size(), 32u + 616u);
  EXPECT_EQ(Pic.Info[32], 0);
  EXPECT_EQ(Pic.Info.back(), 615 & 0xFF);
  EXPECT_EQ(S.Position(), 18 + 32 + 8 + 616);
}

TEST(TgaReader, ReportedProblemsGoToStandardOutputAndLeaveBlackPixels) {
  struct TCase {
    int Type, Depth, Descriptor;
    const char* Message;
  };
  const TCase Cases[] = {
      {2, 16, 0x08, "RTGA: Illegal Image Descriptor Byte!\n"},
      {2, 15, 0x00, "RTGA: Illegal Image Pixel Size!\n"},
      {3, 16, 0x00, "Illegal Image Pixel Size!\n"},
      {0, 24, 0x00, "RTGA: No image data included in file!\n"},
      {32, 8, 0x00, "RTGA: Compressed images are not supported!\n"},
      {33, 8, 0x00, "RTGA: Compressed images are not supported!\n"},
      {7, 8, 0x00, "RTGA: Unkown image type!\n"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Message);
    TBytes T = TgaHeader(0, 0, C.Type, 0, 0, 2, 2, C.Depth, C.Descriptor);
    T.Fill(16, 0xAB);
    TMemoryStream S = T.Stream();
    TRawPicture Pic;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(Pic.ReadTGAStream(S));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), C.Message);
    EXPECT_EQ(Pic.Width, 2);
    EXPECT_EQ(Pic.Data, std::vector<uint8_t>(12, 0));
  }
}

TEST(TgaReader, OriginIsReportedAndIgnored) {
  TBytes T;
  T.U8(0).U8(0).U8(2).U16(0).U16(0).U8(0).U16(5).U16(0).U16(1).U16(1).U8(24).U8(0);
  T.U8(9).U8(8).U8(7);
  TMemoryStream S = T.Stream();
  TRawPicture Pic;
  testing::internal::CaptureStdout();
  EXPECT_TRUE(Pic.ReadTGAStream(S));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "RTGA: Ignoring Origin settings!\n");
  EXPECT_EQ(Pic.Data, (std::vector<uint8_t>{9, 8, 7}));
}

TEST(TgaReader, ColourMapLongerThan256AndIndicesBeyondTheMap) {
  StartFastPalette();
  // 300 entries: entry i is (i, i/2, 1); entries past 256 are dropped, and the
  // pixel bytes after the map are still found.
  TBytes T = TgaHeader(0, 1, 1, 300, 24, 3, 1, 8, 0x20);
  for (int I = 0; I < 300; ++I) T.U8(I).U8(I / 2).U8(1);
  T.U8(5).U8(255).U8(0);
  TMemoryStream S = T.Stream();
  TRawPicture Pic;
  ASSERT_TRUE(Pic.ReadTGAStream(S, true));
  EXPECT_EQ(Pic.Data, (std::vector<uint8_t>{5, 2, 1, 255, 127, 1, 0, 0, 1}));
  EXPECT_EQ(SharedPalette->Entry(255)[0], 255) << "the palette took the first 256 entries";

  // A map of 2 entries: index 200 reads black.
  TBytes Short = TgaHeader(0, 1, 1, 2, 24, 2, 1, 8, 0x20);
  Short.U8(10).U8(20).U8(30).U8(40).U8(50).U8(60).U8(1).U8(200);
  TMemoryStream S2 = Short.Stream();
  ASSERT_TRUE(Pic.ReadTGAStream(S2));
  EXPECT_EQ(Pic.Data, (std::vector<uint8_t>{40, 50, 60, 0, 0, 0}));
  StopFastPalette();
}

TEST(TgaReader, ColourMapInFrontOfTrueColourIsSkipped) {
  TBytes T = TgaHeader(0, 1, 2, 2, 24, 1, 1, 24, 0x20);
  T.Fill(6, 0x77).U8(1).U8(2).U8(3);
  TMemoryStream S = T.Stream();
  TRawPicture Pic;
  ASSERT_TRUE(Pic.ReadTGAStream(S));
  EXPECT_EQ(Pic.Data, (std::vector<uint8_t>{1, 2, 3}));
}

TEST(TgaReader, RunLengthPacketsAcrossRowEndsInBothRowOrders) {
  // 3x2: a run of 4 red pixels crosses the first row end, then 2 literals.
  for (int Descriptor : {0x00, 0x20}) {
    SCOPED_TRACE(Descriptor);
    TBytes T = TgaHeader(0, 0, 10, 0, 0, 3, 2, 24, Descriptor);
    T.U8(0x83).U8(0).U8(0).U8(255);
    T.U8(0x01).U8(1).U8(1).U8(1).U8(2).U8(2).U8(2);
    TMemoryStream S = T.Stream();
    TRawPicture Pic;
    ASSERT_TRUE(Pic.ReadTGAStream(S));
    const int FirstFileRow = Descriptor ? 0 : 1;
    EXPECT_EQ(Pic.PixelAt(2, FirstFileRow)[2], 255);
    EXPECT_EQ(Pic.PixelAt(0, 1 - FirstFileRow)[2], 255);
    EXPECT_EQ(Pic.PixelAt(1, 1 - FirstFileRow)[0], 1);
    EXPECT_EQ(Pic.PixelAt(2, 1 - FirstFileRow)[0], 2);
  }
}

TEST(TgaReader, PacketsPastThePictureAndShortStreamsStayInside) {
  // A run of 128 on a 2x2 picture, greyscale and true colour.
  for (int Type : {10, 11}) {
    TBytes T = TgaHeader(0, 0, Type, 0, 0, 2, 2, Type == 10 ? 24 : 8, 0x20);
    T.U8(0xFF).U8(9).U8(9).U8(9).U8(0x7F).Fill(400, 4);
    TMemoryStream S = T.Stream();
    TRawPicture Pic;
    Pic.ReadTGAStream(S);
    EXPECT_EQ(Pic.Data, std::vector<uint8_t>(12, 9));
  }
  // Half the pixels of a 4x4 bottom-up picture: the missing ones are black.
  TBytes T = TgaHeader(0, 0, 2, 0, 0, 4, 4, 24, 0);
  T.Fill(24, 200);
  TMemoryStream S = T.Stream();
  TRawPicture Pic;
  Pic.ReadTGAStream(S);
  EXPECT_EQ(Pic.PixelAt(3, 3)[0], 200) << "first file row is the bottom row";
  EXPECT_EQ(Pic.PixelAt(0, 0)[0], 0);
  // A truncated header.
  TMemoryStream Tiny(std::vector<uint8_t>{0, 0, 2});
  testing::internal::CaptureStdout();
  EXPECT_FALSE(Pic.ReadTGAStream(Tiny));
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(Pic.Width, 0);
}

TEST(TgaReader, HugeHeadersAreRefusedWithoutAllocating) {
  for (int Type : {2, 10}) {
    for (int Side : {60000, 4000}) {
      SCOPED_TRACE(Side);
      TBytes T = TgaHeader(0, 0, Type, 0, 0, Side, Side, 24, 0);
      T.Fill(100, 0xFF);
      TMemoryStream S = T.Stream();
      TRawPicture Pic;
      testing::internal::CaptureStdout();
      EXPECT_FALSE(Pic.ReadTGAStream(S));
      EXPECT_EQ(testing::internal::GetCapturedStdout(), "RTGA: Picture too large!\n");
      EXPECT_EQ(Pic.Width, 0);
      EXPECT_TRUE(Pic.Data.empty());
    }
  }
  // A colour map far bigger than the file ends early without harm.
  TBytes T = TgaHeader(0, 1, 9, 65535, 32, 8, 8, 8, 0);
  T.Fill(50, 1);
  TMemoryStream S = T.Stream();
  TRawPicture Pic;
  EXPECT_TRUE(Pic.ReadTGAStream(S));
  EXPECT_EQ(Pic.Data, std::vector<uint8_t>(8 * 8 * 3, 0));
}
