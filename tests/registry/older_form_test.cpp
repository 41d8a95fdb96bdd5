// The older registry file: a MAD4 archive holding up to four members.
#include <gtest/gtest.h>

#include "registry/player_registry.h"
#include "shell/toolbox.h"
#include "storage/compressor.h"
#include "storage/mad4_mid_level.h"
#include "tests/support/bytes.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_support.h"

namespace {
struct TMember {
  std::string Name;
  std::vector<uint8_t> Bytes;
  bool Compressed = false;
};

void MakeArchive(const std::string& File, const std::vector<TMember>& Members) {
  TMAD4MidLevel A;
  A.Mount(File, false);
  ASSERT_EQ(A.Status(), TMAD4LowLevel::kMountedOk);
  for (const TMember& M : Members) {
    if (M.Compressed) ASSERT_TRUE(A.AddMember(kFourCCComp, M.Name, TCompressor().Compress(M.Bytes, 0x40 | 0x08)));
    else ASSERT_TRUE(A.AddMember(kFourCCRawd, M.Name, M.Bytes));
  }
  A.Unmount();
}

const std::vector<uint8_t> kPlayers = TBytes().U16(2).I32(0).Str("Old").Str("").I32(3).Str("Timer").Str("t").Get();
const std::vector<uint8_t> kPacks = TBytes().U16(1).I32(1).Str("First.sq").Get();
const std::vector<uint8_t> kDatas = TBytes().U16(1).I32(3).I32(1).I32(2).U8(2).U8(1).Get();
}  // namespace

TEST(OlderForm, AllFourMembersLoadAndTheNextSaveIsPREG) {
  TTempDir Dir;
  const std::string File = Dir.File("Starquarry.vmu");
  MakeArchive(File, {{"nextid.dat", TBytes().I32(12).Get()},
                     {"players.dat", kPlayers},
                     {"LevelPacks.dat", kPacks, true},
                     {"datas.dat", kDatas}});
  TPlayerRegistry R;
  ASSERT_TRUE(R.Load(File));
  EXPECT_FALSE(R.LoadedDamaged());
  EXPECT_EQ(R.NextID, 12);
  ASSERT_EQ(R.Players.size(), 2u);
  EXPECT_EQ(R.Players[1].Info, "t");
  EXPECT_EQ(R.LevelPackID("first.sq"), 1) << "member names ignore case; compressed members decode";
  ASSERT_EQ(R.Datas.size(), 1u);
  EXPECT_EQ(R.Datas[0].Data, std::vector<uint8_t>({2, 1}));

  ASSERT_TRUE(R.Save(File));
  EXPECT_EQ(ReadFileText(File).substr(0, 4), "PREG");
  EXPECT_FALSE(VXToolbox::FileExists(File + ".bad"));
  TPlayerRegistry Back;
  ASSERT_TRUE(Back.Load(File));
  EXPECT_EQ(Back.NextID, 12);
  EXPECT_EQ(Back.Players.size(), 2u);
}

TEST(OlderForm, WithoutNextIDTheCounterFollowsTheHighestIdentifier) {
  TTempDir Dir;
  MakeArchive(Dir.File("players.vmu"), {{"players.dat", kPlayers}});
  TPlayerRegistry R;
  ASSERT_TRUE(R.Load(Dir.File("players.vmu")));
  EXPECT_EQ(R.Players.size(), 2u);
  EXPECT_EQ(R.NextID, 4);
  ASSERT_TRUE(R.AddLevelPack("New.sq"));
  EXPECT_EQ(R.LevelPackID("New.sq"), 4) << "never an identifier a player already has";

  // Records left by deleted players count too: their identifiers must not
  // come back and inherit the progress.
  MakeArchive(Dir.File("datas.vmu"),
              {{"players.dat", kPlayers}, {"datas.dat", TBytes().U16(1).I32(9).I32(1).I32(0).Get()}});
  TPlayerRegistry D;
  ASSERT_TRUE(D.Load(Dir.File("datas.vmu")));
  EXPECT_EQ(D.NextID, 10);

  // A stored counter that would hand out an identifier in use is raised.
  MakeArchive(Dir.File("low.vmu"), {{"nextid.dat", TBytes().I32(2).Get()}, {"players.dat", kPlayers}});
  TPlayerRegistry L;
  ASSERT_TRUE(L.Load(Dir.File("low.vmu")));
  EXPECT_EQ(L.NextID, 4);

  MakeArchive(Dir.File("empty.vmu"), {});
  TPlayerRegistry E;
  EXPECT_TRUE(E.Load(Dir.File("empty.vmu")));
  EXPECT_EQ(E.NextID, 0);
  EXPECT_FALSE(E.LoadedDamaged());
}

TEST(OlderForm, DamagedArchivesKeepWholeRecordsAndAreKeptAside) {
  TTempDir Dir;
  TLogCapture Capture;
  const std::string File = Dir.File("Starquarry.vmu");
  auto Cut = kPlayers;
  Cut.resize(Cut.size() - 3);
  MakeArchive(File, {{"players.dat", Cut}, {"levelpacks.dat", kPacks}});
  const auto Original = ReadFileBytes(File);
  TPlayerRegistry R;
  ASSERT_TRUE(R.Load(File));
  EXPECT_TRUE(R.LoadedDamaged());
  ASSERT_EQ(R.Players.size(), 1u);
  EXPECT_EQ(R.LevelPacks.size(), 1u) << "the other members still load";
  EXPECT_NE(Capture.Text().find("Damaged player registry " + File + ": its member players.dat"), std::string::npos);
  ASSERT_TRUE(R.Save(File));
  EXPECT_EQ(ReadFileBytes(File + ".bad"), Original);

  // "MAD4" in front of something that is no archive: the load succeeds
  // with nothing in it, and the file is still kept aside.
  WriteFileText(File, "MAD4 but not really an archive");
  TPlayerRegistry N;
  EXPECT_TRUE(N.Load(File));
  EXPECT_TRUE(N.Players.empty());
  EXPECT_TRUE(N.LoadedDamaged());
}
