#include <gtest/gtest.h>
#include <zlib.h>

#include "graphics/raw_picture.h"
#include "tests/graphics/raw_picture_test_util.h"
#include "tests/support/log_capture.h"

using namespace picture_test;

namespace {

// A 1x1 top-down 24-bit TGA of one colour.
std::vector<uint8_t> OnePixelTga(uint8_t B, uint8_t G, uint8_t R) {
  return TgaHeader(0, 0, 2, 0, 0, 1, 1, 24, 0x20).U8(B).U8(G).U8(R).Get();
}

std::vector<uint8_t> Deflated(const std::vector<uint8_t>& Bytes) {
  uLongf Size = compressBound(Bytes.size());
  std::vector<uint8_t> Out(Size);
  compress(Out.data(), &Size, Bytes.data(), Bytes.size());
  Out.resize(Size);
  return Out;
}

// Pictures by relative name from a temporary working folder.
class PictureFiles : public ::testing::Test {
 protected:
  TPictureFolder Folder;
  TChangeDir Here{Folder.Dir().Path()};
  TLogCapture Capture;
};

}  // namespace

TEST_F(PictureFiles, ReadFileChoosesTheReaderByExtension) {
  Folder.Put("a.tga", OnePixelTga(1, 2, 3));
  Folder.Put("b.GSD", TBytes().U16(1).U16(1).U8(9).Get());
  Folder.Put("c.tga.zl", Deflated(OnePixelTga(4, 5, 6)));
  TRawPicture Pic;
  ASSERT_TRUE(Pic.ReadFile("a.tga"));
  EXPECT_EQ(Pic.Data, (std::vector<uint8_t>{1, 2, 3}));
  ASSERT_TRUE(Pic.ReadFile("b.GSD"));
  EXPECT_EQ(Pic.Data, (std::vector<uint8_t>{9, 9, 9}));
  ASSERT_TRUE(Pic.ReadFile("c.tga.zl"));
  EXPECT_EQ(Pic.Data, (std::vector<uint8_t>{4, 5, 6}));

  EXPECT_FALSE(Pic.ReadFile("d.mator"));
  EXPECT_FALSE(Pic.ReadFile("e.txt"));
  EXPECT_FALSE(Pic.ReadFile("noextension"));
  EXPECT_TRUE(Capture.Contains("{RawPictureUnit, TRawPicture.ReadFile} Unknown file extension! (MATOR)"));
  EXPECT_TRUE(Capture.Contains("Unknown file extension! (TXT)"));
  EXPECT_TRUE(Capture.Contains("Unknown file extension! ()"));
  EXPECT_EQ(Pic.Data, (std::vector<uint8_t>{4, 5, 6})) << "unread names leave the picture alone";
}

TEST_F(PictureFiles, ReadersCompleteTheNameAndReportMissingFiles) {
  Folder.Put("elf.tga", OnePixelTga(7, 8, 9));
  Folder.Put(".tga", OnePixelTga(1, 1, 1));
  Folder.Put(".x.tga", OnePixelTga(2, 2, 2));
  TRawPicture Pic;
  ASSERT_TRUE(Pic.ReadTGA("elf"));
  EXPECT_EQ(Pic.Data, (std::vector<uint8_t>{7, 8, 9}));
  ASSERT_TRUE(Pic.ReadTGA(".x")) << "a dot in first place does not count as an extension";
  EXPECT_EQ(Pic.Data, (std::vector<uint8_t>{2, 2, 2}));
  EXPECT_FALSE(Pic.ReadTGA("ghost"));
  EXPECT_TRUE(Capture.Contains("[RawPictureUnit, TRawPicture.ReadTGA] File not found: ghost.tga"));
  EXPECT_FALSE(Pic.ReadBMP("ghost"));
  EXPECT_TRUE(Capture.Contains("[RawPictureUnit, TRawPicture.ReadBMP] File not found: ghost.bmp"));
  EXPECT_FALSE(Pic.ReadTXF("ghost"));
  EXPECT_TRUE(Capture.Contains("File not found: ghost.txf"));
}
