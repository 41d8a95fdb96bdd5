#include "game/level_pack_list.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/support/test_support.h"

namespace {

TEST(LevelPackListTest, PackFilesSortedIgnoringCase) {
  TTempDir Dir;
  for (const char* Name : {"zeta.sq", "Alpha.SQ", "beta.Sq", "notes.txt", "sq", "tail.sqx", "gamma.sq.bak"})
    WriteFileText(Dir.File(Name), "x");
  // A folder named like a pack is not one.
  std::filesystem::create_directory(Dir.File("folder.sq"));
  EXPECT_EQ(ListLevelPacks(Dir.Path()), (std::vector<std::string>{"Alpha.SQ", "beta.Sq", "zeta.sq"}));
}

TEST(LevelPackListTest, OnlyRegularFilesAndLinksToThemAreOffered) {
  TTempDir Dir;
  WriteFileText(Dir.File("real.sq"), "x");
  std::filesystem::create_symlink("real.sq", Dir.File("linked.sq"));
  std::filesystem::create_symlink("gone.sq", Dir.File("dangling.sq"));
  // Opening a FIFO waits for a writer: offered, it would hang the game.
  ASSERT_EQ(mkfifo(Dir.File("pipe.sq").c_str(), 0600), 0);
  EXPECT_EQ(ListLevelPacks(Dir.Path()), (std::vector<std::string>{"linked.sq", "real.sq"}));
}

TEST(LevelPackListTest, NamesDifferingOnlyInCaseKeepAFixedOrder) {
  TTempDir Dir;
  for (const char* Name : {"b.sq", "B.sq", "a.sq"}) WriteFileText(Dir.File(Name), "x");
  EXPECT_EQ(ListLevelPacks(Dir.Path()), (std::vector<std::string>{"a.sq", "B.sq", "b.sq"}));
}

TEST(LevelPackListTest, TheWorkingFolderByDefaultAndNothingWhenEmptyOrMissing) {
  TTempDir Dir;
  TChangeDir Here(Dir.Path());
  EXPECT_TRUE(ListLevelPacks().empty());
  WriteFileText(Dir.File("one.sq"), "x");
  EXPECT_EQ(ListLevelPacks(), (std::vector<std::string>{"one.sq"}));
  EXPECT_TRUE(ListLevelPacks(Dir.File("missing")).empty());
}

}  // namespace
