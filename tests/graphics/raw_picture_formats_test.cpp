#include <gtest/gtest.h>

#include "graphics/picture_palette.h"
#include "graphics/raw_picture.h"
#include "tests/graphics/raw_picture_test_util.h"
#include "tests/support/log_capture.h"

using namespace picture_test;

TEST(CelReader, SixBitPaletteAndSignature) {
  StartFastPalette();
  TBytes T;
  T.U16(0x9119).U16(2).U16(1).Fill(26, 0);
  T.Fill(3, 0).U8(63).U8(0).U8(32).Fill(768 - 6, 0);  // entry 1: red 63, blue 32
  T.U8(1).U8(0);
  TMemoryStream S = T.Stream();
  TRawPicture Pic;
  ASSERT_TRUE(Pic.ReadCELStream(S, true));
  EXPECT_EQ(Pic.Data, (std::vector<uint8_t>{128, 0, 252, 0, 0, 0}));
  EXPECT_EQ(SharedPalette->Entry(1)[2], 252);
  StopFastPalette();

  TLogCapture Capture;
  TMemoryStream Bad(std::vector<uint8_t>{0x19, 0x92, 1, 0, 1, 0});
  EXPECT_FALSE(Pic.ReadCELStream(Bad));
  EXPECT_EQ(Pic.Width, 2) << "unchanged";
  EXPECT_TRUE(Capture.Contains("[RawPictureUnit, TRawPicture.ReadCEL] Not a .CEL file!"));
}

TEST(MiReader, DepthTagsAndProblems) {
  auto Mi = [](const char* Tag, const std::vector<uint8_t>& Pixels, unsigned Version = 0x0100) {
    TBytes T;
    T.U8('M').U8('I').U16(Version).U8(static_cast<uint8_t>(Tag[0])).U8(static_cast<uint8_t>(Tag[1]));
    T.U16(1).U16(1).Add(Pixels);
    return T.Stream();
  };
  TRawPicture Pic;
  TMemoryStream True = Mi("24", {1, 2, 3});
  ASSERT_TRUE(Pic.ReadMIStream(True));
  EXPECT_EQ(Pic.Data, (std::vector<uint8_t>{3, 2, 1}));
  TMemoryStream Grey = Mi("GS", {77});
  ASSERT_TRUE(Pic.ReadMIStream(Grey));
  EXPECT_EQ(Pic.Data, (std::vector<uint8_t>{77, 77, 77}));
  TMemoryStream Hi = Mi("16", {0x1F, 0xF8});
  ASSERT_TRUE(Pic.ReadMIStream(Hi));
  EXPECT_EQ(Pic.Data, (std::vector<uint8_t>{248, 0, 248}));

  TLogCapture Capture;
  TMemoryStream BadTag = Mi("XY", {0, 0, 0});
  EXPECT_FALSE(Pic.ReadMIStream(BadTag));
  EXPECT_TRUE(Capture.Contains("[RawPictureUnit, ReadMI100] Invalid color depth! (5958)"));
  TMemoryStream BadVersion = Mi("24", {0, 0, 0}, 0x0200);
  EXPECT_FALSE(Pic.ReadMIStream(BadVersion));
  EXPECT_TRUE(Capture.Contains("Unknown .MI file version!"));
  TMemoryStream NotMi(std::vector<uint8_t>{'I', 'M', 0, 1});
  EXPECT_FALSE(Pic.ReadMIStream(NotMi));
  EXPECT_TRUE(Capture.Contains("Not an .MI file!"));
  EXPECT_EQ(Pic.Data, (std::vector<uint8_t>{248, 0, 248})) << "problems leave the picture as it was";
}

TEST(KepReader, PaletteLookupAndSidesStoredOneShort) {
  StartFastPalette();
  const uint8_t Entry[6] = {0, 0, 0, 10, 20, 30};
  SharedPalette->Load(Entry, 2);
  TRawPicture Pic;
  TBytes Plain;
  Plain.U16(2).U16(1).U8(1).U8(0);
  TMemoryStream S = Plain.Stream();
  ASSERT_TRUE(Pic.ReadKEPStream(S));
  EXPECT_EQ(Pic.Data, (std::vector<uint8_t>{30, 20, 10, 0, 0, 0})) << "entry bytes in reverse order";
  // 1x1 stored, 2x2 pixels follow: (1+1)*(1+1)+4 bytes in all.
  TBytes Short;
  Short.U16(1).U16(1).U8(1).U8(1).U8(1).U8(0);
  TMemoryStream S2 = Short.Stream();
  ASSERT_TRUE(Pic.ReadKEPStream(S2));
  EXPECT_EQ(Pic.Width, 2);
  EXPECT_EQ(Pic.Height, 2);
  EXPECT_EQ(Pic.PixelAt(1, 1)[0], 0);
  EXPECT_EQ(Pic.PixelAt(0, 1)[0], 30);
  StopFastPalette();
}

TEST(K16AndGsdReaders, SizesAndPixels) {
  TRawPicture Pic;
  TBytes K16;
  K16.U16(1).U16(0).U16(0x07E0).U16(0xFFFF);
  TMemoryStream S = K16.Stream();
  ASSERT_TRUE(Pic.ReadK16Stream(S));
  EXPECT_EQ(Pic.Width, 2) << "sides are stored minus one";
  EXPECT_EQ(Pic.Height, 1);
  EXPECT_EQ(Pic.Data, (std::vector<uint8_t>{0, 252, 0, 248, 252, 248}));

  TBytes Gsd;
  Gsd.U16(1).U16(2).U8(5).U8(250);
  TMemoryStream G = Gsd.Stream();
  ASSERT_TRUE(Pic.ReadGSDStream(G));
  EXPECT_EQ(Pic.Data, (std::vector<uint8_t>{5, 5, 5, 250, 250, 250}));
  TBytes Huge;
  Huge.U16(65535).U16(65535).Fill(10, 1);
  TMemoryStream H = Huge.Stream();
  TLogCapture Capture;
  EXPECT_FALSE(Pic.ReadGSDStream(H));
  EXPECT_TRUE(Pic.Data.empty());
}

TEST(BmfReader, GlyphTableInCodeOrderLaterRecordsWin) {
  TRawPicture Pic(1, 1);
  TBytes T;
  T.U8('A').Fill(8, 1).U8(10).Fill(8, 2).U8('A').Fill(8, 3).U8(99).U8(1);  // trailing partial record
  TMemoryStream S = T.Stream();
  ASSERT_TRUE(Pic.ReadBMFStream(S));
  EXPECT_EQ(Pic.InfoKind, kInfoGlyphs);
  ASSERT_EQ(Pic.Info.size(), 32u + 16u);
  EXPECT_EQ(Pic.Info[10 / 8], 0x80 >> (10 % 8));
  EXPECT_EQ(Pic.Info['A' / 8], 0x80 >> ('A' % 8));
  EXPECT_EQ(Pic.Info[32], 2) << "code 10 comes first";
  EXPECT_EQ(Pic.Info[40], 3) << "the later record for A wins";
  EXPECT_EQ(Pic.Width, 1) << "pixels are left alone";
}

TEST(TxfReader, BothByteOrdersAndProblems) {
  // 4x2 texture, one glyph 'A' (code 0x141) of 2x1 at (1, 0).
  auto Txf = [](bool Big, uint32_t Format, uint32_t Glyphs) {
    TBytes T;
    auto U32 = [&](uint32_t V) {
      if (Big) T.U8(V >> 24).U8(V >> 16).U8(V >> 8).U8(V);
      else T.U32(V);
    };
    auto U16 = [&](unsigned V) {
      if (Big) T.U8(V >> 8).U8(V);
      else T.U16(V);
    };
    T.U8(0xFF).U8('t').U8('x').U8('f');
    U32(0x12345678);
    U32(Format);
    U32(4);
    U32(2);
    U32(9);
    U32(3);
    U32(Glyphs);
    U16(0x141);
    T.U8(2).U8(1).U8(0).U8(0).U8(3).U8(0);
    U16(1);
    U16(0);
    T.U8(1).U8(2).U8(3).U8(4).U8(5).U8(6).U8(7).U8(8);
    return T.Stream();
  };
  for (bool Big : {false, true}) {
    SCOPED_TRACE(Big);
    TMemoryStream S = Txf(Big, 0, 1);
    TRawPicture Pic;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(Pic.ReadTXFStream(S));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("RTXF:"), std::string::npos);
    ASSERT_EQ(Pic.Width, 4);
    EXPECT_EQ(Pic.PixelAt(0, 1)[0], 1) << "the texture's first row is its bottom";
    EXPECT_EQ(Pic.PixelAt(3, 0)[1], 8);
    ASSERT_EQ(Pic.Info.size(), 40u);
    EXPECT_EQ(Pic.Info['A' / 8], 0x80 >> ('A' % 8));
    // left 1, top 1, right 3, bottom 2 (the glyph's row, turned upright)
    EXPECT_EQ(std::vector<uint8_t>(Pic.Info.begin() + 32, Pic.Info.end()),
              (std::vector<uint8_t>{1, 0, 1, 0, 3, 0, 2, 0}));
  }
  TRawPicture Pic;
  TMemoryStream Format1 = Txf(false, 1, 1);
  testing::internal::CaptureStdout();
  EXPECT_FALSE(Pic.ReadTXFStream(Format1));
  EXPECT_NE(testing::internal::GetCapturedStdout().find("RTXF: Only format 0 (TXF_FORMAT_BYTE) supported.\n"),
            std::string::npos);
  TMemoryStream Many = Txf(false, 0, 0x10000000);
  testing::internal::CaptureStdout();
  EXPECT_FALSE(Pic.ReadTXFStream(Many));
  testing::internal::GetCapturedStdout();
  TMemoryStream NotTxf(std::vector<uint8_t>{0xFF, 't', 'x', 'g', 0x78, 0x56, 0x34, 0x12});
  testing::internal::CaptureStdout();
  EXPECT_FALSE(Pic.ReadTXFStream(NotTxf));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "RTXF: Not a TXF font file.\n");
}
