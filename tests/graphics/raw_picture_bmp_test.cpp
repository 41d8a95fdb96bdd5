#include <gtest/gtest.h>

#include "graphics/picture_palette.h"
#include "graphics/raw_picture.h"
#include "tests/graphics/raw_picture_test_util.h"
#include "tests/support/log_capture.h"

using namespace picture_test;

namespace {

// Writes the pattern as a BMP through ImageMagick and compares our reading
// with ImageMagick's; Bits and Compression confirm the variant.
void CheckBmp(const TTempDir& Dir, const std::string& Args, int Bits, int Compression, int W, int H, unsigned Seed) {
  SCOPED_TRACE(Args);
  const std::string Source = Dir.File("pattern.ppm"), File = Dir.File("variant.bmp");
  WritePattern(Source, W, H, Seed);
  ASSERT_TRUE(Magick(Source + " " + Args + " BMP3:" + File));
  const std::vector<uint8_t> Bytes = ReadFileBytes(File);
  ASSERT_GE(Bytes.size(), 54u);
  ASSERT_EQ(Bytes[28], Bits);
  ASSERT_EQ(Bytes[30], Compression);
  TMemoryStream S(Bytes);
  TRawPicture Pic;
  EXPECT_TRUE(Pic.ReadBMPStream(S));
  EXPECT_EQ(Pic.InfoKind, kInfoNone);
  EXPECT_TRUE(SamePixels(Pic, MagickRead(Dir, File)));
}

// A small 8-bit BMP by hand: palette of Entries, rows as given (file order).
TBytes Bmp8(int W, int H, int Compression, const std::vector<uint8_t>& Pixels, uint32_t Offset = 0) {
  TBytes T;
  const int Entries = 4;
  if (Offset == 0) Offset = 54 + Entries * 4;
  T.U16(0x4D42).U32(0).U32(0).U32(Offset).U32(40);
  T.U32(static_cast<uint32_t>(W)).U32(static_cast<uint32_t>(H)).U16(1).U16(8).U32(Compression).U32(0);
  T.U32(0).U32(0).U32(Entries).U32(0);
  T.U8(0).U8(0).U8(0).U8(0);    // 0 black
  T.U8(255).U8(0).U8(0).U8(0);  // 1 blue
  T.U8(0).U8(255).U8(0).U8(0);  // 2 green
  T.U8(0).U8(0).U8(255).U8(0);  // 3 red
  return T.Add(Pixels);
}

}  // namespace

TEST(BmpReader, EveryDepthAndRle8MatchImageMagick) {
  TTempDir Dir;
  CheckBmp(Dir, "-monochrome -compress None", 1, 0, 37, 23, 1);
  CheckBmp(Dir, "-colors 16 -type Palette -compress None", 4, 0, 37, 23, 2);
  CheckBmp(Dir, "-colors 16 -type Palette -compress None", 4, 0, 36, 5, 3);
  CheckBmp(Dir, "-type Palette -compress None", 8, 0, 37, 23, 4);
  CheckBmp(Dir, "-type Palette -compress RLE", 8, 1, 37, 23, 5);
  CheckBmp(Dir, "-type Palette -compress RLE", 8, 1, 300, 7, 6);
  CheckBmp(Dir, "-type TrueColor -compress None", 24, 0, 37, 23, 7);
  CheckBmp(Dir, "-type TrueColor -compress None", 24, 0, 4, 3, 8);
}

TEST(BmpReader, Rle8EscapesAndBounds) {
  // 4x3, file rows bottom-up: run of 3 blue, end of line; delta (1 right,
  // 1 up), literal run of 3 (odd: one pad byte), a run of 200 clipped at the
  // row end; end of bitmap.
  const std::vector<uint8_t> Rle = {3, 1, 0, 0, 0, 2, 1, 1, 0, 3, 3, 2, 3, 0, 200, 1, 0, 1};
  TMemoryStream S = Bmp8(4, 3, 1, Rle).Stream();
  TRawPicture Pic;
  ASSERT_TRUE(Pic.ReadBMPStream(S));
  // Bottom picture row: blue, blue, blue, black.
  EXPECT_EQ(Pic.PixelAt(0, 2)[0], 255);
  EXPECT_EQ(Pic.PixelAt(2, 2)[0], 255);
  EXPECT_EQ(Pic.PixelAt(3, 2)[0], 0);
  // The delta skipped the middle row to the top row at column 1: red, green, red.
  EXPECT_EQ(Pic.PixelAt(0, 0)[2], 0);
  EXPECT_EQ(Pic.PixelAt(1, 0)[2], 255);
  EXPECT_EQ(Pic.PixelAt(2, 0)[1], 255);
  EXPECT_EQ(Pic.PixelAt(3, 0)[2], 255);
  for (int X = 0; X < 4; ++X) EXPECT_EQ(Pic.PixelAt(X, 1)[0] | Pic.PixelAt(X, 1)[1] | Pic.PixelAt(X, 1)[2], 0);
}

TEST(BmpReader, RejectedHeadersLeaveThePictureUnchanged) {
  TRawPicture Pic(2, 2);
  Pic.Data[0] = 42;
  TLogCapture Capture;
  TMemoryStream NotBmp(std::vector<uint8_t>{'B', 'N', 0, 0});
  EXPECT_FALSE(Pic.ReadBMPStream(NotBmp));
  TBytes V4;
  V4.U16(0x4D42).U32(0).U32(0).U32(0).U32(108).Fill(104, 0);
  TMemoryStream S = V4.Stream();
  EXPECT_FALSE(Pic.ReadBMPStream(S));
  EXPECT_EQ(Pic.Width, 2);
  EXPECT_EQ(Pic.Data[0], 42);
  EXPECT_TRUE(Capture.Contains("[RawPictureUnit, TRawPicture.ReadBMP] Not a .BMP file!"));
  EXPECT_TRUE(Capture.Contains("Only Windows V3 BMP header supported!"));
}

TEST(BmpReader, BadOffsetsAndSizesStayInsideTheFile) {
  // The pixel offset points far outside the file: the data after the palette is used.
  TMemoryStream S = Bmp8(2, 1, 0, {3, 2, 0, 0}, 0x7FFFFFF0).Stream();
  TRawPicture Pic;
  ASSERT_TRUE(Pic.ReadBMPStream(S));
  EXPECT_EQ(Pic.PixelAt(0, 0)[2], 255);
  EXPECT_EQ(Pic.PixelAt(1, 0)[1], 255);
  // Enormous or negative sizes are refused without allocating.
  TLogCapture Capture;
  for (int W : {60000, -5, 5000}) {
    TMemoryStream Big = Bmp8(W, 5000, 0, {1, 2, 3, 4}).Stream();
    EXPECT_FALSE(Pic.ReadBMPStream(Big));
    EXPECT_TRUE(Pic.Data.empty());
  }
  EXPECT_TRUE(Capture.Contains("Invalid picture size!"));
  // Negative height: rows stored top-down.
  TMemoryStream Down = Bmp8(1, -2, 0, {1, 0, 0, 0, 3, 0, 0, 0}).Stream();
  ASSERT_TRUE(Pic.ReadBMPStream(Down));
  EXPECT_EQ(Pic.Height, 2);
  EXPECT_EQ(Pic.PixelAt(0, 0)[0], 255);
  EXPECT_EQ(Pic.PixelAt(0, 1)[2], 255);
}

TEST(BmpReader, LoadPaletteFillsTheSharedPalette) {
  StartFastPalette();
  TMemoryStream S = Bmp8(1, 1, 0, {0, 0, 0, 0}).Stream();
  TRawPicture Pic;
  ASSERT_TRUE(Pic.ReadBMPStream(S, true));
  EXPECT_EQ(SharedPalette->Entry(3)[2], 255);
  EXPECT_EQ(SharedPalette->Entry(1)[0], 255);
  StopFastPalette();
}

TEST(BmpWriter, SavedPictureReadsBackAndImageMagickAgrees) {
  TTempDir Dir;
  TRawPicture Pic(5, 3);
  for (size_t I = 0; I < Pic.Data.size(); ++I) Pic.Data[I] = static_cast<uint8_t>(I * 17);
  TMemoryStream Out;
  ASSERT_TRUE(Pic.SaveBMPStream(Out));
  WriteFileBytes(Dir.File("saved.bmp"), Out.Data());
  EXPECT_TRUE(SamePixels(Pic, MagickRead(Dir, Dir.File("saved.bmp"))));
  Out.Seek(0);
  TRawPicture Back;
  ASSERT_TRUE(Back.ReadBMPStream(Out));
  EXPECT_EQ(Back.Data, Pic.Data);
  EXPECT_FALSE(TRawPicture().SaveBMPStream(Out)) << "nothing to save";
}
