#include <gtest/gtest.h>

#include "graphics/image_collection.h"
#include "shell/logger.h"
#include "shell/parameters.h"
#include "storage/mad4_high_level.h"
#include "storage/stream_opener.h"
#include "tests/storage/archive_bytes.h"
#include "tests/support/scope_guard.h"
#include "tests/support/test_support.h"
#include "world/maps.h"

namespace {

std::vector<uint8_t> TextBytes(const std::string& Text) { return {Text.begin(), Text.end()}; }

std::string MapText(const std::string& Name, const std::vector<std::string>& Rows) {
  std::string T = "MAPT\r\nWI20\r\nHE12\r\nMN" + Name + "\r\nAUTest Author\r\n";
  for (const auto& R : Rows) T += "MP" + R + "\r\n";
  return T + "XX\r\n";
}

class MapsLoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Blocks = std::make_unique<TImageCollection>();
    StartLogger();
  }
  void TearDown() override {
    World.reset();
    Blocks.reset();
    StopLogger();
  }
  std::string Pack(TArchiveBytes& A) {
    const std::string Name = Dir.File("pack.sq");
    WriteFileBytes(Name, A.Finish());
    return Name;
  }
  TTempDir Dir;
  TRestore<std::unique_ptr<TMAD4HighLevel>> Volumes{VolumeManager, std::make_unique<TMAD4HighLevel>()};
  TRestore<std::unique_ptr<TVXStreamOpener>> Opener{StreamOpener,
                                                    std::make_unique<TVXStreamOpener>(Dir.Path() + "/Data/")};
  TRestore<std::unique_ptr<TParameters>> Params{
      Parameters,
      std::make_unique<TParameters>(Dir.File("starquarry"), std::vector<std::string>{"-mainlog", Dir.File("t.log")})};
  std::unique_ptr<TMaps> World = std::make_unique<TMaps>();
};

}  // namespace

TEST_F(MapsLoadTest, LoadsInfoAndMapsUpToTheFirstGap) {
  TArchiveBytes A;
  A.Member("RAWD", "info", TextBytes("Starquarry level pack\r\nFirst Steps\r\nAda Stone\r\n"));
  A.Member("RAWD", "001.mpp", TextBytes(MapText("One", {"*$!"})));
  A.Member("RAWD", "002.mpp", TextBytes(MapText("Two", {"*!"})));
  A.Member("RAWD", "004.mpp", TextBytes(MapText("Four", {"*!"})));
  ASSERT_TRUE(World->Load(Pack(A)));
  EXPECT_EQ(World->MapCount(), 2);
  EXPECT_EQ(World->PackName, "First Steps");
  EXPECT_EQ(World->PackAuthor, "Ada Stone");
  EXPECT_EQ(World->MapName(1), "Two");
  EXPECT_EQ(World->MapAuthor(0), "Test Author");
  EXPECT_FALSE(VolumeManager->IsExists("001.mpp")) << "the pack is unmounted after loading";
  EXPECT_NE(ReadFileText(Dir.File("t.log")).find("(SQMapsUnit, TMaps.Load) 2 maps loaded."), std::string::npos);
}

TEST_F(MapsLoadTest, PackBringsItsOwnBlockImagesAndVariantCountsFollowThem) {
  TArchiveBytes A;
  A.Member("RAWD", "info", TextBytes("x\r\nn\r\na\r\n"));
  A.Member("RAWD", "001.mpp", TextBytes(MapText("M", {"*$@.&0"})));
  A.Member("RAWD", "b.tga", SolidTga(200));
  A.Member("RAWD", "controls.ini",
           TextBytes("[*Blocks]\r\nb.tga,$1\r\nb.tga,$2\r\nb.tga,$3\r\nb.tga,$4\r\nb.tga,@1\r\nb.tga,.1\r\n"
                     "b.tga,&1\r\nb.tga,01\r\nb.tga,02\r\nb.tga,*D\r\n"));
  ASSERT_TRUE(World->Load(Pack(A)));
  EXPECT_EQ(World->VariantCounts, std::string("$\4@\1.\1&\1"
                                              "0\2",
                                              10));
  World->SetActive(0);
  World->FindElf();
  EXPECT_EQ(World->ElfX, 0);
  for (int X = 1; X <= 5; ++X) EXPECT_NE(World->Sprite(X, 0), nullptr) << "cell " << X;
  EXPECT_EQ(World->Sprite(0, 0), nullptr) << "the elf has no sprite";
}

TEST_F(MapsLoadTest, MissingPackFailsAndKeepsWhatWasLoaded) {
  EXPECT_FALSE(World->Load(Dir.File("none.sq")));
  EXPECT_NE(ReadFileText(Dir.File("t.log")).find("Can't open map file! ("), std::string::npos);
  EXPECT_EQ(World->MapCount(), 0);
}

TEST_F(MapsLoadTest, BadMapNumberFallsBackToTheFirstMap) {
  TArchiveBytes A;
  A.Member("RAWD", "info", TextBytes("x\r\nn\r\na\r\n"));
  A.Member("RAWD", "001.mpp", TextBytes(MapText("M", {"  $", " *"})));
  ASSERT_TRUE(World->Load(Pack(A)));
  World->SetActive(7);
  ASSERT_EQ(World->ActiveMap(), World->Maps[0].get());
  World->FindElf();
  World->CountDiamonds();
  EXPECT_EQ(World->ElfX, 1);
  EXPECT_EQ(World->ElfY, 1);
  EXPECT_EQ(World->DiamondsLeft, 1);
  const std::string Log = ReadFileText(Dir.File("t.log"));
  EXPECT_NE(Log.find("[SQMapsUnit, TMaps.SetActive] Invalid map number! (7)"), std::string::npos);
  EXPECT_NE(Log.find("Using 0 instead..."), std::string::npos);
}

TEST_F(MapsLoadTest, MissingImagesAreReportedOncePerMapStart) {
  TArchiveBytes A;
  A.Member("RAWD", "info", TextBytes("x\r\nn\r\na\r\n"));
  A.Member("RAWD", "001.mpp", TextBytes(MapText("M", {"*##", "##"})));
  ASSERT_TRUE(World->Load(Pack(A)));
  World->SetActive(0);
  World->DrawMap();
  World->DrawMap();
  const std::string Log = ReadFileText(Dir.File("t.log"));
  const size_t First = Log.find("Image not found! (#)");
  ASSERT_NE(First, std::string::npos);
  EXPECT_EQ(Log.find("Image not found! (#)", First + 1), std::string::npos);
}

TEST_F(MapsLoadTest, SmallMapIsSurroundedBySteel) {
  TArchiveBytes A;
  A.Member("RAWD", "info", TextBytes("x\r\nn\r\na\r\n"));
  A.Member("RAWD", "001.mpp", TextBytes("MAPT\r\nWI3\r\nHE2\r\nMP*@ \r\nMP   \r\nXX\r\n"));
  ASSERT_TRUE(World->Load(Pack(A)));
  World->SetActive(0);
  EXPECT_EQ(World->Code(5, 5), Tile::Steel);
  EXPECT_EQ(World->Code(1, 2), Tile::Steel);
  World->SetCode(5, 5, Tile::Empty);
  EXPECT_EQ(World->Code(5, 5), Tile::Steel);
  World->Step();
  EXPECT_EQ(World->Code(1, 1), '@') << "falls inside the map and rests on the steel around it";
}

// --- Damaged packs ---------------------------------------------------------------

TEST_F(MapsLoadTest, DamagedMapKeepsItsPlaceAndLoadsEmpty) {
  TArchiveBytes A;
  A.Member("RAWD", "info", TextBytes("x\r\nn\r\na\r\n"));
  A.Member("RAWD", "001.mpp", TextBytes(MapText("One", {"*$!"})));
  A.Member("RAWD", "002.mpp", TextBytes("MAPX\r\nWI2\r\nHE1\r\nMP00zz0020\r\nXX\r\n"));
  A.Member("RAWD", "003.mpp", TextBytes(MapText("Three", {"*!"})));
  ASSERT_TRUE(World->Load(Pack(A)));
  ASSERT_EQ(World->MapCount(), 3) << "later maps keep their numbers";
  EXPECT_EQ(World->MapName(2), "Three");
  EXPECT_EQ(World->Maps[1]->Width * World->Maps[1]->Height, 0);
  EXPECT_FALSE(VolumeManager->IsExists("001.mpp")) << "the pack is unmounted all the same";
  const std::string Log = ReadFileText(Dir.File("t.log"));
  EXPECT_NE(Log.find("{SQMapsUnit, TMaps.Load} Can't read map 002.mpp"), std::string::npos) << Log;
  EXPECT_NE(Log.find("3 maps loaded."), std::string::npos);
  World->SetActive(1);  // an empty map plays as solid steel
  EXPECT_EQ(World->Code(0, 0), Tile::Steel);
}

TEST_F(MapsLoadTest, PackThatFailsToMountKeepsTheBlockImages) {
  Blocks->AddImage(std::make_unique<TImage>(32, 32), "#");
  WriteFileBytes(Dir.File("broken.sq"), TextBytes("not an archive at all"));
  EXPECT_FALSE(World->Load(Dir.File("broken.sq")));
  EXPECT_EQ(Blocks->Count(), 1) << "the next screen still draws its blocks";
}
