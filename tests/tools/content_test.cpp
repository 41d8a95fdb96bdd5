// The game's content as the game sees it: every picture, font, map and
// configuration text read back from the archive appended to the built
// program, through the engine's own readers.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>

#include "config/ini_file.h"
#include "graphics/font_collection.h"
#include "graphics/image.h"
#include "graphics/image_collection.h"
#include "graphics/raw_picture.h"
#include "maps/xmap.h"
#include "shell/toolbox.h"
#include "storage/stream_opener.h"
#include "tests/support/data_folder.h"
#include "tests/support/log_capture.h"
#include "tests/support/scope_guard.h"
#include "tests/support/sqtool_runner.h"
#include "tests/support/test_support.h"

namespace {

// Serves the built game's archive, and nothing from the disk, to the engine's
// loaders at the game's image depth; collects the log.
class GameContent : public ::testing::Test {
 protected:
  GameContent() { SetImageDepth(32); }

  const TDataFolder Data;
  TLogCapture Capture;

 private:
  TScopeGuard FDepth{[Old = ImageDepth()] { SetImageDepth(Old); }};
};

struct TExpected {
  const char* Name;
  int Width, Height, Frames;
  bool Looping;
};

int FramesOf(const TImage& Image) { return Image.Animated && Image.FrameCount > 0 ? Image.FrameCount : 1; }

void ExpectImages(const TImageCollection& Images, const std::vector<TExpected>& Table) {
  for (const TExpected& E : Table) {
    SCOPED_TRACE(E.Name);
    const TImage* Image = Images.FindImage(E.Name);
    ASSERT_NE(Image, nullptr);
    ASSERT_TRUE(Image->HasSurface());
    EXPECT_EQ(Image->Width(), E.Width);
    EXPECT_EQ(Image->Height(), E.Height);
    EXPECT_EQ(FramesOf(*Image), E.Frames);
    if (E.Frames > 1) { EXPECT_EQ(Image->Looping, E.Looping); }
  }
}

}  // namespace

TEST_F(GameContent, BlockImagesLoadWithTheirSizesAndFrames) {
  ASSERT_TRUE(Data.Mounted());
  TImageCollection Blocks;
  Blocks.Load("controls.ini", "Blocks");
  // Wider than 32 pixels means an animation strip of 32-pixel frames; the
  // tunnels with the elf inside must match their empty twins frame for frame.
  ExpectImages(
      Blocks,
      {
          {".", 32, 32, 1, false},  {".1", 32, 32, 1, false}, {".2", 32, 32, 1, false},  {".3", 32, 32, 1, false},
          {"#", 32, 32, 1, false},  {"%", 32, 32, 1, false},  {"=", 256, 32, 8, true},   {"@", 32, 32, 1, false},
          {"@1", 32, 32, 1, false}, {"@2", 32, 32, 1, false}, {"$", 256, 32, 8, true},   {"$1", 256, 32, 8, true},
          {"$2", 256, 32, 8, true}, {"$3", 256, 32, 8, true}, {"$4", 256, 32, 8, true},  {"&", 32, 32, 1, false},
          {"&1", 32, 32, 1, false}, {"0", 32, 32, 1, false},  {"01", 32, 32, 1, false},  {"02", 32, 32, 1, false},
          {">", 128, 32, 4, true},  {"<", 128, 32, 4, true},  {">2", 128, 32, 4, true},  {"<2", 128, 32, 4, true},
          {"X", 256, 32, 8, false}, {"!", 256, 32, 8, true},  {"!1", 256, 32, 8, false}, {"!2", 256, 32, 8, true},
          {"*U", 32, 32, 1, false}, {"*D", 32, 32, 1, false}, {"*L", 32, 32, 1, false},  {"*R", 32, 32, 1, false},
      });
  EXPECT_TRUE(Blocks.FindImage("$1")->RandomStartFrame);
  // The elf is drawn over whatever its cell showed last, so it must cover
  // the whole cell rather than let black through.
  for (const char* Elf : {"*U", "*D", "*L", "*R"}) EXPECT_FALSE(Blocks.FindImage(Elf)->ColorKeyed) << Elf;
  // The four elf images are four different pictures.
  std::set<uint32_t> Middles;
  for (const char* Elf : {"*U", "*D", "*L", "*R"}) {
    uint8_t R, G, B;
    uint32_t Sum = 0;
    for (int Y = 8; Y < 28; Y += 3)
      for (int X = 6; X < 28; X += 3) {
        Blocks.FindImage(Elf)->PixelRGB(X, Y, R, G, B);
        Sum = Sum * 31 + R * 7 + G * 3 + B;
      }
    Middles.insert(Sum);
  }
  EXPECT_EQ(Middles.size(), 4u);
  EXPECT_EQ(Capture.Text().find("Image not found!"), std::string::npos);
}

TEST_F(GameContent, AnimationsChangeFromFrameToFrame) {
  ASSERT_TRUE(Data.Mounted());
  TImageCollection Blocks;
  Blocks.Load("controls.ini", "Blocks");
  // How many pixels of frame K differ from frame K + 1 (wrapping).
  auto Changed = [](const TImage& Image, int K) {
    const int W = Image.FrameWidth(), Next = (K + 1) % Image.FrameCount;
    int N = 0;
    for (int Y = 0; Y < Image.Height(); ++Y)
      for (int X = 0; X < W; ++X) {
        uint8_t R1, G1, B1, R2, G2, B2;
        Image.PixelRGB(K * W + X, Y, R1, G1, B1);
        Image.PixelRGB(Next * W + X, Y, R2, G2, B2);
        N += R1 != R2 || G1 != G2 || B1 != B2;
      }
    return N;
  };
  // Every step of a looping animation moves something; a played-once
  // animation moves on every step but its last.
  for (const char* Name : {"=", "$1", "$4", ">", "<", ">2", "<2", "!", "!1", "!2", "X"}) {
    SCOPED_TRACE(Name);
    const TImage* Image = Blocks.FindImage(Name);
    ASSERT_NE(Image, nullptr);
    const int Steps = Image->Looping ? Image->FrameCount : Image->FrameCount - 1;
    for (int K = 0; K < Steps; ++K) EXPECT_GT(Changed(*Image, K), 4) << "frame " << K;
  }
  // The two tunnels point different ways.
  int Differ = 0;
  for (int Y = 0; Y < 32; ++Y)
    for (int X = 0; X < 32; ++X) {
      uint8_t R1, G1, B1, R2, G2, B2;
      Blocks.FindImage(">")->PixelRGB(X, Y, R1, G1, B1);
      Blocks.FindImage("<")->PixelRGB(X, Y, R2, G2, B2);
      Differ += R1 != R2 || G1 != G2 || B1 != B2;
    }
  EXPECT_GT(Differ, 50);
}

TEST_F(GameContent, OutroImagesFitThePlacesTheSceneDrawsThem) {
  ASSERT_TRUE(Data.Mounted());
  TImageCollection Outro;
  Outro.Load("controls.ini", "Outro");
  // Sizes follow the script: a 36x36 guard where it clears 36x36, family
  // members inside the 96-pixel band it restores, gems inside the stream's
  // restored rectangle.
  ExpectImages(Outro,
               {
                   {"Grass", 32, 32, 1, false},    {"Wall", 32, 32, 1, false},     {"Elf2", 32, 32, 1, false},
                   {"Elf3", 32, 32, 1, false},     {"Elf4", 32, 32, 1, false},     {"ElfBad1", 36, 36, 1, false},
                   {"ElfBad2", 40, 36, 1, false},  {"ElfBad4", 36, 36, 1, false},  {"ElfBoss1", 32, 32, 1, false},
                   {"ElfBoss4", 32, 32, 1, false}, {"ElfMrs2", 32, 32, 1, false},  {"ElfKidA2", 24, 24, 1, false},
                   {"ElfKidB2", 24, 24, 1, false}, {"ElfKidC2", 24, 24, 1, false}, {"ElfKidD2", 24, 24, 1, false},
                   {"Diam1", 16, 16, 1, false},    {"Diam2", 16, 16, 1, false},    {"Diam3", 16, 16, 1, false},
                   {"Diam4", 16, 16, 1, false},
               });
  // Figures walk over the floor, so black around them must be transparent;
  // the boss's two poses replace each other on a bare cell and stay opaque.
  for (const char* Keyed : {"Elf2", "Elf3", "Elf4", "ElfBad1", "ElfBad2", "ElfBad4", "ElfMrs2", "ElfKidA2", "Diam1"})
    EXPECT_TRUE(Outro.FindImage(Keyed)->Surface()->flags & SDL_SRCCOLORKEY) << Keyed;
  for (const char* Opaque : {"Grass", "Wall", "ElfBoss1", "ElfBoss4"})
    EXPECT_FALSE(Outro.FindImage(Opaque)->Surface()->flags & SDL_SRCCOLORKEY) << Opaque;
  EXPECT_EQ(Capture.Text().find("Image not found!"), std::string::npos);
}

TEST_F(GameContent, TitlePicturesFitTheirPlaces) {
  ASSERT_TRUE(Data.Mounted());
  const struct {
    const char* Name;
    int MaxWidth, MaxHeight;
  } Titles[] = {{"logo.tga", 600, 96}, {"logolite.tga", 160, 36}, {"vxlogo.tga", 480, 76}};
  for (const auto& T : Titles) {
    SCOPED_TRACE(T.Name);
    TImage Image(T.Name);
    ASSERT_TRUE(Image.HasSurface());
    EXPECT_LE(Image.Width(), T.MaxWidth);
    EXPECT_LE(Image.Height(), T.MaxHeight);
    EXPECT_GE(Image.Width(), T.MaxWidth / 2);
  }
}

TEST_F(GameContent, ControlsIniReadsWithoutWarnings) {
  ASSERT_TRUE(Data.Mounted());
  const std::unique_ptr<TIniFile> Ini = TIniFile::Create("controls.ini");
  ASSERT_NE(Ini, nullptr);
  // The fonts in the order and colours the screens rely on.
  const std::vector<std::pair<std::string, std::string>> Fonts = {
      {"Gold", "FFC040"},   {"Blue", "40C0FF"},  {"Magenta", "FF40C0"}, {"BlueishGreen", "40FFC0"}, {"Red", "FF4040"},
      {"Yellow", "FFFF40"}, {"Green", "40FF40"}, {"White", "FFFFFF"},   {"Anti", "FFFFFF"}};
  ASSERT_EQ(Ini->ListItemCount("Game.Fonts"), static_cast<int>(Fonts.size()));
  for (size_t I = 0; I < Fonts.size(); ++I) {
    const auto& [Name, Color] = Fonts[I];
    SCOPED_TRACE(Name);
    EXPECT_EQ(Ini->ReadListItem("Game.Fonts", static_cast<int>(I)), Name);
    const std::string Section = "Font." + Name;
    EXPECT_EQ(Ini->SectionType(Section), 0);
    EXPECT_EQ(Ini->ReadString(Section, "Name", ""), Name);
    EXPECT_EQ(Ini->ReadString(Section, "Type", ""), Name == "Anti" ? "VXR" : "TGA");
    EXPECT_EQ(Ini->ReadString(Section, "File", ""), Name == "Anti" ? "anti.vxr" : "font.tga");
    EXPECT_EQ(VXToolbox::UpperCase(Ini->ReadString(Section, "Color", "")), Color);
    EXPECT_EQ(Ini->ReadString(Section, "ColorKey", ""), "000000");
    Ini->ReadRGB(Section, "Color", TRGB{});
  }
  // Every list item is a "file,name" line.
  for (const char* List : {"Blocks", "Outro"}) {
    const int N = Ini->ListItemCount(List);
    EXPECT_GT(N, 10) << List;
    for (int I = 0; I < N; ++I) EXPECT_NE(Ini->ReadListItem(List, I).find(','), std::string::npos) << List << " " << I;
  }
  // The pieces joined into one file must not repeat a section: the first of
  // two would hide the second.
  std::map<std::string, int> Seen;
  for (const auto& S : Ini->Sections()) ++Seen[VXToolbox::UpperCase(S.Name)];
  for (const auto& [Name, Count] : Seen) EXPECT_EQ(Count, 1) << Name;
  const std::string Text = Capture.Text();
  EXPECT_EQ(Text.find("[VXINIFile"), std::string::npos) << Text;
}

TEST_F(GameContent, FontPageHoldsExactlyTheGameGlyphs) {
  ASSERT_TRUE(Data.Mounted());
  TRawPicture Page;
  ASSERT_TRUE(Page.ReadTGA("font.tga"));
  EXPECT_EQ(Page.Height, 28);
  ASSERT_EQ(Page.InfoKind, kInfoGlyphs);
  // Every printable character but the space, which the font draws as a gap.
  std::string Expected;
  for (char C = '!'; C <= '~'; ++C) Expected += C;
  ASSERT_EQ(Expected.size(), 94u);
  std::string Present;
  for (int C = 0; C < 256; ++C)
    if (Page.Info[C / 8] & (0x80 >> (C % 8))) Present += static_cast<char>(C);
  EXPECT_EQ(Present, Expected);
  ASSERT_EQ(Page.Info.size(), 32u + 8u * 94u);
  // Rectangles: inside the page, left to right without overlap, each with ink.
  auto U16 = [&](size_t At) { return Page.Info[At] | (Page.Info[At + 1] << 8); };
  std::map<char, std::array<int, 4>> Rects;
  int PrevRight = -1;
  for (size_t K = 0; K < Present.size(); ++K) {
    const size_t At = 32 + 8 * K;
    const int L = U16(At), T = U16(At + 2), R = U16(At + 4), B = U16(At + 6);
    SCOPED_TRACE(std::string(1, Present[K]));
    EXPECT_GT(L, PrevRight);
    EXPECT_LE(L, R);
    EXPECT_LE(T, B);
    EXPECT_LT(R, Page.Width);
    EXPECT_LT(B, Page.Height);
    PrevRight = R;
    int Ink = 0;
    for (int Y = T; Y <= B; ++Y)
      for (int X = L; X <= R; ++X) Ink = std::max<int>(Ink, Page.PixelAt(X, Y)[0]);
    EXPECT_GT(Ink, 150);
    Rects[Present[K]] = {L, T, R, B};
  }
  // Tops are drawing offsets: capitals start above small letters, and
  // descenders reach below the baseline.
  EXPECT_LT(Rects['A'][1], Rects['a'][1]);
  EXPECT_GT(Rects['y'][3], Rects['a'][3]);
  EXPECT_LT(Rects['!'][2] - Rects['!'][0], Rects['W'][2] - Rects['W'][0]);
}

// Whatever a player types shows: names of players, packs and maps take any
// printable character.
TEST_F(GameContent, EveryGameFontDrawsEveryPrintableCharacter) {
  ASSERT_TRUE(Data.Mounted());
  TFontCollection Fonts;
  Fonts.LoadFromFile("controls.ini", "Game.Fonts");
  ASSERT_EQ(Fonts.Count(), 9);
  for (int N = 0; N < Fonts.Count(); ++N) {
    const TFont* F = Fonts.Font(N);
    ASSERT_NE(F, nullptr);
    SCOPED_TRACE(F->Name);
    EXPECT_GT(F->TextWidth("a b"), F->TextWidth("ab")) << "the space leaves a gap";
    std::string Missing;
    for (int C = '!'; C <= '~'; ++C) {
      TImage Target(40, 40);
      F->DrawTextOn(Target, std::string(1, static_cast<char>(C)), 4, 4, kAlignLeft);
      TSurfaceLock Lock(Target.Surface());
      bool Ink = false;
      for (int Y = 0; Y < Target.Height() && !Ink; ++Y)
        for (int X = 0; X < Target.Width() && !Ink; ++X) Ink = (Target.Pixel(X, Y) & 0xFFFFFF) != 0;
      if (!Ink || F->TextWidth(std::string(1, static_cast<char>(C))) <= 0) Missing += static_cast<char>(C);
    }
    EXPECT_EQ(Missing, "");
  }
}

TEST_F(GameContent, AntiFontCoversAllCodesAt8x16) {
  ASSERT_TRUE(Data.Mounted());
  TVXStreamPtr Stream = StreamOpener->OpenStream("anti.vxr");
  ASSERT_EQ(Stream->Size(), 4103);
  std::string Bytes(4103, '\0');
  ASSERT_EQ(Stream->Read(Bytes.data(), 4103), 4103u);
  EXPECT_EQ(Bytes.substr(0, 4), "VXAR");
  EXPECT_EQ(Bytes[4], 0);  // no descender row, no presence set
  EXPECT_EQ(Bytes[5], 8);
  EXPECT_EQ(Bytes[6], 16);
  auto Glyph = [&](int Code) { return Bytes.substr(7 + 16 * Code, 16); };
  EXPECT_EQ(Glyph(' '), std::string(16, '\0'));
  for (int Code : {int{'A'}, int{'g'}, int{'0'}, int{'?'}, 0xE9}) EXPECT_NE(Glyph(Code), std::string(16, '\0')) << Code;
  EXPECT_NE(Glyph('O'), Glyph('0'));
}

TEST_F(GameContent, OutroHallMatchesTheScript) {
  ASSERT_TRUE(Data.Mounted());
  TXMap Hall;
  Hall.LoadFromFile("outro.mpt");
  EXPECT_EQ(Hall.Status, "OK");
  ASSERT_EQ(Hall.Width, 20);
  ASSERT_EQ(Hall.Height, 12);
  std::map<int, int> Count;
  for (int Y = 0; Y < 12; ++Y)
    for (int X = 0; X < 20; ++X) {
      const int C = Hall.GetTile(X, Y);
      EXPECT_NE(std::string("#.123b ").find(static_cast<char>(C)), std::string::npos) << X << "," << Y;
      ++Count[C];
    }
  // The script clears the boss's guard at column 13, row 4, the elf's spot
  // at column 11, row 7, and cuts the door into the wall at column 19, row 8;
  // the boss's speech comes from column 11, row 4.
  EXPECT_EQ(Hall.GetTile(11, 4), 'b');
  EXPECT_EQ(Hall.GetTile(13, 4), '3');
  EXPECT_EQ(Count['b'], 1);
  EXPECT_EQ(Count['3'], 1);
  EXPECT_EQ(Hall.GetTile(11, 7), ' ');
  EXPECT_EQ(Hall.GetTile(19, 8), '#');
  // The elf walks in and out along row 6 from the left edge.
  for (int X = 0; X < 8; ++X) EXPECT_NE(Hall.GetTile(X, 6), '#') << X;
}

TEST(GameContentMapStart, EveryTileFindsItsImage) {
  // A map holding every tile the game draws, started by sqtool's headless run.
  TTempDir Dir;
  WriteFileText(Dir.File("info"), "Starquarry level pack\r\nEvery block\r\nContent check\r\n");
  std::string Map = "MAPT\r\nWI20\r\nHE12\r\n";
  const char* Rows[12] = {"%%%%%%%%%%%%%%%%%%%%", "%..$.@..#.0.=.&..!.%", "%.$$@@..#.00==&&...%",
                          "%..>>>.....<<<.....%", "%*.................%", "%.....$$$$$@@@@@...%",
                          "%.....&&&&&00000...%", "%......######......%", "%.....=====.........",
                          "%..................%", "%..................%", "%%%%%%%%%%%%%%%%%%%%"};
  for (const char* R : Rows) Map += std::string("MP") + R + "\r\n";
  Map += "XX\r\n";
  WriteFileText(Dir.File("001.mpp"), Map);
  const std::string Pack = Dir.File("every.sq");
  const std::string Members = ShellQuote(Dir.File("info")) + " " + ShellQuote(Dir.File("001.mpp"));
  ASSERT_EQ(TSqtool().Run("archive create " + ShellQuote(Pack) + " " + Members).Code, 0);
  const std::string LogFile = Dir.File("play.log");
  std::string Out;
  // A few steps right let the elf walk and the animations run.
  EXPECT_EQ(TSqtool().Env("SQTOOL_LOG", LogFile).RunJoined("play " + ShellQuote(Pack) + " 0 --keys RR..", &Out), 0)
      << Out;
  const std::string Log = ReadFileText(LogFile);
  EXPECT_EQ(Log.find("Image not found!"), std::string::npos) << Log;
  EXPECT_EQ(Log.find("Loading failed."), std::string::npos);
}

TEST(GameContentSheet, ShowsEveryListedImageWithItsFrames) {
  TTempDir Dir;
  const TSqtool Picture("", "picture");
  std::string Out;
  ASSERT_EQ(Picture.RunJoined("sheet " + ShellQuote(Dir.File("sheet.ppm")), &Out), 0) << Out;
  // One line per image: 32 blocks and 19 outro pictures, none missing.
  size_t Lines = 0;
  for (char C : Out) Lines += C == '\n';
  EXPECT_EQ(Lines, 51u) << Out;
  EXPECT_EQ(Out.find("missing"), std::string::npos);
  EXPECT_NE(Out.find("[*Blocks] X 256x32 frames=8 at "), std::string::npos);
  EXPECT_NE(Out.find("[*Outro] ElfBad2 40x36 frames=1 at "), std::string::npos);
  EXPECT_EQ(ReadFileText(Dir.File("sheet.ppm")).substr(0, 2), "P6");

  EXPECT_EQ(Picture.Run("sheet " + ShellQuote(Dir.File("x.ppm")) + " --data " + ShellQuote(Dir.File("none"))).Code, 1);
}

namespace {

// The asset makers sit in the build tree beside the play folder.
std::string BuildDir() { return PlayDir() + "../"; }

// A value from the build's CMake cache ("NAME:TYPE=value").
std::string CacheValue(const std::string& Name) {
  const std::string Cache = ReadFileText(BuildDir() + "CMakeCache.txt");
  const size_t At = Cache.find("\n" + Name + ":");
  if (At == std::string::npos) return "";
  const size_t Eq = Cache.find('=', At);
  return Cache.substr(Eq + 1, Cache.find('\n', Eq) - Eq - 1);
}

int RunMaker(const std::string& Args, std::string* Out) {
  Out->clear();
  return RunCommand(BuildDir() + "makers/" + Args + " 2>&1", Out);
}

}  // namespace

TEST(ContentMakers, BrokenSourcesStopTheBuildWithTheirFault) {
  TTempDir Dir;
  const std::string Palette = Dir.File("palette.txt"), Hall = Dir.File("hall.txt"), Out = Dir.Path();
  auto Art = [&](std::string* Text) {
    return RunMaker("sqartmaker '" + Palette + "' '" + Hall + "' '" + Dir.File("no.ttf") + "' '" + Out + "'", Text);
  };
  std::string Rows;
  for (int I = 0; I < 12; ++I) Rows += "#.........b.......#\n";
  std::string Text;

  WriteFileText(Palette, "; colours\nsoil 3f2a1b\nmoss 12345\n");
  WriteFileText(Hall, Rows);
  EXPECT_EQ(Art(&Text), 1);
  EXPECT_EQ(Text, "sqartmaker: palette line 3: expected NAME RRGGBB\n");

  WriteFileText(Palette, "soil 3f2a1b\nsoil 000000\n");
  EXPECT_EQ(Art(&Text), 1);
  EXPECT_NE(Text.find("soil given twice"), std::string::npos) << Text;

  // A palette that parses but lacks a colour the pictures use.
  WriteFileText(Palette, "soil 3f2a1b\n");
  EXPECT_EQ(Art(&Text), 1);
  EXPECT_NE(Text.find("no colour named"), std::string::npos) << Text;

  WriteFileText(Hall, Rows.substr(0, Rows.size() - 20));
  EXPECT_EQ(Art(&Text), 1);
  EXPECT_EQ(Text, "sqartmaker: the hall needs 12 rows, found 11\n");
  WriteFileText(Hall, "; comment\n#x\n" + Rows.substr(20));
  EXPECT_EQ(Art(&Text), 1);
  EXPECT_EQ(Text, "sqartmaker: hall row 1 holds a character the scene does not draw\n");
  WriteFileText(Hall, std::string(21, '#') + "\n" + Rows.substr(20));
  EXPECT_EQ(Art(&Text), 1);
  EXPECT_EQ(Text, "sqartmaker: hall row 1 is longer than 20 cells\n");

  EXPECT_EQ(RunMaker("sqfontmaker '" + Dir.File("no.ttf") + "' '" + Dir.File("no.ttf") + "' '" + Out + "'", &Text), 1);
  EXPECT_NE(Text.find("cannot open font"), std::string::npos) << Text;
}

TEST(ContentMakers, SameSourcesMakeTheSameFiles) {
  // Pictures must not depend on the run, or every build would repack them.
  const std::string Source = CacheValue("Starquarry_SOURCE_DIR"), Font = CacheValue("SQ_DEJAVU_SANS_BOLD");
  ASSERT_FALSE(Source.empty());
  ASSERT_FALSE(Font.empty());
  TTempDir Dir;
  std::string Text;
  ASSERT_EQ(RunMaker("sqartmaker '" + Source + "/data/images/palette.txt' '" + Source + "/data/outro/hall.txt' '" +
                         Font + "' '" + Dir.Path() + "'",
                     &Text),
            0)
      << Text;
  for (const char* Name :
       {"elf.tga", "diamond1.tga", "explosion.tga", "exitopening.tga", "logo.tga", "boss.tga", "outro.mpt"}) {
    SCOPED_TRACE(Name);
    const std::vector<uint8_t> Made = ReadFileBytes(Dir.File(Name));
    EXPECT_FALSE(Made.empty());
    EXPECT_EQ(Made, ReadFileBytes(BuildDir() + "assets/" + Name));
  }
}
