// sqtool picture against ImageMagick: every picture variant an independent
// writer produces must come out of "picture convert" with the pixels
// ImageMagick itself reads from it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "tests/support/sqtool_runner.h"
#include "tests/support/test_support.h"

namespace {

struct TPixmap {
  int Width = 0, Height = 0;
  std::vector<uint8_t> RGB;
};

// Binary PPM (P6) or PGM (P5) with 8-bit samples, as RGB.
TPixmap ReadPixmap(const std::string& Path) {
  const std::vector<uint8_t> Bytes = ReadFileBytes(Path);
  TPixmap P;
  std::string Magic;
  int Max = 0;
  std::istringstream In(std::string(Bytes.begin(), Bytes.end()));
  In >> Magic >> P.Width >> P.Height >> Max;
  In.get();
  const size_t Offset = static_cast<size_t>(In.tellg());
  const size_t Count = static_cast<size_t>(P.Width) * P.Height;
  if (Max != 255 || (Magic != "P6" && Magic != "P5")) return {};
  const size_t Channels = Magic == "P6" ? 3 : 1;
  if (Bytes.size() < Offset + Count * Channels) return {};
  for (size_t I = 0; I < Count; ++I)
    for (size_t C = 0; C < 3; ++C) P.RGB.push_back(Bytes[Offset + I * Channels + (Channels == 3 ? C : 0)]);
  return P;
}

// Largest difference of any sample; -1 when the sizes differ.
int MaxDifference(const TPixmap& A, const TPixmap& B) {
  if (A.Width != B.Width || A.Height != B.Height || A.RGB.size() != B.RGB.size() || A.RGB.empty()) return -1;
  int D = 0;
  for (size_t I = 0; I < A.RGB.size(); ++I) D = std::max(D, std::abs(A.RGB[I] - B.RGB[I]));
  return D;
}

class PictureToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // An odd-sized picture with many colours, shapes and a gradient.
    ASSERT_EQ(Magick("-size 37x23 gradient:red-blue -fill yellow -draw \"circle 10,10 15,15\" "
                     "-fill \"rgb(0,200,50)\" -draw \"rectangle 20,2 30,8\" " +
                     Dir.File("src.png")),
              0);
  }

  int Magick(const std::string& Args) { return RunCommand("/usr/bin/convert " + Args + " 2>&1"); }

  // Our reading of Name (with its cuts and transformation) against
  // ImageMagick's reading of File with Operations applied.
  int Compare(const std::string& Name, const std::string& File, const std::string& Operations = "") {
    const std::string Ours = Dir.File("ours.ppm"), Theirs = Dir.File("theirs.ppm");
    std::string Out;
    if (Picture.RunJoined("convert \"" + Name + "\" " + Ours, &Out) != 0) {
      ADD_FAILURE() << Name << ": " << Out;
      return -1;
    }
    // ImageMagick keeps a bottom-up TGA's rows in file order and notes the
    // orientation; applying it gives the upright picture.
    if (Magick(File + " -auto-orient " + Operations + " -depth 8 ppm:" + Theirs) != 0) return -1;
    return MaxDifference(ReadPixmap(Ours), ReadPixmap(Theirs));
  }

  TTempDir Dir;
  // "sqtool picture"; errors join the output.
  const TSqtool Picture{"", "picture"};
};

TEST_F(PictureToolTest, TgaVariantsMatchImageMagick) {
  const std::pair<const char*, const char*> Variants[] = {
      {"t2_bottom", "-type TrueColor -compress None"},
      {"t2_top", "-orient TopLeft -type TrueColor -compress None"},
      {"t10_bottom", "-type TrueColor -compress RLE"},
      {"t10_top", "-orient TopLeft -type TrueColor -compress RLE"},
      {"t1", "-type Palette -compress None"},
      {"t9", "-type Palette -compress RLE"},
      {"t9_top", "-orient TopLeft -type Palette -compress RLE"},
      {"t3", "-type Grayscale -compress None"},
      {"t11", "-type Grayscale -compress RLE"},
      {"t11_top", "-orient TopLeft -type Grayscale -compress RLE"},
      {"t2_32bit", "-type TrueColorAlpha -compress None"},
      {"t10_32bit_top", "-orient TopLeft -type TrueColorAlpha -compress RLE"},
  };
  for (const auto& [Name, Options] : Variants) {
    const std::string File = Dir.File(std::string(Name) + ".tga");
    ASSERT_EQ(Magick(Dir.File("src.png") + " " + Options + " " + File), 0) << Name;
    EXPECT_EQ(Compare(File, File), 0) << Name;
  }
}

TEST_F(PictureToolTest, SixteenBitTgaWithinTheFiveBitSteps) {
  // ImageMagick does not write 16-bit TGA; build one (1-5-5-5, top-down).
  std::vector<uint8_t> B = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 2, 0, 16, 0x21};
  for (uint16_t V : {0x0000, 0x7FFF, 0x7C00, 0x03E0, 0x001F, 0x1234, 0x4321, 0x5555}) {
    B.push_back(static_cast<uint8_t>(V));
    B.push_back(static_cast<uint8_t>(V >> 8));
  }
  const std::string File = Dir.File("t2_16.tga");
  WriteFileBytes(File, B);
  // Widening a 5-bit component to 8 bits may differ by less than one 5-bit step.
  const int D = Compare(File, File);
  EXPECT_GE(D, 0);
  EXPECT_LE(D, 7);
}

TEST_F(PictureToolTest, BmpVariantsMatchImageMagick) {
  const std::pair<const char*, const char*> Variants[] = {
      {"b1", "-type Palette -colors 2"},
      {"b4", "-type Palette -colors 16"},
      {"b8", "-type Palette -colors 200 -compress None"},
      {"b8_rle", "-type Palette -colors 200 -compress RLE"},
      {"b24", "-type TrueColor"},
  };
  for (const auto& [Name, Options] : Variants) {
    const std::string File = Dir.File(std::string(Name) + ".bmp");
    ASSERT_EQ(Magick(Dir.File("src.png") + " " + Options + " BMP3:" + File), 0) << Name;
    EXPECT_EQ(Compare(File, File), 0) << Name;
  }
}

TEST_F(PictureToolTest, FrameCutsAndTransformationsMatchImageMagick) {
  // A strip of four 8x8 frames, each a crop of the source, with a 2-byte
  // information block (4 frames) patched into a top-down TGA.
  const std::string Plain = Dir.File("plain.tga");
  ASSERT_EQ(
      Magick(Dir.File("src.png") + " -crop 32x8+2+3 +repage -orient TopLeft -type TrueColor -compress None " + Plain),
      0);
  std::vector<uint8_t> B = ReadFileBytes(Plain);
  ASSERT_GT(B.size(), 18u);
  B[0] = 2;
  B.insert(B.begin() + 18, {4, 0x10});
  const std::string Elf = Dir.File("elf.tga");
  WriteFileBytes(Elf, B);

  EXPECT_EQ(Compare(Elf + "[2]", Plain, "-crop 8x8+16+0 +repage"), 0);
  EXPECT_EQ(
      Compare(Elf + "[3][0..1]", Plain,
              "\\( -clone 0 -crop 8x8+24+0 +repage \\) \\( -clone 0 -crop 16x8+0+0 +repage \\) -delete 0 +append"),
      0);
  // Transformations work frame by frame.
  EXPECT_EQ(Compare(Elf + "[1]:H", Plain, "-crop 8x8+8+0 +repage -flop"), 0);
  EXPECT_EQ(Compare(Elf + "[1]:V", Plain, "-crop 8x8+8+0 +repage -flip"), 0);
  EXPECT_EQ(Compare(Elf + "[1]:R", Plain, "-crop 8x8+8+0 +repage -rotate 90"), 0);
  EXPECT_EQ(Compare(Elf + "[1]:r", Plain, "-crop 8x8+8+0 +repage -rotate -90"), 0);
  EXPECT_EQ(Compare(Elf + "[1]:I", Plain, "-crop 8x8+8+0 +repage -negate"), 0);
  EXPECT_EQ(Compare(Elf + "[1]:D", Plain, "-crop 8x8+8+0 +repage -sample 200%"), 0);

  // A picture without frames is transformed whole.
  const std::string Src = Dir.File("src.tga");
  ASSERT_EQ(Magick(Dir.File("src.png") + " -type TrueColor " + Src), 0);
  EXPECT_EQ(Compare(Src + ":RH", Src, "-rotate 90 -flop"), 0);
  EXPECT_EQ(Compare(Src + ":DD", Src, "-sample 400%"), 0);
}

TEST_F(PictureToolTest, InfoDescribesTheFrames) {
  std::vector<uint8_t> B = {16, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 12, 0, 3, 0, 24, 0x20};
  std::vector<uint8_t> Id(16, 0);
  Id[0] = 3;
  Id[1] = 0x40 | 0x10;
  Id[2] = 2;
  Id[3] = 5;
  B.insert(B.end(), Id.begin(), Id.end());
  B.resize(B.size() + 12 * 3 * 3, 0x80);
  const std::string File = Dir.File("anim.tga");
  WriteFileBytes(File, B);

  std::string Out;
  EXPECT_EQ(Picture.RunJoined("info " + File, &Out), 0);
  EXPECT_EQ(Out, "12x3 frames=3 animated=1 colorkeyed=1 looping=1 delay=2 endpause=5\n");
  Out.clear();
  EXPECT_EQ(Picture.RunJoined("info \"" + File + "[2][0]\"", &Out), 0);
  EXPECT_EQ(Out, "8x3 frames=2 animated=1 colorkeyed=1 looping=1 delay=2 endpause=5\n");
  Out.clear();
  EXPECT_EQ(Picture.RunJoined("info " + Dir.File("src.png"), &Out), 1);
  EXPECT_EQ(Out.rfind("sqtool: ", 0), 0u) << Out;
  Out.clear();
  EXPECT_EQ(Picture.RunJoined("convert " + Dir.File("missing.tga") + " " + Dir.File("x.ppm"), &Out), 1);
  EXPECT_NE(Out.find("cannot load image"), std::string::npos);
  EXPECT_EQ(Picture.RunJoined("frobnicate", &Out), 1);
}

// A name that is no file on disk is looked up in the game's archive: the
// one beside sqtool, or the one --data names.
TEST_F(PictureToolTest, NamesComeFromTheGamesArchive) {
  std::string Out;
  EXPECT_EQ(Picture.RunJoined("info steel.tga", &Out), 0) << Out;
  EXPECT_EQ(Out.rfind("32x32 frames=", 0), 0u) << Out;
  Out.clear();
  EXPECT_EQ(Picture.RunJoined("convert steel.tga " + Dir.File("steel.ppm"), &Out), 0) << Out;
  EXPECT_EQ(ReadPixmap(Dir.File("steel.ppm")).Width, 32);

  ASSERT_EQ(Magick(Dir.File("src.png") + " -type TrueColor " + Dir.File("own.tga")), 0);
  const std::string Archive = Dir.File("own.mad4");
  ASSERT_EQ(TSqtool().Run("archive create " + Archive + " " + Dir.File("own.tga")).Code, 0);
  Out.clear();
  EXPECT_EQ(Picture.RunJoined("info own.tga --data " + Archive, &Out), 0) << Out;
  EXPECT_EQ(Out.rfind("37x23 frames=", 0), 0u) << Out;
  // The named archive, not the default one: the game's own names are not in it.
  EXPECT_EQ(Picture.RunJoined("info own.tga", &Out), 1);
  Out.clear();
  EXPECT_EQ(Picture.RunJoined("info steel.tga --data " + Dir.File("none.mad4"), &Out), 1);
  EXPECT_EQ(Out, "sqtool: cannot mount the data archive '" + Dir.File("none.mad4") + "'\n");
}

}  // namespace
