// The shared test helpers: a failing test must still put the process back as
// it found it, and the tool runner must keep what the program said apart.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <filesystem>

#include "shell/logger.h"
#include "tests/support/bytes.h"
#include "tests/support/data_folder.h"
#include "tests/support/log_capture.h"
#include "tests/support/scope_guard.h"
#include "tests/support/sqtool_runner.h"
#include "tests/support/test_support.h"

namespace {

std::string WorkingFolder() {
  char Buffer[PATH_MAX];
  return getcwd(Buffer, sizeof Buffer) ? Buffer : "";
}

// Runs Body, keeping its failures out of the current test; gives their number.
template <typename F>
int Failures(F Body) {
  ::testing::TestPartResultArray Results;
  {
    ::testing::ScopedFakeTestPartResultReporter Reporter(
        ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &Results);
    Body();
  }
  return Results.size();
}

}  // namespace

TEST(ScopeGuard, RestoresTheOldValueAlsoAfterAFailedAssertion) {
  auto Target = std::make_unique<int>(3);
  int Depth = 24;
  int Undone = 0;
  EXPECT_EQ(Failures([&] {
              TRestore Swapped(Target, std::make_unique<int>(8));
              TRestore Emptied(Depth);
              TScopeGuard Undo([&] { ++Undone; });
              EXPECT_EQ(*Swapped.Old(), 3);
              EXPECT_EQ(Depth, 0);
              ASSERT_EQ(*Target, 9);  // fails and leaves the body
              Depth = 99;
            }),
            1);
  ASSERT_TRUE(Target);
  EXPECT_EQ(*Target, 3);
  EXPECT_EQ(Depth, 24);
  EXPECT_EQ(Undone, 1);
}

TEST(LogCapture, ReadsEveryLevelBackAndLeavesTheLogUnset) {
  {
    TLogCapture Capture;
    Log->Debug("one", "H");
    Log->Warning("two", "H");
    Log->Warning("two", "H");
    EXPECT_TRUE(Capture.HasLine("<H> one"));
    EXPECT_FALSE(Capture.HasLine("<H> on"));
    EXPECT_TRUE(Capture.Contains("<H> on"));
    EXPECT_EQ(Capture.Count("[H] two\r\n"), 2u);
    EXPECT_EQ(Capture.Text(), ReadFileText(Capture.FileName()));
  }
  EXPECT_FALSE(static_cast<bool>(Log));
}

TEST(Bytes, LittleEndianFieldsAndCountedText) {
  const TBytes B = TBytes().U8(0x101).U16(0x1234).U32(0xA1B2C3D4).I32(-2).Str("ab").Text("c").Fill(2, 7).Add({9});
  EXPECT_EQ(B.Get(), (std::vector<uint8_t>{0x01, 0x34, 0x12, 0xD4, 0xC3, 0xB2, 0xA1, 0xFE, 0xFF, 0xFF, 0xFF, 2, 0, 'a',
                                           'b', 'c', 7, 7, 9}));
  TMemoryStream S = B.Stream();
  EXPECT_EQ(S.Size(), static_cast<int64_t>(B.Size()));
}

TEST(Sqtool, RunsInItsFolderAndKeepsTheStreamsApart) {
  TTempDir Dir;
  const std::string Odd = Dir.File("it's a folder");
  std::filesystem::create_directory(Odd);
  WriteFileText(Odd + "/a.mapt", "MAPT\r\nWI2\r\nHE1\r\nMP*!\r\nXX\r\n");
  const std::string Before = WorkingFolder();
  const TSqtool Map(Odd, "map");

  const TToolResult Done = Map.Run("convert a.mapt " + ShellQuote("b c.mapb") + " b");
  EXPECT_EQ(Done.Code, 0);
  EXPECT_EQ(Done.Out, "b c.mapb: MAPB, 2 x 1\n");
  EXPECT_EQ(Done.Err, "");
  EXPECT_FALSE(ReadFileBytes(Odd + "/b c.mapb").empty());
  EXPECT_EQ(WorkingFolder(), Before);

  const TToolResult Failed = Map.Run("convert missing.map out.map B");
  EXPECT_EQ(Failed.Code, 1);
  EXPECT_EQ(Failed.Out, "");
  EXPECT_EQ(Failed.Err, "sqtool: cannot read missing.map\n");
  std::string Joined;
  EXPECT_EQ(Map.RunJoined("convert missing.map out.map B", &Joined), 1);
  EXPECT_EQ(Joined, Failed.Err);
}

TEST(DataFolder, ServesTheBuiltArchiveAndPutsEverythingBack) {
  const std::string Before = WorkingFolder();
  EXPECT_FALSE(VolumeManager);
  EXPECT_FALSE(StreamOpener);
  for (const std::string& Archive : {GameProgram(), DataArchive()}) {
    SCOPED_TRACE(Archive);
    TDataFolder Data(Archive);
    ASSERT_TRUE(Data.Mounted());
    EXPECT_NE(WorkingFolder(), Before);
    EXPECT_TRUE(VolumeManager->IsExists("controls.ini"));
    EXPECT_NO_THROW(StreamOpener->OpenStream("controls.ini"));
  }
  EXPECT_EQ(WorkingFolder(), Before);
  EXPECT_FALSE(VolumeManager);
  EXPECT_FALSE(StreamOpener);
  TTempDir Dir;
  EXPECT_FALSE(TDataFolder(Dir.File("none.mad4")).Mounted());
}
