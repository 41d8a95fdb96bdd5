#include "registry/player_registry.h"

#include <gtest/gtest.h>

#include <limits>

#include "shell/safe_file_writer.h"
#include "shell/toolbox.h"
#include "tests/support/bytes.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_support.h"

namespace {
std::vector<uint8_t> Read(TPlayerRegistry& R, const std::string& Player, const std::string& Pack, int32_t Offset,
                          int32_t Count) {
  std::vector<uint8_t> Out(static_cast<size_t>(Count), 0xEE);
  if (!R.ReadData(Player, Pack, Offset, Count, Out.data())) return {};
  return Out;
}

bool Write(TPlayerRegistry& R, const std::string& Player, const std::string& Pack, int32_t Offset,
           std::vector<uint8_t> Bytes) {
  return R.WriteData(Player, Pack, Offset, static_cast<int32_t>(Bytes.size()), Bytes.data());
}
}  // namespace

TEST(PlayerRegistry, PlayersAndPacksShareOneCounterAndNamesIgnoreCase) {
  TPlayerRegistry R;
  EXPECT_TRUE(R.AddPlayer("Alice"));
  EXPECT_TRUE(R.AddLevelPack("Caves.sq"));
  EXPECT_EQ(R.PlayerID("alice"), 0);
  EXPECT_EQ(R.LevelPackID("CAVES.SQ"), 1);
  EXPECT_EQ(R.NextID, 2);
  EXPECT_FALSE(R.AddPlayer("ALICE"));
  EXPECT_FALSE(R.AddLevelPack("caves.sq"));
  EXPECT_EQ(R.NextID, 2) << "a refused name draws no identifier";

  // Deleting only unlists: the data stays, and a new player of the same name
  // gets a fresh identifier instead of inheriting the old progress.
  ASSERT_TRUE(Write(R, "Alice", "Caves.sq", 0, {1}));
  EXPECT_TRUE(R.DeletePlayer("aLiCe"));
  EXPECT_FALSE(R.DeletePlayer("Alice"));
  EXPECT_EQ(R.Datas.size(), 1u);
  EXPECT_TRUE(R.AddPlayer("Alice", "second"));
  EXPECT_EQ(R.PlayerID("Alice"), 2);
  EXPECT_TRUE(Read(R, "Alice", "Caves.sq", 0, 1).empty());
  EXPECT_TRUE(R.DeleteLevelPack("Caves.sq"));
  EXPECT_FALSE(R.DeleteLevelPack("Caves.sq"));

  std::string Name = "unchanged";
  R.GetPlayerName(1, Name);
  EXPECT_EQ(Name, "unchanged");
  EXPECT_FALSE(R.RenamePlayer(1, "Bob"));
}

TEST(PlayerRegistry, WriteDataPadsAndReadDataGrowsWithZeros) {
  TPlayerRegistry R;
  R.AddPlayer("P");
  R.AddLevelPack("L");
  ASSERT_TRUE(Write(R, "P", "L", 10, {1, 2, 3, 4}));
  ASSERT_EQ(R.Datas.size(), 1u);
  EXPECT_EQ(R.Datas[0].Data, std::vector<uint8_t>({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4}));
  EXPECT_EQ(Read(R, "P", "L", 20, 8), std::vector<uint8_t>(8, 0));
  EXPECT_EQ(R.Datas[0].Data.size(), 28u);
  EXPECT_EQ(Read(R, "P", "L", 11, 2), std::vector<uint8_t>({2, 3}));
  // Overwriting inside the block does not grow it.
  ASSERT_TRUE(Write(R, "P", "L", 0, {9}));
  EXPECT_EQ(R.Datas[0].Data.size(), 28u);

  EXPECT_FALSE(Write(R, "Nobody", "L", 0, {1}));
  EXPECT_FALSE(Write(R, "P", "L", -1, {1}));
  EXPECT_FALSE(Write(R, "P", "L", 0x7FFFFFFF, {1})) << "the block would outgrow its 32-bit length";
  EXPECT_EQ(R.Datas.size(), 1u);

  EXPECT_TRUE(R.ClearData("p", "l"));
  EXPECT_TRUE(R.Datas[0].Data.empty());
  EXPECT_FALSE(R.ClearData("P", "Nothing"));
}

TEST(PlayerRegistry, LogsStatusOnlyWhenLoggingButReadWarningsAlways) {
  TTempDir Dir;
  TLogCapture Capture;
  TPlayerRegistry R;
  R.AddPlayer("Quiet");
  R.AddLevelPack("L");
  EXPECT_TRUE(Read(R, "Ghost", "L", 0, 1).empty());
  EXPECT_TRUE(Read(R, "Quiet", "Void", 0, 1).empty());
  EXPECT_TRUE(Read(R, "Quiet", "L", 0, 1).empty());
  R.Logging = true;
  R.AddPlayer("P", "info");
  R.AddPlayer("p");
  Write(R, "P", "L", 2, {7});

  const std::string H = "PlayerRegistryUnit, TPlayerRegistry.";
  EXPECT_TRUE(Capture.HasLine("[" + H + "ReadData] Player not found. (Ghost, L)"));
  EXPECT_TRUE(Capture.HasLine("[" + H + "ReadData] LevelPack not found. (Quiet, Void)"));
  EXPECT_TRUE(Capture.HasLine("[" + H + "ReadData] Data record not found. (Quiet, L)"));
  EXPECT_EQ(Capture.Count("Addplayer('Quiet'"), 0u);
  EXPECT_TRUE(Capture.HasLine("(" + H + "AddPlayer) Addplayer('P','info')"));
  EXPECT_TRUE(Capture.HasLine("(" + H + "AddPlayer) Player added. ID=2"));
  EXPECT_TRUE(Capture.HasLine("[" + H + "AddPlayer] AddPlayer failed."));
  const std::string W = "(" + H + "WriteData) ";
  EXPECT_NE(Capture.Text().find(W + "WriteData('P','L',2,1)\r\n" + W + "PlayerID=2\r\n" + W + "LevelPackID=1\r\n" + W +
                                "No data record for this combination, creating a new one.\r\n" + W +
                                "Data current size: 0\r\n" + W + "Padding with 2 bytes of zeroes.\r\n" + W +
                                "Writing data.\r\n" + W + "Data size after writing: 3\r\n"),
            std::string::npos);
}

TEST(PlayerRegistry, SavesThePREGLayoutWithTrailingZerosTrimmed) {
  TTempDir Dir;
  TPlayerRegistry R;
  R.AddPlayer("Ann", "x");
  R.AddLevelPack("Pack");
  R.AddPlayer("Bo");
  Write(R, "Ann", "Pack", 0, {1, 0, 2, 0, 0, 0, 0, 0, 0});
  Write(R, "Bo", "Pack", 0, {5});
  R.ClearData("Bo", "Pack");
  ASSERT_TRUE(R.Save(Dir.File("p.vmu")));

  const auto Expected = TBytes()
                            .Text("PREG")
                            .I32(3)
                            .U16(2)
                            .I32(0)
                            .Str("Ann")
                            .Str("x")
                            .I32(2)
                            .Str("Bo")
                            .Str("")
                            .U16(1)
                            .I32(1)
                            .Str("Pack")
                            .U16(2)
                            .I32(0)
                            .I32(1)
                            .I32(3)
                            .U8(1)
                            .U8(0)
                            .U8(2)
                            .I32(2)
                            .I32(1)
                            .I32(0)
                            .Get();
  EXPECT_EQ(ReadFileBytes(Dir.File("p.vmu")), Expected);
  EXPECT_EQ(TempFilesIn(Dir.Path()), std::vector<std::string>{});

  TPlayerRegistry Back;
  ASSERT_TRUE(Back.Load(Dir.File("p.vmu")));
  EXPECT_EQ(Back.NextID, 3);
  EXPECT_EQ(Read(Back, "Ann", "Pack", 0, 9), std::vector<uint8_t>({1, 0, 2, 0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(Back.Datas.at(1).Data.empty());
  EXPECT_FALSE(Back.LoadedDamaged());
}

TEST(PlayerRegistry, LoadAppendsAndReadsNonPositiveLengthsAsEmpty) {
  TTempDir Dir;
  WriteFileBytes(Dir.File("h.vmu"), TBytes()
                                        .Text("PREG")
                                        .I32(7)
                                        .U16(1)
                                        .I32(4)
                                        .Str("Hand")
                                        .Str("")
                                        .U16(1)
                                        .I32(5)
                                        .Str("Made")
                                        .U16(2)
                                        .I32(4)
                                        .I32(5)
                                        .I32(-3)
                                        .I32(4)
                                        .I32(6)
                                        .I32(0)
                                        .Get());
  TPlayerRegistry R;
  R.AddPlayer("Existing");
  ASSERT_TRUE(R.Load(Dir.File("h.vmu")));
  EXPECT_EQ(R.NextID, 7);
  ASSERT_EQ(R.Players.size(), 2u);
  EXPECT_EQ(R.Players[0].Name, "Existing");
  EXPECT_EQ(R.Players[1].ID, 4);
  ASSERT_EQ(R.Datas.size(), 2u);
  EXPECT_TRUE(R.Datas[0].Data.empty());
  EXPECT_FALSE(R.LoadedDamaged());
}

// A file may hold any identifier and any counter; a new player or pack still
// gets one that is non-negative and nobody's, and the counter never wraps.
TEST(PlayerRegistry, IdentifiersAtTheTopOfTheRangeOrNegativeNeverWrap) {
  TTempDir Dir;
  TLogCapture Capture;
  const auto File = [](int32_t NextID, int32_t Player, int32_t Pack) {
    return TBytes()
        .Text("PREG")
        .I32(NextID)
        .U16(1)
        .I32(Player)
        .Str("Top")
        .Str("")
        .U16(1)
        .I32(Pack)
        .Str("Caves.sq")
        .U16(1)
        .I32(Player)
        .I32(Pack)
        .I32(1)
        .U8(2)
        .Get();
  };
  WriteFileBytes(Dir.File("top.vmu"), File(5, TPlayerRegistry::kTopID, 0));
  TPlayerRegistry R;
  ASSERT_TRUE(R.Load(Dir.File("top.vmu")));
  EXPECT_EQ(R.NextID, TPlayerRegistry::kTopID);
  EXPECT_TRUE(Capture.Contains("[PlayerRegistryUnit, TPlayerRegistry.Load] Identifier 2147483647 is in use"));
  ASSERT_TRUE(R.AddPlayer("A"));
  ASSERT_TRUE(R.AddLevelPack("B.sq"));
  ASSERT_TRUE(R.AddPlayer("C"));
  EXPECT_EQ(R.PlayerID("A"), 1);
  EXPECT_EQ(R.LevelPackID("B.sq"), 2);
  EXPECT_EQ(R.PlayerID("C"), 3);
  EXPECT_EQ(R.NextID, TPlayerRegistry::kTopID);
  // A deleted player's progress keeps its identifier from being handed out.
  ASSERT_TRUE(R.DeletePlayer("Top"));
  ASSERT_TRUE(R.AddPlayer("D"));
  EXPECT_EQ(R.PlayerID("D"), 4);
  EXPECT_TRUE(Read(R, "D", "Caves.sq", 0, 1).empty());

  // A stored counter of the top value, or below zero, hands out no negative one.
  for (int32_t NextID : {TPlayerRegistry::kTopID, -7, std::numeric_limits<int32_t>::min()}) {
    WriteFileBytes(Dir.File("odd.vmu"), File(NextID, -20, -10));
    TPlayerRegistry O;
    ASSERT_TRUE(O.Load(Dir.File("odd.vmu")));
    ASSERT_TRUE(O.AddPlayer("New"));
    ASSERT_TRUE(O.AddPlayer("Newer"));
    EXPECT_EQ(O.PlayerID("New"), 0) << NextID;
    EXPECT_EQ(O.PlayerID("Newer"), 1) << NextID;
  }
}

TEST(PlayerRegistry, UnknownOrMissingFilesLoadNothing) {
  TTempDir Dir;
  TLogCapture Capture;
  TPlayerRegistry R;
  EXPECT_FALSE(R.Load(Dir.File("missing.vmu")));
  EXPECT_FALSE(R.LoadedDamaged());
  WriteFileText(Dir.File("odd.vmu"), "ABCD\x01\x00\x00\x00");
  EXPECT_FALSE(R.Load(Dir.File("odd.vmu")));
  EXPECT_TRUE(R.Players.empty());
  EXPECT_TRUE(Capture.HasLine("{PlayerRegistryUnit, TPlayerRegistry.Load} Unknown file format! (FourCC=ABCD\")"));
}

TEST(PlayerRegistry, TwoHundredPlayersRoundTrip) {
  TTempDir Dir;
  TPlayerRegistry R;
  for (int I = 0; I < 200; ++I) ASSERT_TRUE(R.AddPlayer("Player" + std::to_string(I)));
  ASSERT_TRUE(R.Save(Dir.File("many.vmu")));
  const auto Bytes = ReadFileBytes(Dir.File("many.vmu"));
  ASSERT_GT(Bytes.size(), 10u);
  EXPECT_EQ(Bytes[8], 200);
  EXPECT_EQ(Bytes[9], 0);
  TPlayerRegistry Back;
  ASSERT_TRUE(Back.Load(Dir.File("many.vmu")));
  ASSERT_EQ(Back.Players.size(), 200u);
  EXPECT_EQ(Back.Players[199].Name, "Player199");
  EXPECT_EQ(Back.Players[199].ID, 199);
}

TEST(PlayerRegistry, SixteenBitLimitsAreRefusedNotWrapped) {
  TTempDir Dir;
  TPlayerRegistry R;
  const std::string Longest(65535, 'a'), TooLong(65536, 'b');
  EXPECT_TRUE(R.AddPlayer(Longest));
  EXPECT_FALSE(R.AddPlayer(TooLong));
  EXPECT_FALSE(R.AddPlayer("Short", TooLong));
  EXPECT_FALSE(R.AddLevelPack(TooLong));
  EXPECT_FALSE(R.RenamePlayer(0, TooLong));
  EXPECT_TRUE(R.AddLevelPack("L"));
  ASSERT_TRUE(R.Save(Dir.File("limits.vmu")));
  TPlayerRegistry Back;
  ASSERT_TRUE(Back.Load(Dir.File("limits.vmu")));
  EXPECT_EQ(Back.Players.at(0).Name, Longest);

  // Full lists: filled directly, the lookups would make this slow.
  for (size_t I = R.Players.size(); I < TPlayerRegistry::kMaxCount; ++I)
    R.Players.push_back({static_cast<int32_t>(1000 + I), "p" + std::to_string(I), ""});
  EXPECT_FALSE(R.AddPlayer("one too many"));
  for (size_t I = R.LevelPacks.size(); I < TPlayerRegistry::kMaxCount; ++I)
    R.LevelPacks.push_back({static_cast<int32_t>(100000 + I), "l" + std::to_string(I)});
  EXPECT_FALSE(R.AddLevelPack("one too many"));
  R.Datas.resize(TPlayerRegistry::kMaxCount, {-5, -5, {}});
  EXPECT_FALSE(Write(R, R.Players[0].Name, "L", 0, {1})) << "a 65536th data record";
  ASSERT_TRUE(R.Save(Dir.File("full.vmu")));
  TPlayerRegistry Full;
  ASSERT_TRUE(Full.Load(Dir.File("full.vmu")));
  EXPECT_EQ(Full.Players.size(), TPlayerRegistry::kMaxCount);
  EXPECT_EQ(Full.Datas.size(), TPlayerRegistry::kMaxCount);

  // Records put in behind the operations' backs are still never wrapped.
  const auto Before = ReadFileBytes(Dir.File("full.vmu"));
  R.Players.push_back({1, "overflow", ""});
  EXPECT_FALSE(R.Save(Dir.File("full.vmu")));
  EXPECT_EQ(ReadFileBytes(Dir.File("full.vmu")), Before);
}

TEST(PlayerRegistry, DamagedFileKeepsWholeRecordsAndIsKeptAsideBeforeTheFirstSave) {
  TTempDir Dir;
  TLogCapture Capture;
  const std::string File = Dir.File("Starquarry.vmu");
  // The third player is cut in the middle of its name.
  auto Cut = TBytes()
                 .Text("PREG")
                 .I32(9)
                 .U16(3)
                 .I32(0)
                 .Str("One")
                 .Str("")
                 .I32(1)
                 .Str("Two")
                 .Str("")
                 .I32(2)
                 .U16(10)
                 .Text("Thr")
                 .Get();
  WriteFileBytes(File, Cut);
  TPlayerRegistry R;
  EXPECT_TRUE(R.Load(File));
  ASSERT_EQ(R.Players.size(), 2u);
  EXPECT_EQ(R.Players[1].Name, "Two");
  EXPECT_TRUE(R.LoadedDamaged());
  EXPECT_NE(Capture.Text().find("{PlayerRegistryUnit, TPlayerRegistry.Load} Damaged player registry " + File),
            std::string::npos);

  EXPECT_FALSE(VXToolbox::FileExists(File + ".bad")) << "nothing moves until a save";
  ASSERT_TRUE(R.Save(File));
  EXPECT_EQ(ReadFileBytes(File + ".bad"), Cut);
  EXPECT_FALSE(R.LoadedDamaged());
  TPlayerRegistry Saved;
  ASSERT_TRUE(Saved.Load(File));
  EXPECT_EQ(Saved.Players.size(), 2u);
  EXPECT_EQ(Saved.NextID, 9);

  // Later saves of the same store leave the kept copy alone.
  WriteFileText(File + ".bad", "kept");
  R.AddPlayer("Three");
  ASSERT_TRUE(R.Save(File));
  EXPECT_EQ(ReadFileText(File + ".bad"), "kept");

  // A later damaged file gets a copy of its own: the first one stays.
  auto Huge = TBytes()
                  .Text("PREG")
                  .I32(1)
                  .U16(1)
                  .I32(0)
                  .Str("A")
                  .Str("")
                  .U16(1)
                  .I32(1)
                  .Str("L")
                  .U16(2)
                  .I32(0)
                  .I32(1)
                  .I32(2)
                  .U8(1)
                  .U8(2)
                  .I32(0)
                  .I32(1)
                  .I32(0x7FFFFFFF)
                  .U8(3)
                  .Get();
  WriteFileBytes(File, Huge);
  TPlayerRegistry H;
  EXPECT_TRUE(H.Load(File));
  EXPECT_TRUE(H.LoadedDamaged());
  ASSERT_EQ(H.Datas.size(), 1u) << "the record whose length runs past the end is dropped";
  EXPECT_EQ(H.Datas[0].Data, std::vector<uint8_t>({1, 2}));
  ASSERT_TRUE(H.Save(File));
  EXPECT_EQ(ReadFileText(File + ".bad"), "kept");
  EXPECT_EQ(ReadFileBytes(File + ".bad.1"), Huge);
  EXPECT_EQ(H.KeptAs(), File + ".bad.1");

  // An unknown format is not ours to overwrite either.
  WriteFileText(File, "XYZW future format");
  TPlayerRegistry U;
  EXPECT_FALSE(U.Load(File));
  ASSERT_TRUE(U.Save(File));
  EXPECT_EQ(ReadFileText(File + ".bad.2"), "XYZW future format");
  EXPECT_EQ(ReadFileBytes(File + ".bad.1"), Huge);
  EXPECT_TRUE(Capture.Contains("Damaged file kept as " + File + ".bad.2"));
}

TEST(PlayerRegistry, FailedOrInterruptedSavesKeepTheOldFile) {
  TTempDir Dir;
  TLogCapture Capture;
  const std::string File = Dir.File("Starquarry.vmu");
  TPlayerRegistry R;
  R.AddPlayer("Saved");
  ASSERT_TRUE(R.Save(File));
  const auto Good = ReadFileBytes(File);

  // A crash after the temporary file is written but before it replaces the
  // old one: the old file is whole and the store still loads it.
  {
    TSafeFileWriter Writer(File);
    ASSERT_TRUE(Writer.Open());
    ASSERT_TRUE(Writer.Stream().WriteString("PREG partial"));
  }
  EXPECT_EQ(ReadFileBytes(File), Good);
  EXPECT_EQ(TempFilesIn(Dir.Path()), std::vector<std::string>{});

  // A stale temporary file from a killed run does not stand in the way.
  WriteFileText(File + ".tmp", "leftover");
  R.AddPlayer("Second");
  ASSERT_TRUE(R.Save(File));
  TPlayerRegistry Back;
  ASSERT_TRUE(Back.Load(File));
  EXPECT_EQ(Back.Players.size(), 2u);
  const auto Two = ReadFileBytes(File);

  // The temporary file cannot be written whole (a player too large for the
  // disk's room, while the log still has room): the save fails, says so,
  // and the old file is kept.
  R.AddPlayer("Third", std::string(40000, 'i'));
  {
    TFileSizeLimit Full(20000);
    EXPECT_FALSE(R.Save(File));
  }
  EXPECT_EQ(ReadFileBytes(File), Two);
  EXPECT_NE(Capture.Text().find("{PlayerRegistryUnit, TPlayerRegistry.Save} Not saved, the previous file is kept"),
            std::string::npos);
}
