#include "graphics/image.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "graphics/raw_picture.h"
#include "shell/memory_stream.h"
#include "tests/graphics/image_test_util.h"
#include "tests/support/log_capture.h"

namespace {

struct TParsed {
  std::string Name;
  TFrameList Cuts;
  std::string Transform;
};

TParsed Parse(std::string Name) {
  TParsed P;
  TImage::ParseName(Name, P.Cuts, P.Transform);
  P.Name = Name;
  return P;
}

TEST(ImageNameTest, FrameCutsAndTransformations) {
  TParsed P = Parse("elf.tga[2]");
  EXPECT_EQ(P.Name, "elf.tga");
  EXPECT_EQ(P.Cuts, (TFrameList{{2, 2}}));
  EXPECT_EQ(P.Transform, "");

  P = Parse("elf.tga[1..2][0]:HV");
  EXPECT_EQ(P.Name, "elf.tga");
  EXPECT_EQ(P.Cuts, (TFrameList{{1, 2}, {0, 0}}));
  EXPECT_EQ(P.Transform, "HV");

  // Not-integers and empty cuts vanish; a backward range is its first frame.
  P = Parse("e[a]l[]f[3..1].tga");
  EXPECT_EQ(P.Name, "elf.tga");
  EXPECT_EQ(P.Cuts, (TFrameList{{3, 3}}));

  // A range whose end is no number is a single frame.
  EXPECT_EQ(Parse("x[4..z]").Cuts, (TFrameList{{4, 4}}));
  // Frame numbers beyond 32 bits are not frame numbers.
  EXPECT_TRUE(Parse("x[99999999999]").Cuts.empty());
}

TEST(ImageNameTest, BracketsOutOfOrderStopTheParsing) {
  TParsed P = Parse("a]b[1]");
  EXPECT_EQ(P.Name, "a]b[1]");
  EXPECT_TRUE(P.Cuts.empty());
  P = Parse("a[1]b]c[2");
  EXPECT_EQ(P.Name, "ab]c[2");
  EXPECT_EQ(P.Cuts, (TFrameList{{1, 1}}));
}

TEST(ImageNameTest, ColonCountsFromTheThirdCharacter) {
  EXPECT_EQ(Parse("C:pic.tga").Transform, "");
  EXPECT_EQ(Parse("C:pic.tga").Name, "C:pic.tga");
  EXPECT_EQ(Parse(":H").Transform, "");
  TParsed P = Parse("ab:H:V");
  EXPECT_EQ(P.Name, "ab");
  EXPECT_EQ(P.Transform, "H:V");
  // Only the first colon counts: after a drive letter there is no transformation.
  P = Parse("C:pic.tga:R");
  EXPECT_EQ(P.Name, "C:pic.tga:R");
  EXPECT_EQ(P.Transform, "");
}

class ImageLoadTest : public ::testing::Test {
 protected:
  TImageFolder Folder;
};

TEST_F(ImageLoadTest, CutsSelectFramesInListOrder) {
  const std::string Elf = Folder.Put("elf.tga", MakeStrip(4, 32));
  TImage Whole(Elf);
  ASSERT_TRUE(Whole.HasSurface());
  EXPECT_EQ(Whole.Width(), 128);
  EXPECT_EQ(Whole.FrameCount, 4);
  EXPECT_TRUE(Whole.Animated);
  EXPECT_EQ(Whole.FrameWidth(), 32);

  TImage Third(Elf + "[2]");
  ASSERT_TRUE(Third.HasSurface());
  EXPECT_EQ(Third.Width(), 32);
  EXPECT_EQ(Third.Height(), 32);
  EXPECT_EQ(Third.FrameCount, 1);
  EXPECT_EQ(ColorAt(Third, 0, 0), FrameColor(2));
  EXPECT_EQ(ColorAt(Third, 31, 31), FrameColor(2));

  TImage Mixed(Elf + "[1..2][0]");
  ASSERT_EQ(Mixed.Width(), 96);
  EXPECT_EQ(Mixed.FrameCount, 3);
  EXPECT_EQ(ColorAt(Mixed, 0, 5), FrameColor(1));
  EXPECT_EQ(ColorAt(Mixed, 32, 5), FrameColor(2));
  EXPECT_EQ(ColorAt(Mixed, 95, 5), FrameColor(0));

  // Cuts on a picture without frames are ignored.
  const std::string Tile = Folder.Put("tile.tga", MakeTGA(16, 8, [](int, int) { return TColor{1, 2, 3}; }));
  EXPECT_EQ(TImage(Tile + "[1]").Width(), 16);
}

TEST_F(ImageLoadTest, FramesBeyondTheStripComeOutBlack) {
  const std::string Elf = Folder.Put("elf.tga", MakeStrip(4, 8));
  TImage Far(Elf + "[3..5][100000][-2]");
  ASSERT_TRUE(Far.HasSurface());
  EXPECT_EQ(Far.FrameCount, 5);
  EXPECT_EQ(Far.Width(), 40);
  EXPECT_EQ(ColorAt(Far, 0, 0), FrameColor(3));
  for (int X : {8, 16, 24, 32, 39}) EXPECT_EQ(ColorAt(Far, X, 0), TColor{}) << X;

  // A selection too wide for any surface leaves the strip as it was.
  TImage Huge(Elf + "[0..1000000]");
  ASSERT_TRUE(Huge.HasSurface());
  EXPECT_EQ(Huge.Width(), 32);
  EXPECT_EQ(Huge.FrameCount, 4);
}

TEST_F(ImageLoadTest, InformationBlockGivesTheFrameDescription) {
  // Frame count 0 with the black-is-transparent bit: keyed, not animated.
  const std::string Keyed = Folder.Put("keyed.tga", MakeTGA(4, 4,
                                                            [](int, int) {
                                                              return TColor{9, 9, 9};
                                                            },
                                                            {0x00, 0x40}));
  TImage K(Keyed);
  ASSERT_TRUE(K.HasSurface());
  EXPECT_TRUE(K.ColorKeyed);
  EXPECT_FALSE(K.Animated);
  EXPECT_TRUE(K.Surface()->flags & SDL_SRCCOLORKEY);
  EXPECT_EQ(K.Surface()->format->colorkey, 0u);

  // The 16-byte block adds frame delay and end pause.
  std::vector<uint8_t> Id(16, 0);
  Id[0] = 2;
  Id[1] = 0x80 | 0x20 | 0x10;
  Id[2] = 3;
  Id[3] = 7;
  const std::string Long = Folder.Put("long.tga", MakeTGA(
                                                      8, 4, [](int X, int) { return FrameColor(X / 4); }, Id));
  TImage L(Long);
  EXPECT_TRUE(L.Animated);
  EXPECT_EQ(L.FrameCount, 2);
  EXPECT_TRUE(L.StartPaused);
  EXPECT_TRUE(L.RandomStartFrame);
  EXPECT_TRUE(L.Looping);
  EXPECT_FALSE(L.ColorKeyed);
  EXPECT_EQ(L.FrameDelay, 3u);
  EXPECT_EQ(L.EndPause, 7u);
  EXPECT_FALSE(L.Surface()->flags & SDL_SRCCOLORKEY);
}

TEST_F(ImageLoadTest, UnreadableNamesLeaveNoSurface) {
  TLogCapture Capture;
  TImage Missing(Folder.Dir().File("nothing.tga"));
  EXPECT_FALSE(Missing.HasSurface());
  EXPECT_EQ(Missing.Width(), 0);
  EXPECT_NE(Capture.Text().find("<ImageUnit, TImage.Create> Loading failed."), std::string::npos);

  // Garbage under a known extension, and an empty name.
  TImage Garbage(Folder.Put("bad.bmp", std::vector<uint8_t>{1, 2, 3}));
  EXPECT_FALSE(Garbage.HasSurface());
  TImage Empty("");
  EXPECT_FALSE(Empty.HasSurface());
}

TEST(ImageSurfaceTest, CreateBySizeIsBlackAtTheImageDepth) {
  TImageFolder Folder;
  TImage Image(5, 3);
  ASSERT_TRUE(Image.HasSurface());
  EXPECT_EQ(Image.Surface()->format->BitsPerPixel, 32);
  EXPECT_EQ(ColorAt(Image, 4, 2), TColor{});
  SetImageDepth(24);
  EXPECT_EQ(TImage(2, 2).Surface()->format->BytesPerPixel, 3);

  EXPECT_FALSE(TImage(0, 10).HasSurface());
  EXPECT_THROW(TImage(100000, 2), ECreateSurface);
}

TEST(ImageDrawTest, PrimitivesClipAndStayInside) {
  TImageFolder Folder;
  TImage Target(10, 10);
  Target.Bar(-5, -5, 7, 7, 255, 0, 0);  // covers (0,0)..(1,1)
  EXPECT_EQ(ColorAt(Target, 1, 1), (TColor{255, 0, 0}));
  EXPECT_EQ(ColorAt(Target, 2, 2), TColor{});

  // Far-off coordinates never wrap back onto the surface.
  Target.Bar(65536 + 3, 3, 2, 2, 0, 255, 0);
  Target.Bar(3, -65536 + 3, 2, 2, 0, 255, 0);
  EXPECT_EQ(ColorAt(Target, 3, 3), TColor{});
  // Nothing for empty or negative sizes.
  Target.Bar(5, 5, 0, 3, 0, 0, 255);
  Target.Bar(5, 5, -3, 3, 0, 0, 255);
  EXPECT_EQ(ColorAt(Target, 5, 5), TColor{});
  EXPECT_EQ(ColorAt(Target, 4, 5), TColor{});

  // Reading outside the surface gives 0.
  TSurfaceLock Lock(Target.Surface());
  EXPECT_EQ(Target.Pixel(-1, 0), 0u);
  EXPECT_EQ(Target.Pixel(10, 0), 0u);
  EXPECT_EQ(Target.Pixel(0, 0), 0xFF0000u);
}

TEST(ImageDrawTest, PartsAndKeyedSources) {
  TImageFolder Folder;
  TImage Source(4, 2);
  Source.Bar(0, 0, 2, 2, 10, 20, 30);  // left half coloured, right half black
  TImage Target(6, 6);
  Target.Bar(0, 0, 6, 6, 200, 200, 200);

  Target.DrawPart(-1, 4, 0, 0, 4, 2, Source);  // clipped on the left
  EXPECT_EQ(ColorAt(Target, 0, 4), (TColor{10, 20, 30}));
  EXPECT_EQ(ColorAt(Target, 1, 4), TColor{});

  // Black is transparent once keyed.
  Source.SetColorKey();
  Target.Draw(2, 0, Source);
  EXPECT_EQ(ColorAt(Target, 3, 0), (TColor{10, 20, 30}));
  EXPECT_EQ(ColorAt(Target, 4, 0), (TColor{200, 200, 200}));
  // Keyed (run-length coded) surfaces still read back correctly.
  EXPECT_EQ(ColorAt(Source, 0, 0), (TColor{10, 20, 30}));
}

TEST(ImageCreateTest, FromGreyscaleStreamTintsAndKeepsPosition) {
  TImageFolder Folder;
  TMemoryStream Stream;
  Stream.WriteU16(3);
  Stream.WriteU16(1);
  const uint8_t Grey[] = {0, 255, 128};
  Stream.WriteExact(Grey, 3);
  Stream.Seek(2);
  auto Image = TImage::CreateFromGSD(Stream, 200, 100, 51);
  EXPECT_EQ(Stream.Position(), 2);
  ASSERT_TRUE(Image->HasSurface());
  EXPECT_EQ(Image->Width(), 3);
  EXPECT_EQ(ColorAt(*Image, 0, 0), TColor{});
  EXPECT_EQ(ColorAt(*Image, 1, 0), (TColor{200, 100, 51}));
  EXPECT_EQ(ColorAt(*Image, 2, 0), (TColor{100, 50, 25}));  // 200*128/255 = 100.39

  // A header announcing more than the stream holds gives no surface.
  TMemoryStream Short;
  Short.WriteU16(60000);
  Short.WriteU16(60000);
  Short.WriteU8(1);
  EXPECT_FALSE(TImage::CreateFromGSD(Short, 1, 1, 1)->HasSurface());
}

TEST(ImageCreateTest, FromRawPictureKeysAndDescribesFrames) {
  TImageFolder Folder;
  TRawPicture Picture(2, 1);
  Picture.Data = {1, 2, 3, 0, 0, 0};  // blue, green, red
  Picture.InfoKind = kInfoAnimation;
  Picture.Info = {2, 0x40};
  auto Image = TImage::CreateFromRawPicture(Picture);
  EXPECT_EQ(ColorAt(*Image, 0, 0), (TColor{3, 2, 1}));
  EXPECT_EQ(Image->FrameCount, 2);
  EXPECT_TRUE(Image->Surface()->flags & SDL_SRCCOLORKEY);
  EXPECT_FALSE(TImage::CreateFromRawPicture(TRawPicture())->HasSurface());
}

}  // namespace
