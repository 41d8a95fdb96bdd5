// -edit on files the editor cannot work on, with the game itself: the cause
// on standard error and exit code 1, at once.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "shell/toolbox.h"
#include "tests/support/test_support.h"

namespace {

struct TEditRun {
  int Code = -1;
  std::string Errors;
};

class EditSwitch : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!VXToolbox::FileExists(Game)) GTEST_SKIP() << "the game is not built";
  }
  // Runs the game with -edit Pack in the test's folder; Prefix goes before
  // the command (another user, a time limit).
  TEditRun Edit(const std::string& Pack, const std::string& Prefix = "") {
    TEditRun R;
    R.Code = RunCommand("cd '" + Dir.Path() + "' && " + Prefix + " env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy '" +
                            Game + "' -nolog -edit '" + Pack + "' 2>&1 >/dev/null",
                        &R.Errors);
    return R;
  }
  const std::string Game = PlayDir() + "starquarry";
  TTempDir Dir;
};

}  // namespace

TEST_F(EditSwitch, FilesThatAreNoPackAreRefusedWithTheirCause) {
  std::filesystem::create_directory(Dir.File("folder.sq"));
  WriteFileText(Dir.File("notes.sq"), "a text file\n");
  // 400 MB of zeros, as a sparse file: it must be turned away without being read.
  WriteFileText(Dir.File("zeros.sq"), "");
  ASSERT_EQ(truncate(Dir.File("zeros.sq").c_str(), 400 << 20), 0);
  ASSERT_EQ(mkfifo(Dir.File("pipe.sq").c_str(), 0600), 0);
  const std::pair<const char*, const char*> Cases[] = {
      {"folder.sq", "starquarry: folder.sq is a folder, not a level pack\n"},
      {"notes.sq", "starquarry: notes.sq is not a level pack\n"},
      {"zeros.sq", "starquarry: zeros.sq is not a level pack\n"},
      {"pipe.sq", "starquarry: pipe.sq is not a regular file\n"},
      {"no/such/folder.sq", "starquarry: cannot create no/such/folder.sq: No such file or directory\n"},
  };
  for (const auto& [Pack, Expected] : Cases) {
    // A game that waited in open() on the FIFO would be stopped here.
    const TEditRun R = Edit(Pack, "timeout 20");
    EXPECT_EQ(R.Code, 1) << Pack;
    EXPECT_EQ(R.Errors, Expected) << Pack;
  }
  EXPECT_EQ(ReadFileText(Dir.File("notes.sq")), "a text file\n") << "left as it was";
}

TEST_F(EditSwitch, AMissingPackInAFolderThatTakesNoFilesIsRefused) {
  const std::string Folder = Dir.File("ro");
  std::filesystem::create_directory(Folder);
  ASSERT_EQ(chmod(Folder.c_str(), 0555), 0);
  // Permissions do not hold root back: the game then runs as nobody.
  std::string As;
  if (geteuid() == 0) {
    ASSERT_EQ(chmod(Dir.Path().c_str(), 0777), 0);
    As = "setpriv --reuid=65534 --regid=65534 --clear-groups";
  }
  const TEditRun R = Edit("ro/new.sq", As);
  EXPECT_EQ(R.Code, 1);
  EXPECT_EQ(R.Errors, "starquarry: cannot create ro/new.sq: Permission denied\n");
  EXPECT_FALSE(std::filesystem::exists(Folder + "/new.sq"));
}
