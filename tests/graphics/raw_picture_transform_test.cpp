#include <gtest/gtest.h>

#include "graphics/raw_picture.h"
#include "tests/graphics/raw_picture_test_util.h"
#include "tests/support/log_capture.h"

using namespace picture_test;

namespace {

// A picture whose every pixel is different: (x, y, x ^ y).
TRawPicture Numbered(int W, int H) {
  TRawPicture Pic(W, H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      uint8_t* P = Pic.PixelAt(X, Y);
      P[0] = static_cast<uint8_t>(X);
      P[1] = static_cast<uint8_t>(Y);
      P[2] = static_cast<uint8_t>(X ^ Y);
    }
  return Pic;
}

TRawPicture Transformed(TRawPicture Pic, const std::string& Commands) {
  Pic.MultiTransform(Commands);
  return Pic;
}

bool SamePicture(const TRawPicture& A, const TRawPicture& B) {
  return A.Width == B.Width && A.Height == B.Height && A.Data == B.Data;
}

}  // namespace

TEST(Transform, CommandsMatchImageMagick) {
  struct TCase {
    const char* Commands;
    const char* Magick;
  };
  const TCase Cases[] = {
      {"H", "-flop"},
      {"V", "-flip"},
      {"R", "-rotate 90"},
      {"r", "-rotate -90"},
      {"I", "-negate"},
      {"D", "-sample 200%"},
      {"HRI", "-flop -rotate 90 -negate"},
      {"HDV", "-flop -flip -sample 200%"},
  };
  TTempDir Dir;
  const std::string Source = Dir.File("pattern.ppm");
  WritePattern(Source, 13, 7, 5);
  ASSERT_TRUE(Magick(Source + " -type TrueColor -orient TopLeft " + Dir.File("pattern.tga")));
  TMemoryStream S(ReadFileBytes(Dir.File("pattern.tga")));
  TRawPicture Original;
  ASSERT_TRUE(Original.ReadTGAStream(S));
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Commands);
    const std::string Out = Dir.File("expected.ppm");
    ASSERT_TRUE(Magick(Source + " " + C.Magick + " " + Out));
    EXPECT_TRUE(SamePixels(Transformed(Original, C.Commands), ParsePPM(ReadFileBytes(Out))));
  }
}

TEST(Transform, IdentitiesAndSizes) {
  const TRawPicture Pic = Numbered(64, 32);
  EXPECT_TRUE(SamePicture(Transformed(Pic, "HH"), Pic));
  EXPECT_TRUE(SamePicture(Transformed(Pic, "VV"), Pic));
  EXPECT_TRUE(SamePicture(Transformed(Pic, "II"), Pic));
  EXPECT_TRUE(SamePicture(Transformed(Pic, "RRRR"), Pic));
  EXPECT_TRUE(SamePicture(Transformed(Pic, "Rr"), Pic));
  EXPECT_TRUE(SamePicture(Transformed(Pic, "RR"), Transformed(Pic, "HV")));
  const TRawPicture Turned = Transformed(Pic, "R");
  EXPECT_EQ(Turned.Width, 32);
  EXPECT_EQ(Turned.Height, 64);
  // New (row i, column j) = old (row h-1-j, column i).
  EXPECT_EQ(Turned.PixelAt(0, 0)[1], 31);
  EXPECT_EQ(Turned.PixelAt(0, 5)[0], 5);
  const TRawPicture Doubled = Transformed(Numbered(32, 32), "DD");
  EXPECT_EQ(Doubled.Width, 128);
  EXPECT_EQ(Doubled.Height, 128);
  EXPECT_EQ(Doubled.PixelAt(127, 4)[0], 31);
  EXPECT_EQ(Doubled.PixelAt(127, 4)[1], 1);
}

TEST(Transform, DoublingCountWrapsAndStopsAtTheCap) {
  EXPECT_EQ(Transformed(Numbered(3, 2), std::string(256, 'D')).Width, 3) << "the count is kept in a byte";
  EXPECT_EQ(Transformed(Numbered(3, 2), std::string(257, 'D')).Width, 6);
  TLogCapture Capture;
  TRawPicture Wide(TRawPicture::kMaxSide, 1);
  Wide.MultiTransform("D");
  EXPECT_EQ(Wide.Width, TRawPicture::kMaxSide);
  EXPECT_TRUE(Capture.Contains("Picture too large to double"));
  TRawPicture Empty;
  Empty.MultiTransform("HVIRrD");
  EXPECT_TRUE(Empty.Data.empty());
}

TEST(Transform, FramesAreTransformedInPlace) {
  // 128x32 with four frames: H mirrors each frame, the frame order stays.
  TRawPicture Strip = Numbered(128, 32);
  Strip.Info = {4, 0};
  Strip.InfoKind = kInfoAnimation;
  const TRawPicture Original = Strip;
  Strip.MultiTransform("H");
  ASSERT_EQ(Strip.Width, 128);
  for (int K = 0; K < 4; ++K) {
    EXPECT_EQ(Strip.PixelAt(K * 32, 3)[0], K * 32 + 31);
    EXPECT_EQ(Strip.PixelAt(K * 32 + 31, 3)[0], K * 32);
  }
  // D doubles the whole strip after the per-frame commands.
  TRawPicture Big = Original;
  Big.MultiTransform("DH");
  EXPECT_EQ(Big.Width, 256);
  EXPECT_EQ(Big.PixelAt(0, 0)[0], 31);
  // Without frames the whole picture is mirrored.
  TRawPicture Plain = Numbered(128, 32);
  Plain.MultiTransform("H");
  EXPECT_EQ(Plain.PixelAt(0, 0)[0], 127);
}

TEST(Transform, RotatingFramesThatAreNotSquareRebuildsTheStrip) {
  // Two 3x2 frames side by side; each becomes a 2x3 frame.
  TRawPicture Strip = Numbered(6, 2);
  Strip.Info = {2, 0x40};
  Strip.InfoKind = kInfoAnimation;
  Strip.MultiTransform("R");
  ASSERT_EQ(Strip.Width, 4);
  ASSERT_EQ(Strip.Height, 3);
  for (int K = 0; K < 2; ++K) {
    TRawPicture Frame = Numbered(6, 2);
    Frame.Info.clear();
    Frame.InfoKind = kInfoNone;
    TRawPicture One(3, 2);
    for (int Y = 0; Y < 2; ++Y)
      for (int X = 0; X < 3; ++X) std::copy_n(Frame.PixelAt(K * 3 + X, Y), 3, One.PixelAt(X, Y));
    One.MultiTransform("R");
    for (int Y = 0; Y < 3; ++Y)
      for (int X = 0; X < 2; ++X)
        EXPECT_EQ(std::vector<uint8_t>(Strip.PixelAt(K * 2 + X, Y), Strip.PixelAt(K * 2 + X, Y) + 3),
                  std::vector<uint8_t>(One.PixelAt(X, Y), One.PixelAt(X, Y) + 3));
  }
  EXPECT_EQ(Strip.FrameCount(), 2);
}

TEST(Transform, LoggedStepsAndUnknownCommands) {
  TLogCapture Capture;
  TRawPicture Pic = Numbered(4, 2);
  const TRawPicture Original = Pic;
  Pic.MultiTransform("   ");
  EXPECT_TRUE(SamePicture(Pic, Original));
  EXPECT_TRUE(Capture.Contains("<RawPictureUnit, TRawPicture.MultiTransform> No transformation needed."));
  Pic.MultiTransform("Hx");
  EXPECT_TRUE(SamePicture(Pic, Transformed(Original, "H")));
  EXPECT_TRUE(Capture.Contains("[RAWTRANSFORM, TransformRawImage] Unknown transformation command (x)"));
  EXPECT_TRUE(Capture.Contains("<RawPictureUnit, TRawPicture.MultiTransformEx> [2/2] x"));
  EXPECT_TRUE(Capture.Contains("Transformation string: Hx"));
  EXPECT_TRUE(Capture.Contains("Size: 4x2"));
  EXPECT_TRUE(Capture.Contains("Not animated."));
  Pic = Original;
  Pic.MultiTransform(" H");
  EXPECT_TRUE(SamePicture(Pic, Transformed(Original, "H")));
  EXPECT_TRUE(Capture.Contains("Unknown transformation command ( )"));

  TRawPicture Strip = Numbered(4, 2);
  Strip.Info = {2, 0};
  Strip.InfoKind = kInfoAnimation;
  Strip.MultiTransform("V");
  EXPECT_TRUE(Capture.Contains("Framecount: 2"));
  EXPECT_TRUE(Capture.Contains("Framewidth: 2"));
  EXPECT_TRUE(Capture.Contains("Processing frame 2."));
}
