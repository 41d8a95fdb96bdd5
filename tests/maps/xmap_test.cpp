#include "maps/xmap.h"

#include <gtest/gtest.h>

#include "shell/memory_stream.h"
#include "storage/stream_opener.h"
#include "tests/support/log_capture.h"
#include "tests/support/scope_guard.h"
#include "tests/support/test_support.h"

namespace {

TXMap LoadText(const std::string& Bytes) {
  TMemoryStream S(Bytes.data(), Bytes.size());
  TXMap M;
  M.Load(S);
  return M;
}

std::string SaveText(TXMap& M, char Mode, char* Used = nullptr) {
  TMemoryStream S;
  const char U = M.Save(S, Mode);
  if (Used) *Used = U;
  return std::string(S.Data().begin(), S.Data().end());
}

std::vector<int32_t> Row(const TTileMap& M, int32_t Y) {
  return std::vector<int32_t>(M.Tiles.begin() + Y * M.Width, M.Tiles.begin() + (Y + 1) * M.Width);
}

// A map using every feature: names, wraps, extra lines, varied tiles.
TXMap Sample(int32_t Extra = 0) {
  TXMap M;
  M.SetSize(5, 3);
  const std::string Rows =
      "#$ @*"
      "%..&!"
      "  =  ";
  for (size_t I = 0; I < Rows.size(); ++I) M.Tiles[I] = static_cast<uint8_t>(Rows[I]);
  M.Tiles[2] += Extra;
  M.Author = "Ann Example";
  M.MapName = "First steps";
  M.AddLogicalWrap('@', '$');
  M.AddLogicalWrap('.', 32);
  M.Extra = {"hint one", "hint two"};
  M.ApplyLogicalWraps();
  return M;
}

void ExpectSameMap(const TXMap& A, const TXMap& B) {
  EXPECT_EQ(A.Width, B.Width);
  EXPECT_EQ(A.Height, B.Height);
  EXPECT_EQ(A.Tiles, B.Tiles);
  EXPECT_EQ(A.LogicalTiles, B.LogicalTiles);
  EXPECT_EQ(A.Author, B.Author);
  EXPECT_EQ(A.MapName, B.MapName);
  EXPECT_EQ(A.GameName, B.GameName);
  EXPECT_EQ(A.Extra, B.Extra);
  ASSERT_EQ(A.LogicalWraps.size(), B.LogicalWraps.size());
  for (size_t I = 0; I < A.LogicalWraps.size(); ++I) {
    EXPECT_EQ(A.LogicalWraps[I].From, B.LogicalWraps[I].From);
    EXPECT_EQ(A.LogicalWraps[I].To, B.LogicalWraps[I].To);
  }
}

}  // namespace

TEST(XMapTest, MaptRowsAreCutAndPadded) {
  const TXMap M = LoadText("MAPT\r\nWI5\r\nHE3\r\nAUAnn\r\nMP#$ \r\nMPabcdefgh\r\nXX\r\n");
  EXPECT_EQ(M.Status, "OK");
  EXPECT_EQ(Row(M, 0), (std::vector<int32_t>{35, 36, 32, 32, 32}));
  EXPECT_EQ(Row(M, 1), (std::vector<int32_t>{'a', 'b', 'c', 'd', 'e'}));
  EXPECT_EQ(Row(M, 2), std::vector<int32_t>(5, 0)) << "rows never given stay 0";
  EXPECT_EQ(M.Author, "Ann");
  EXPECT_EQ(M.MapName, "Unknown");
}

TEST(XMapTest, TextMapsWithoutSizeGetTheDefaults) {
  TLogCapture Capture;
  const TXMap M = LoadText("MAPT\r\nMPab\r\nXX\r\n");
  EXPECT_EQ(M.Width, 32);
  EXPECT_EQ(M.Height, 20);
  EXPECT_EQ(M.Status, "Map width is not specified in file!") << "height is checked first";
  EXPECT_EQ(M.GetTile(1, 0), 'b');
  const std::string Log = Capture.Text();
  EXPECT_LT(Log.find("Map height is not specified!"), Log.find("Map width is not specified!"));
  EXPECT_EQ(LoadText("MAPT\r\nWI4\r\nMPab\r\nXX\r\n").Status, "Map height is not specified in file!");
}

TEST(XMapTest, TextLinesAndWarnings) {
  TLogCapture Capture;
  // Line feeds alone, an unknown line, too many rows, wraps in two lines.
  const TXMap M = LoadText("MAPT\nWI2\nHE1\nZZ?\nLW@036.032\nLWa0\nMPab\nMPcd\nEXfree text\nGMgame\nMNmap\nXX\nMPzz\n");
  EXPECT_EQ(M.Status, "OK");
  EXPECT_EQ(Row(M, 0), (std::vector<int32_t>{'a', 'b'}));
  ASSERT_EQ(M.LogicalWraps.size(), 2u) << "a group needs four characters";
  EXPECT_EQ(M.LogicalWraps[0].From, '@');
  EXPECT_EQ(M.LogicalWraps[0].To, 36);
  EXPECT_EQ(M.LogicalWraps[1].To, 32);
  EXPECT_EQ(M.Extra, std::vector<std::string>{"free text"});
  EXPECT_EQ(M.GameName, "game");
  EXPECT_EQ(M.MapName, "map");
  EXPECT_TRUE(Capture.Contains("[XMapUnit, TXMap.LoadMAPT] Unknown identifier in MAPT mode. (ZZ)"));
  EXPECT_EQ(Capture.Count("Too many map lines in MAPT mode."), 1u);
  EXPECT_TRUE(Capture.Contains("<TileMapUnit, AddLogicalWrap> 64, 36"));
}

TEST(XMapTest, TextEndingBeforeXxKeepsWhatWasRead) {
  const TXMap M = LoadText("MAPT\r\nWI3\r\nHE2\r\nLWa098\r\nMPaaa\r\nMPa");
  EXPECT_EQ(M.Status, "OK");
  EXPECT_EQ(Row(M, 1), (std::vector<int32_t>{'a', 32, 32}));
  EXPECT_EQ(M.GetLogicalTile(0, 0), 'b') << "wraps are applied at the end";
}

TEST(XMapTest, SizesOutsideTheLimitsEmptyTheMap) {
  TLogCapture Capture;
  TXMap M = LoadText("MAPT\r\nWI100000\r\nHE100000\r\nMPab\r\nXX\r\n");
  EXPECT_EQ(M.Status, "Map width is out of range!");
  EXPECT_EQ(M.Width, 0);
  EXPECT_TRUE(M.Tiles.empty());
  EXPECT_TRUE(Capture.Contains("Map width is out of range! (100000)"));
  EXPECT_EQ(LoadText("MAPX\r\nHE0\r\nXX\r\n").Status, "Map height is out of range!");
  EXPECT_EQ(LoadText("MAPX\r\nHE-3\r\nXX\r\n").Status, "Map height is out of range!");
  EXPECT_EQ(LoadText("MAPT\r\nWI1024\r\nHE1\r\nXX\r\n").Width, 1024);
}

TEST(XMapTest, ConversionErrorsRaiseAndLeaveAnEmptyMap) {
  TXMap M;
  const std::string Words = "MAPT\r\nWIten\r\n";
  TMemoryStream A(Words.data(), Words.size());
  EXPECT_THROW(M.Load(A), EConvertError);
  const std::string Bad = "MAPX\r\nWI2\r\nHE1\r\nMP 0041 00G1\r\nXX\r\n";
  TMemoryStream B(Bad.data(), Bad.size());
  try {
    M.Load(B);
    FAIL() << "a bad hexadecimal group must raise";
  } catch (const EConvertError& E) { EXPECT_STREQ(E.what(), "Not a hexadecimal expression! ('00G1')"); }
  EXPECT_EQ(M.Width, 0);
  EXPECT_TRUE(M.Tiles.empty());
  EXPECT_EQ(M.Status, "Not a hexadecimal expression! ('00G1')");
}

TEST(XMapTest, MapxRowsAndWraps) {
  const TXMap M =
      LoadText("MAPX\r\nWI3\r\nHE2\r\nLW00065012340000100002\r\nMP 0041 012c\r\nMP 0041 0041 0041 0041\r\nXX\r\n");
  EXPECT_EQ(Row(M, 0), (std::vector<int32_t>{0x41, 0x12C, 32}));
  EXPECT_EQ(Row(M, 1), (std::vector<int32_t>{0x41, 0x41, 0x41}));
  EXPECT_EQ(M.GetLogicalTile(0, 0), 1234);
  ASSERT_EQ(M.LogicalWraps.size(), 2u);
}

TEST(XMapTest, UnsupportedAndForeignStreams) {
  TLogCapture Capture;
  EXPECT_EQ(LoadText("PK\x03\x04junk").Status, "Not an XMAP file!");
  EXPECT_EQ(LoadText("MA").Status, "Not an XMAP file!");
  EXPECT_EQ(LoadText("").Status, "Not an XMAP file!");
  const TXMap P = LoadText("MAPP\x05\x05");
  EXPECT_EQ(P.Status, "OK");
  EXPECT_EQ(P.Width, 0);
  EXPECT_TRUE(
      Capture.Contains("[XMapUnit, TXMap.Load] The MAPP and other compressed formats are no longer supported."));
  LoadText("MAPQ");
  LoadText("MAPC");
  EXPECT_TRUE(Capture.Contains("The MAPQ and other"));
  EXPECT_TRUE(Capture.Contains("The MAPC and other"));
  EXPECT_EQ(LoadText("MAPZ").Width, 0);
  EXPECT_TRUE(Capture.Contains("XMAP.Load: Unknown DFS byte! (Z)"));
  EXPECT_TRUE(Capture.Contains("<XMapUnit, TXMap.Load> First 4 char: 'MAPZ'"));
}

TEST(XMapTest, BinaryLayoutAndTruncation) {
  // MAPW, 2 x 1: tiles 300 and 1, author "Al", no map or game name, one
  // wrap 1 -> 2, one extra line "e", end byte.
  const std::string W(
      "MAPW\x02\x01\x2C\x01\x01\x00\x02"
      "Al\x00\x00\x01\x00\x01\x00\x02\x00\x01"
      "e\x00",
      24);
  TXMap M = LoadText(W);
  EXPECT_EQ(M.Status, "OK");
  EXPECT_EQ(M.Tiles, (std::vector<int32_t>{300, 1}));
  EXPECT_EQ(M.LogicalTiles, (std::vector<int32_t>{300, 2}));
  EXPECT_EQ(M.Author, "Al");
  EXPECT_EQ(M.MapName, "Unknown");
  EXPECT_EQ(M.Extra, std::vector<std::string>{"e"});
  EXPECT_EQ(SaveText(M, 'w'), W);

  // Every cut before the extra lines is reported; a cut at a line's
  // length byte is a plain end.
  for (size_t N = 4; N < W.size(); ++N) {
    const TXMap Cut = LoadText(W.substr(0, N));
    if (N == 21 || N == W.size() - 1) {
      EXPECT_EQ(Cut.Status, "OK") << N;
    } else {
      EXPECT_EQ(Cut.Status, "Unexpected end of file!") << N;
      EXPECT_EQ(Cut.Width, 0) << N;
    }
  }
  // Cells that run past the end of the stream.
  EXPECT_EQ(LoadText(std::string("MAPB\xFF\xFF\x01\x02", 8)).Status, "Unexpected end of file!");
}

TEST(XMapTest, SaveChoosesTheFormat) {
  TLogCapture Capture;
  TXMap Small = Sample();
  char Used = 0;
  EXPECT_EQ(SaveText(Small, 'a', &Used).substr(0, 4), "MAPB");
  EXPECT_TRUE(Capture.Contains("so 8 bit binary mode will be used."));
  EXPECT_EQ(SaveText(Small, '?', &Used).substr(0, 4), "MAPB");
  EXPECT_TRUE(Capture.Contains("Unknown mode specified, using automatic mode determination."));
  EXPECT_EQ(SaveText(Small, 'x').substr(0, 4), "MAPX");

  TXMap Big = Sample(300);
  EXPECT_EQ(SaveText(Big, 'T', &Used).substr(0, 4), "MAPW");
  EXPECT_EQ(Used, 'W');
  EXPECT_TRUE(Capture.Contains("[XMapUnit, TXMap.Save] Using 16 bit binary mode."));
  EXPECT_EQ(SaveText(Big, 'X').substr(0, 4), "MAPX");

  // Sizes beyond one byte and line-break tiles go to MAPX instead.
  TXMap Wide;
  Wide.SetSize(300, 1);
  EXPECT_EQ(SaveText(Wide, 'B').substr(0, 4), "MAPX");
  TXMap Breaks = Sample();
  Breaks.Tiles[0] = 10;
  EXPECT_EQ(SaveText(Breaks, 'T').substr(0, 4), "MAPX");
}

TEST(XMapTest, TextOutputLayout) {
  TXMap M = Sample();
  EXPECT_EQ(SaveText(M, 'T'),
            "MAPT\r\nWI5\r\nHE3\r\nAUAnn Example\r\nMNFirst steps\r\nLW@036.032\r\n"
            "MP#$ @*\r\nMP%..&!\r\nMP  =\r\nEXhint one\r\nEXhint two\r\nXX\r\n");
  const std::string X = SaveText(M, 'X');
  EXPECT_NE(X.find("\r\nLW0006400036000460003"), std::string::npos);
  EXPECT_NE(X.find("\r\nMP 0023 0024 0020 0040 002A\r\n"), std::string::npos);
  TXMap Injected = Sample();
  Injected.Author = "a\nMPzz";
  EXPECT_NE(SaveText(Injected, 'T').find("\r\nAUa MPzz\r\n"), std::string::npos)
      << "a line feed in a name cannot start a new line";
  // 61 wraps take two LW lines of at most 60 entries.
  for (int I = 0; I < 59; ++I) M.AddLogicalWrap('a', 1);
  const std::string T = SaveText(M, 'T');
  EXPECT_NE(T.find("\r\nLWa001\r\n"), std::string::npos);
}

TEST(XMapTest, RoundTripsInEveryFormat) {
  for (const int32_t Extra : {0, 300}) {
    for (const char Mode : {'B', 'W', 'T', 'X', 'A'}) {
      TXMap Original = Sample(Extra);
      char Used = 0;
      const std::string First = SaveText(Original, Mode, &Used);
      TXMap Loaded = LoadText(First);
      EXPECT_EQ(Loaded.Status, "OK") << Mode;
      ExpectSameMap(Loaded, Original);
      EXPECT_EQ(SaveText(Loaded, Used), First) << Mode << " " << Extra;
    }
  }
}

TEST(XMapTest, HandWrittenMaptComesBackApartFromTrailingSpaces) {
  const std::string In = "MAPT\r\nWI4\r\nHE2\r\nMP##  \r\nMP#\r\nXX\r\n";
  TXMap M = LoadText(In);
  TMemoryStream B;
  M.Save(B, 'B');
  B.Seek(0);
  TXMap Again;
  Again.Load(B);
  EXPECT_EQ(SaveText(Again, 'T'), "MAPT\r\nWI4\r\nHE2\r\nMP##\r\nMP#\r\nXX\r\n");
}

TEST(XMapTest, FilesThroughTheOpener) {
  TTempDir Dir;
  TXMap M = Sample();
  {
    TRestore Opener(StreamOpener);
    StartStreamOpener();
    EXPECT_EQ(M.SaveToFile(Dir.File("001.mpp"), 'b'), 'B');
    TXMap Loaded;
    Loaded.LoadFromFile(Dir.File("001.mpp"));
    ExpectSameMap(Loaded, M);
    Loaded.LoadFromFile(Dir.File("missing.mpp"));
    EXPECT_EQ(Loaded.Width, 5) << "a missing name leaves the map as it was";
  }
  EXPECT_THROW(M.SaveToFile(Dir.File("no/such/dir.mpp"), 'B'), std::runtime_error);
}
