#include "world/pack_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "graphics/image_collection.h"
#include "maps/xmap.h"
#include "shell/logger.h"
#include "shell/parameters.h"
#include "storage/compressor.h"
#include "storage/mad4_high_level.h"
#include "storage/stream_opener.h"
#include "tests/storage/archive_bytes.h"
#include "tests/support/scope_guard.h"
#include "tests/support/test_support.h"
#include "world/maps.h"

namespace {

std::string MapText(const std::string& Name) {
  return "MAPT\r\nWI20\r\nHE12\r\nMN" + Name + "\r\nAUTest\r\nMP*$!\r\nXX\r\n";
}

// Member data of a "COMP" chunk whose zlib stream stops half way.
std::vector<uint8_t> CutCompressed(const std::string& Text) {
  std::vector<uint8_t> Data = TCompressor().Compress(Bytes(Text), 0x40);
  Data.resize(Data.size() / 2);
  return Data;
}

TArchiveBytes PackOf(const std::vector<std::pair<std::string, std::string>>& Maps) {
  TArchiveBytes A;
  A.Member("RAWD", "info", Bytes("Starquarry level pack\r\nDeep\r\nAda\r\n"));
  for (const auto& [Member, Name] : Maps) A.Member("RAWD", Member, Bytes(MapText(Name)));
  return A;
}

// Packs read as the game reads them and as stored, in a working folder of
// their own (loose files lie there).
class PackReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Blocks = std::make_unique<TImageCollection>();
    StartLogger();
  }
  void TearDown() override {
    Blocks.reset();
    StopLogger();
  }
  std::string Write(const std::vector<uint8_t>& Bytes) {
    WriteFileBytes("pack.sq", Bytes);
    return "pack.sq";
  }
  TStoredPack Stored(const std::string& File) {
    TStoredPack P;
    std::string Error;
    EXPECT_TRUE(ReadStoredPack(File, P, Error)) << Error;
    return P;
  }
  TTempDir Dir;
  TChangeDir InDir{Dir.Path()};
  TRestore<std::unique_ptr<TMAD4HighLevel>> Volumes{VolumeManager, std::make_unique<TMAD4HighLevel>()};
  TRestore<std::unique_ptr<TVXStreamOpener>> Opener{StreamOpener,
                                                    std::make_unique<TVXStreamOpener>(Dir.Path() + "/Data/")};
  TRestore<std::unique_ptr<TParameters>> Params{
      Parameters,
      std::make_unique<TParameters>(Dir.File("starquarry"), std::vector<std::string>{"-mainlog", Dir.File("t.log")})};
};

}  // namespace

TEST_F(PackReaderTest, AMemberThatCannotBeDecodedIsNoMapForGameOrEditor) {
  TArchiveBytes A = PackOf({{"001.mpp", "One"}});
  A.Member("COMP", "002.mpp", CutCompressed(MapText("Two")));
  A.Member("RAWD", "003.mpp", Bytes(MapText("Three")));
  const std::string File = Write(A.Finish());

  TMaps Game;
  ASSERT_TRUE(Game.Load(File));
  ASSERT_EQ(Game.MapCount(), 3) << "later maps keep their numbers";
  EXPECT_EQ(Game.Maps[1]->Status, "damaged map member 002.mpp");
  EXPECT_EQ(Game.MapName(2), "Three");

  const TStoredPack P = Stored(File);
  ASSERT_EQ(P.Maps.size(), 3u);
  EXPECT_EQ(P.Maps[0]->Status, "OK");
  EXPECT_EQ(P.Maps[1]->Status, "damaged map member 002.mpp");
}

TEST_F(PackReaderTest, AMapInAFormatNoLongerReadIsNotTakenForAnEmptyMap) {
  TArchiveBytes A = PackOf({{"001.mpp", "One"}});
  A.Member("RAWD", "002.mpp", Bytes("MAPP\x01\x02\x03"));
  const TStoredPack P = Stored(Write(A.Finish()));
  ASSERT_EQ(P.Maps.size(), 2u);
  EXPECT_EQ(P.Maps[1]->Status, "unknown map format in 002.mpp");
}

TEST_F(PackReaderTest, APackCutShortIsRefusedWhereverTheCutFalls) {
  TArchiveBytes A = PackOf({{"001.mpp", "One"}, {"002.mpp", "Two"}});
  const size_t Boundary = A.Size();  // the end of the last member chunk
  A.Member("RAWD", "003.mpp", Bytes(MapText("Three")));
  const std::vector<uint8_t> Whole = A.Finish();
  for (const size_t Cut : {Boundary, Boundary + 20, Whole.size() - 1}) {
    const std::string File = Write({Whole.begin(), Whole.begin() + static_cast<std::ptrdiff_t>(Cut)});
    TStoredPack P;
    std::string Error;
    EXPECT_FALSE(ReadStoredPack(File, P, Error)) << "cut at " << Cut;
    EXPECT_EQ(Error, "pack.sq is cut short");
  }
  std::string Error;
  TStoredPack P;
  for (const char* Text : {"", "MAD4 and nothing more", "plain text"}) {
    WriteFileText("pack.sq", Text);
    EXPECT_FALSE(ReadStoredPack("pack.sq", P, Error)) << Text;
  }
}

TEST_F(PackReaderTest, LooseFilesWinWhilePlayingButNotInThePackAsStored) {
  const std::string File = Write(PackOf({{"001.mpp", "Pull the Rug"}}).Finish());
  WriteFileText("001.mpp", MapText("First Dig"));
  TMaps Game;
  ASSERT_TRUE(Game.Load(File));
  EXPECT_EQ(Game.MapName(0), "First Dig") << "a loose file still overrides a member in play";
  const TStoredPack P = Stored(File);
  ASSERT_EQ(P.Maps.size(), 1u);
  EXPECT_EQ(P.Maps[0]->MapName, "Pull the Rug");
  EXPECT_EQ(P.Name, "Deep");
  EXPECT_EQ(P.Author, "Ada");
}

TEST_F(PackReaderTest, EveryMapMemberIsReadWhateverItsNumber) {
  TArchiveBytes A = PackOf({{"004.mpp", "Four"}, {"001.mpp", "One"}, {"002.mpp", "Two"}});
  A.Member("RAWD", "000.mpp", Bytes("not played"));
  A.Member("RAWD", "controls.ini", Bytes("[Blocks]\r\n"));
  A.Member("RAWD", "CONTROLS.INI", Bytes("never served"));
  const TStoredPack P = Stored(Write(A.Finish()));
  EXPECT_EQ(P.Numbers, (std::vector<int>{1, 2, 4}));
  ASSERT_EQ(P.Maps.size(), 3u);
  EXPECT_EQ(P.Maps[2]->MapName, "Four");
  EXPECT_EQ(P.FirstGap(), 3);
  ASSERT_EQ(P.Extras.size(), 2u) << "the second controls.ini is never read, so never carried";
  EXPECT_EQ(P.Extras[0].Name, "000.mpp");
  EXPECT_EQ(P.Extras[1].Data, Bytes("[Blocks]\r\n"));

  TStoredPack NoGap;
  NoGap.Numbers = {1, 2};
  EXPECT_EQ(NoGap.FirstGap(), 0);
  NoGap.Numbers = {2};
  EXPECT_EQ(NoGap.FirstGap(), 1);
}

TEST_F(PackReaderTest, AFifoNamedLikeAPackIsRefusedWithoutWaiting) {
  ASSERT_EQ(mkfifo("pipe.sq", 0600), 0);
  TMaps Game;
  EXPECT_FALSE(Game.Load("pipe.sq"));
  EXPECT_NE(ReadFileText(Dir.File("t.log")).find("Cannot open file pipe.sq: not a regular file"), std::string::npos);
  TStoredPack P;
  std::string Error;
  EXPECT_FALSE(ReadStoredPack("pipe.sq", P, Error));
  EXPECT_EQ(Error, "cannot open pipe.sq: not a regular file");
}
