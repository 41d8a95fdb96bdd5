// The players' best runs: which run is kept, and that no save loses one.
#include "registry/run_store.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "registry/player_reg.h"
#include "shell/toolbox.h"
#include "tests/support/log_capture.h"
#include "tests/support/scope_guard.h"
#include "tests/support/test_support.h"

namespace {
// While set, every rename fails as if the process were killed just before
// the new file took the old one's place.
bool FailRenames = false;
}  // namespace

// Stands in for the C library's rename in this test program, so that the
// safe file writer's last step can be made to fail.
extern "C" int rename(const char* From, const char* To) noexcept {
  using TRename = int (*)(const char*, const char*);
  static const TRename Real = reinterpret_cast<TRename>(dlsym(RTLD_NEXT, "rename"));
  if (FailRenames) {
    errno = EIO;
    return -1;
  }
  return Real(From, To);
}

namespace {
std::string Steps(size_t N, char Key = 'R') { return std::string(N, Key); }

bool IsSocket(const std::string& Path) {
  struct stat St;
  return stat(Path.c_str(), &St) == 0 && S_ISSOCK(St.st_mode);
}
}  // namespace

TEST(RunStore, KeepsOnlyShorterRunsPerPlayerPackAndMap) {
  TTempDir Dir;
  const std::string File = Dir.File("Starquarry.runs");
  TRunStore S(File);
  EXPECT_EQ(S.Keep(0, "Caves.sq", 3, Steps(10)), TRunKept::Kept);
  EXPECT_EQ(S.Keep(0, "Caves.sq", 3, Steps(12)), TRunKept::NotShorter);
  EXPECT_EQ(S.Keep(0, "CAVES.SQ", 3, Steps(10, 'L')), TRunKept::NotShorter) << "as long is not shorter";
  ASSERT_NE(S.Best(0, "caves.sq", 3), nullptr) << "pack names ignore letter case";
  EXPECT_EQ(S.Best(0, "Caves.sq", 3)->Keys, Steps(10));
  EXPECT_EQ(S.Keep(0, "caves.sq", 3, "UD.LR.R"), TRunKept::Kept);
  // Other maps, packs and players have runs of their own.
  EXPECT_EQ(S.Keep(0, "Caves.sq", 4, Steps(20)), TRunKept::Kept);
  EXPECT_EQ(S.Keep(1, "Caves.sq", 3, Steps(20)), TRunKept::Kept);
  EXPECT_EQ(S.Keep(0, "Hills.sq", 3, Steps(20)), TRunKept::Kept);
  EXPECT_EQ(S.Best(2, "Caves.sq", 3), nullptr);
  // Nothing that sqtool play could not replay is kept.
  for (const std::string& Bad : {std::string(), std::string("RRx"), std::string("r"), std::string("R R")})
    EXPECT_EQ(S.Keep(5, "Caves.sq", 0, Bad), TRunKept::BadRun) << "'" << Bad << "'";
  EXPECT_EQ(S.Keep(5, "Caves.sq", -1, "R"), TRunKept::BadRun);

  TRunStore Back(File);
  EXPECT_FALSE(Back.LoadedDamaged());
  ASSERT_EQ(Back.Runs().size(), 4u);
  EXPECT_EQ(Back.Best(0, "Caves.sq", 3)->Keys, "UD.LR.R");
  EXPECT_EQ(Back.Best(0, "Caves.sq", 3)->Pack, "Caves.sq") << "the name as first kept";
  EXPECT_EQ(Back.HighestPlayer(), 1);
  EXPECT_EQ(Back.DeletePlayer(0), 3);
  EXPECT_EQ(TRunStore(File).Runs().size(), 1u);
}

TEST(RunStore, AFailedRenameDuringTheSaveKeepsTheOldFile) {
  TTempDir Dir;
  TLogCapture Capture;
  const std::string File = Dir.File("Starquarry.runs");
  TRunStore S(File);
  ASSERT_EQ(S.Keep(0, "Caves.sq", 0, Steps(30)), TRunKept::Kept);
  const auto Before = ReadFileBytes(File);
  {
    FailRenames = true;
    TScopeGuard Renames([] { FailRenames = false; });
    EXPECT_EQ(S.Keep(0, "Caves.sq", 0, Steps(20)), TRunKept::Kept);
    EXPECT_FALSE(S.LastSaveSucceeded());
  }
  EXPECT_EQ(ReadFileBytes(File), Before);
  EXPECT_EQ(TempFilesIn(VXToolbox::ExtractFileDir(File)), std::vector<std::string>{})
      << "the half-done save leaves nothing behind";
  EXPECT_TRUE(Capture.Contains("{RunStoreUnit, TRunStore.Save} Not saved, the previous file is kept"));
  EXPECT_EQ(TRunStore(File).Best(0, "Caves.sq", 0)->Steps(), 30);
  // The next save that works writes the run kept meanwhile.
  ASSERT_EQ(S.Keep(0, "Caves.sq", 1, Steps(5)), TRunKept::Kept);
  EXPECT_EQ(TRunStore(File).Best(0, "Caves.sq", 0)->Steps(), 20);
}

TEST(RunStore, ADamagedFileIsKeptAsideAndTheStoreStartsEmpty) {
  TTempDir Dir;
  TLogCapture Capture;
  const std::string File = Dir.File("Starquarry.runs");
  auto Bytes = TRunStore::Encode({{0, "Caves.sq", 0, "RRR"}, {1, "Caves.sq", 2, "LL"}});
  Bytes[12] ^= 0x01;  // one bit of the first run's player
  WriteFileBytes(File, Bytes);
  TRunStore S(File);
  EXPECT_TRUE(S.LoadedDamaged());
  EXPECT_TRUE(S.Runs().empty());
  EXPECT_TRUE(Capture.Contains("{RunStoreUnit, TRunStore.Load} Damaged runs file " + File));
  EXPECT_FALSE(VXToolbox::FileExists(File + ".bad")) << "reading writes nothing";
  ASSERT_EQ(S.Keep(2, "Hills.sq", 1, "UU"), TRunKept::Kept);
  EXPECT_EQ(ReadFileBytes(File + ".bad"), Bytes);
  EXPECT_EQ(S.KeptAs(), File + ".bad");
  TRunStore Back(File);
  ASSERT_EQ(Back.Runs().size(), 1u);
  EXPECT_EQ(Back.Runs()[0].Keys, "UU");
}

// Each damage is kept under a name of its own, whatever sits in the way.
TEST(RunStore, EveryDamagedFileIsKeptNoneWrittenOver) {
  TTempDir Dir;
  TLogCapture Capture;
  const std::string File = Dir.File("Starquarry.runs");
  WriteFileText(File + ".bad.1", "a copy kept by hand");
  ASSERT_EQ(mkdir((File + ".bad.2").c_str(), 0700), 0) << "a folder in the way";
  std::vector<std::string> Damage;
  for (int N = 0; N < 4; ++N) {
    Damage.push_back("SQRN damage number " + std::to_string(N));
    WriteFileText(File, Damage.back());
    TRunStore S(File);
    ASSERT_TRUE(S.LoadedDamaged());
    ASSERT_EQ(S.Keep(N, "Caves.sq", 0, "R"), TRunKept::Kept);
    EXPECT_TRUE(S.LastSaveSucceeded());
  }
  EXPECT_EQ(ReadFileText(File + ".bad"), Damage[0]);
  EXPECT_EQ(ReadFileText(File + ".bad.1"), "a copy kept by hand");
  EXPECT_EQ(ReadFileText(File + ".bad.3"), Damage[1]);
  EXPECT_EQ(ReadFileText(File + ".bad.4"), Damage[2]);
  EXPECT_EQ(ReadFileText(File + ".bad.5"), Damage[3]);
  EXPECT_TRUE(Capture.Contains("Damaged file kept as " + File + ".bad.5"));
  EXPECT_EQ(TempFilesIn(VXToolbox::ExtractFileDir(File)), std::vector<std::string>{});
  EXPECT_EQ(TRunStore(File).Runs().size(), 1u);
}

// When every name a copy could take is in use, the damaged file stays.
TEST(RunStore, NoFreeNameForACopyRefusesTheSave) {
  TTempDir Dir;
  TLogCapture Capture;
  const std::string File = Dir.File("Starquarry.runs");
  for (int N = 0; N < TStoreFile::kMaxKeptCopies; ++N) WriteFileText(KeptCopyName(File, N), "old");
  WriteFileText(File, "SQRN damaged");
  TRunStore S(File);
  EXPECT_EQ(S.Keep(0, "Caves.sq", 0, "R"), TRunKept::Kept);
  EXPECT_FALSE(S.LastSaveSucceeded());
  EXPECT_EQ(ReadFileText(File), "SQRN damaged");
  EXPECT_TRUE(Capture.Contains("1000 damaged copies of " + File + " are kept already"));
}

TEST(RunStore, AFileThatCannotBeReadIsNeverReplaced) {
  TTempDir Dir;
  TLogCapture Capture;
  const std::string File = Dir.File("Starquarry.runs");
  const int Socket = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(Socket, 0);
  TScopeGuard Close([Socket] { close(Socket); });
  sockaddr_un A{};
  A.sun_family = AF_UNIX;
  std::strncpy(A.sun_path, File.c_str(), sizeof A.sun_path - 1);
  ASSERT_EQ(bind(Socket, reinterpret_cast<sockaddr*>(&A), sizeof A), 0);
  TRunStore S(File);
  EXPECT_TRUE(S.LoadedDamaged());
  EXPECT_EQ(S.Keep(0, "Caves.sq", 0, "R"), TRunKept::Kept);
  EXPECT_FALSE(S.LastSaveSucceeded());
  EXPECT_TRUE(IsSocket(File));
  EXPECT_FALSE(VXToolbox::FileExists(File + ".bad"));
}

// Any cut, any flipped byte and any trailing byte is damage, never a
// half-read store.
TEST(RunStore, EveryDamageOfTheLayoutIsNoticed) {
  const auto Good = TRunStore::Encode({{7, "Caves.sq", 12, "UDLR."}, {-3, "", 0, "R"}});
  std::vector<TRun> Runs;
  ASSERT_TRUE(TRunStore::Decode(Good, Runs));
  ASSERT_EQ(Runs.size(), 2u);
  EXPECT_EQ(Runs[0].Keys, "UDLR.");
  EXPECT_EQ(Runs[1].Player, -3);
  for (size_t N = 0; N < Good.size(); ++N) {
    EXPECT_FALSE(TRunStore::Decode(std::vector<uint8_t>(Good.begin(), Good.begin() + N), Runs)) << N;
    auto Flipped = Good;
    Flipped[N] ^= 0x40;
    EXPECT_FALSE(TRunStore::Decode(Flipped, Runs)) << N;
    EXPECT_TRUE(Runs.empty());
  }
  auto Longer = Good;
  Longer.push_back(0);
  EXPECT_FALSE(TRunStore::Decode(Longer, Runs));
  // Sound bytes, yet not ours: two runs of one map, or a key outside the five.
  EXPECT_FALSE(TRunStore::Decode(TRunStore::Encode({{1, "A", 0, "R"}, {1, "a", 0, "L"}}), Runs));
  EXPECT_FALSE(TRunStore::Decode(TRunStore::Encode({{1, "A", 0, "RX"}}), Runs));
  EXPECT_TRUE(TRunStore::Decode(TRunStore::Encode({}), Runs));
}

// A file of a few years of many players loads at once, and a run in it is
// found (the speed itself is measured in the benchmarks).
TEST(RunStore, AFileOfTwoHundredThousandRunsLoadsWhole) {
  TTempDir Dir;
  const std::string File = Dir.File("Starquarry.runs");
  std::vector<TRun> Many;
  Many.reserve(200000);
  for (int32_t I = 0; I < 200000; ++I)
    Many.push_back({I % 400, "Pack" + std::to_string(I % 5) + ".sq", I / 400, std::string(1 + I % 7, "UDLR."[I % 5])});
  WriteFileBytes(File, TRunStore::Encode(Many));

  const auto Start = std::chrono::steady_clock::now();
  TRunStore S(File);
  const double Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
  EXPECT_FALSE(S.LoadedDamaged());
  ASSERT_EQ(S.Runs().size(), Many.size());
  EXPECT_LT(Seconds, 20.0) << "the load grows faster than the file";
  for (size_t I : {size_t{0}, size_t{1}, size_t{123457}, Many.size() - 1}) {
    const TRun& R = Many[I];
    const TRun* Found = S.Best(R.Player, VXToolbox::LowerCase(R.Pack), R.MapNo);
    ASSERT_NE(Found, nullptr) << I;
    EXPECT_EQ(Found->Keys, R.Keys) << I;
  }
  EXPECT_EQ(S.Best(400, "Pack0.sq", 0), nullptr);
  EXPECT_EQ(S.Keep(6, "PACK1.SQ", 0, "R"), TRunKept::Kept) << "replaces the run of map 0, not a second one";
  EXPECT_EQ(S.Runs().size(), Many.size());
  EXPECT_EQ(S.Best(6, "Pack1.sq", 0)->Keys, "R");
  EXPECT_EQ(S.DeletePlayer(399), 500);
  EXPECT_EQ(S.Best(398, "Pack3.sq", Many[199998].MapNo)->Keys, Many[199998].Keys) << "found after a deletion";

  // One map twice, far apart and in other letters, is still damage.
  Many.push_back({Many[5].Player, VXToolbox::UpperCase(Many[5].Pack), Many[5].MapNo, "R"});
  std::vector<TRun> Runs;
  EXPECT_FALSE(TRunStore::Decode(TRunStore::Encode(Many), Runs));
}

TEST(PlayerRuns, FiledUnderThePlayersIdentifier) {
  TTempDir Dir;
  TChangeDir Here(Dir.Path());
  TPlayerReg R;
  R.AddPlayer("Ann");
  R.AddPlayer("Bo");
  R.AddLevelPack("Caves.sq");
  // The play screen's one call after a completed map; the map selection's question.
  EXPECT_EQ(R.KeepRun("caves.sq", "ann", 2, "RRDD"), TRunKept::Kept);
  EXPECT_EQ(R.KeepRun("Caves.sq", "Ann", 2, "RRDDL"), TRunKept::NotShorter);
  EXPECT_EQ(R.KeepRun("Caves.sq", "Bo", 2, "R"), TRunKept::Kept);
  EXPECT_EQ(R.KeepRun("Caves.sq", "Nobody", 2, "R"), TRunKept::BadRun);
  ASSERT_NE(R.BestRun("Caves.sq", "Ann", 2), nullptr);
  EXPECT_EQ(R.BestRun("Caves.sq", "Ann", 2)->Steps(), 4);
  EXPECT_EQ(R.BestRun("Caves.sq", "Ann", 1), nullptr);
  EXPECT_EQ(R.BestRun("Caves.sq", "Nobody", 2), nullptr);
  EXPECT_EQ(TRunStore("Starquarry.runs").Best(R.PlayerID("Ann"), "Caves.sq", 2)->Pack, "Caves.sq")
      << "the pack's name as the registry knows it";

  // Renaming keeps the runs; deleting drops them, on disk too.
  ASSERT_TRUE(R.RenamePlayer(0, "Anna"));
  EXPECT_EQ(R.BestRun("Caves.sq", "Anna", 2)->Keys, "RRDD");
  const int32_t BoID = R.PlayerID("Bo");
  ASSERT_TRUE(R.DeletePlayer("Bo"));
  EXPECT_EQ(TRunStore("Starquarry.runs").Best(BoID, "Caves.sq", 2), nullptr);
  EXPECT_NE(TRunStore("Starquarry.runs").Best(R.PlayerID("Anna"), "Caves.sq", 2), nullptr);
}

TEST(PlayerRuns, ANewPlayerNeverInheritsRunsLeftFromALostRegistry) {
  TTempDir Dir;
  TChangeDir Here(Dir.Path());
  {
    TRunStore Left("Starquarry.runs");
    ASSERT_EQ(Left.Keep(4, "Caves.sq", 0, "RR"), TRunKept::Kept);
  }
  TPlayerReg R;  // no registry file: it starts afresh at identifier 0
  ASSERT_TRUE(R.AddPlayer("New"));
  EXPECT_EQ(R.PlayerID("New"), 5);
  EXPECT_EQ(R.BestRun("Caves.sq", "New", 0), nullptr);
}

// Runs filed under the largest identifier must not make the counter wrap:
// two new players would share the negative one, and deleting either would
// delete the other's runs.
TEST(PlayerRuns, RunsAtTheTopOfTheRangeLeaveNewPlayersDistinctIdentifiers) {
  TTempDir Dir;
  TChangeDir Here(Dir.Path());
  TLogCapture Capture;
  {
    TRunStore Left("Starquarry.runs");
    ASSERT_EQ(Left.Keep(TPlayerRegistry::kTopID, "Caves.sq", 0, "RR"), TRunKept::Kept);
    ASSERT_EQ(Left.Keep(0, "Caves.sq", 0, "LL"), TRunKept::Kept);
  }
  TPlayerReg R;
  ASSERT_TRUE(R.AddPlayer("Ann"));
  ASSERT_TRUE(R.AddLevelPack("Caves.sq"));
  ASSERT_TRUE(R.AddPlayer("Bo"));
  const int32_t Ann = R.PlayerID("Ann"), Bo = R.PlayerID("Bo"), Pack = R.LevelPackID("Caves.sq");
  for (int32_t ID : {Ann, Bo, Pack}) {
    EXPECT_GT(ID, 0) << "0 has runs filed under it";
    EXPECT_LT(ID, TPlayerRegistry::kTopID);
  }
  EXPECT_NE(Ann, Bo);
  EXPECT_NE(Ann, Pack);
  EXPECT_NE(Bo, Pack);
  EXPECT_TRUE(Capture.Contains("Runs are filed under identifier 2147483647"));
  ASSERT_EQ(R.KeepRun("Caves.sq", "Bo", 1, "R"), TRunKept::Kept);
  ASSERT_TRUE(R.DeletePlayer("Ann"));
  EXPECT_NE(R.BestRun("Caves.sq", "Bo", 1), nullptr);
  EXPECT_EQ(R.Runs().Runs().size(), 3u);
  TPlayerReg Again;
  ASSERT_TRUE(Again.AddPlayer("Cy"));
  EXPECT_EQ(Again.PlayerID("Cy"), 1) << "the lowest identifier nothing uses";
}

TEST(PlayerRuns, LiveBesideTheRegistryFile) {
  TTempDir Dir;
  TPlayerReg R(Dir.File("p.vmu"));
  R.AddPlayer("Ann");
  R.KeepRun("Caves.sq", "Ann", 0, "R");
  EXPECT_EQ(R.Runs().FileName(), Dir.File("Starquarry.runs"));
  EXPECT_TRUE(VXToolbox::FileExists(Dir.File("Starquarry.runs")));
}

TEST(RunStore, ARunAHintHelpedKeepsItsMarkAndGivesWayToOneWithout) {
  TTempDir Dir;
  const std::string File = Dir.File("Starquarry.runs");
  {
    TRunStore Store(File);
    EXPECT_EQ(Store.Keep(1, "Caves.sq", 0, Steps(20), true), TRunKept::Kept);
    EXPECT_EQ(Store.Keep(1, "Caves.sq", 0, Steps(12), true), TRunKept::Kept) << "shorter, also hinted";
    EXPECT_EQ(Store.Keep(1, "Caves.sq", 0, Steps(30)), TRunKept::Kept) << "the player's own, though longer";
    EXPECT_EQ(Store.Keep(1, "Caves.sq", 0, Steps(5), true), TRunKept::NotShorter) << "a hint never beats it";
    EXPECT_EQ(Store.Keep(1, "Caves.sq", 1, Steps(4), true), TRunKept::Kept);
  }
  TRunStore Again(File);
  ASSERT_FALSE(Again.LoadedDamaged());
  ASSERT_NE(Again.Best(1, "Caves.sq", 0), nullptr);
  EXPECT_FALSE(Again.Best(1, "Caves.sq", 0)->Hinted);
  EXPECT_EQ(Again.Best(1, "Caves.sq", 0)->Steps(), 30);
  ASSERT_NE(Again.Best(1, "Caves.sq", 1), nullptr);
  EXPECT_TRUE(Again.Best(1, "Caves.sq", 1)->Hinted);
}

TEST(RunStore, FilesWithoutMarksKeepTheFirstLayoutAndBothLoad) {
  // A store without a hinted run is written exactly as before marks existed.
  const auto Plain = TRunStore::Encode({{7, "Caves.sq", 12, "UDLR."}});
  ASSERT_GE(Plain.size(), 6u);
  EXPECT_EQ(Plain[4], 1);
  EXPECT_EQ(Plain.size(), 4u + 2 + 4 + (4 + 2 + 8 + 4 + 4 + 5) + 4);
  std::vector<TRun> Runs;
  ASSERT_TRUE(TRunStore::Decode(Plain, Runs));
  EXPECT_FALSE(Runs[0].Hinted);

  const auto Marked = TRunStore::Encode({{7, "Caves.sq", 12, "UDLR."}, {8, "Caves.sq", 12, "R", true}});
  EXPECT_EQ(Marked[4], 2);
  ASSERT_TRUE(TRunStore::Decode(Marked, Runs));
  ASSERT_EQ(Runs.size(), 2u);
  EXPECT_FALSE(Runs[0].Hinted);
  EXPECT_TRUE(Runs[1].Hinted);
  // Every truncation of the marked layout is noticed as well.
  for (size_t N = 0; N < Marked.size(); ++N)
    EXPECT_FALSE(TRunStore::Decode(std::vector<uint8_t>(Marked.begin(), Marked.begin() + N), Runs)) << N;
}
