// sqtool registry, run as a program on files made here.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "registry/player_registry.h"
#include "shell/folder_lock.h"
#include "shell/toolbox.h"
#include "tests/support/sqtool_runner.h"
#include "tests/support/test_support.h"

namespace {
class RegistryTool : public ::testing::Test {
 protected:
  // Runs "sqtool registry ARGS" in the temporary folder; stderr joins stdout.
  int Run(const std::string& Args, std::string* Out = nullptr) { return Tool.RunJoined(Args, Out); }
  std::string Dump() {
    std::string Out;
    EXPECT_EQ(Run("dump p.vmu", &Out), 0) << Out;
    return Out;
  }
  TTempDir Dir;
  TSqtool Tool{Dir.Path(), "registry"};
};
}  // namespace

TEST_F(RegistryTool, SetStateBuildsAFileThatDumpAndGetStateRead) {
  ASSERT_EQ(Run("set-state p.vmu Caves.sq Ann 1 0"), 0);
  ASSERT_EQ(Run("set-state p.vmu caves.SQ ann 2 3"), 0);
  ASSERT_EQ(Run("set-state p.vmu Hills.sq 'Bo B' 1 1"), 0);
  EXPECT_EQ(Dump(),
            "nextid=4\n"
            "player 0 Ann\n"
            "player 2 Bo B\n"
            "pack 1 Caves.sq\n"
            "pack 3 Hills.sq\n"
            "data 0 1 01000002\n"
            "data 2 3 0001\n");
  std::string Out;
  EXPECT_EQ(Run("get-state p.vmu Caves.sq Ann 3", &Out), 0);
  EXPECT_EQ(Out, "2\n");
  EXPECT_EQ(Run("get-state p.vmu Caves.sq Ann 7", &Out), 0);
  EXPECT_EQ(Out, "0\n");
  EXPECT_EQ(Run("get-state p.vmu Caves.sq Nobody 0", &Out), 0);
  EXPECT_EQ(Out, "0\n") << "unknown players read as locked, as in the game";
  EXPECT_FALSE(VXToolbox::FileExists(Dir.File("Starquarry.cfg"))) << "the tool leaves no settings behind";
}

TEST_F(RegistryTool, RenameAndDeleteKeepProgressAndRefuseMistakes) {
  ASSERT_EQ(Run("set-state p.vmu A.sq Ann 2 0"), 0);
  ASSERT_EQ(Run("set-state p.vmu A.sq Bo 1 0"), 0);
  std::string Out;
  EXPECT_EQ(Run("rename-player p.vmu ann Anna"), 0);
  EXPECT_EQ(Run("get-state p.vmu A.sq Anna 0", &Out), 0);
  EXPECT_EQ(Out, "2\n");
  EXPECT_EQ(Run("rename-player p.vmu Anna BO", &Out), 1);
  EXPECT_EQ(Out, "sqtool: a player BO already exists\n");
  EXPECT_EQ(Run("rename-player p.vmu Anna ANNA"), 0) << "a change of case is no clash";
  EXPECT_EQ(Run("rename-player p.vmu Ghost X", &Out), 1);
  EXPECT_EQ(Out, "sqtool: no player Ghost in p.vmu\n");
  EXPECT_EQ(Run("delete-player p.vmu bo"), 0);
  EXPECT_EQ(Run("delete-player p.vmu bo"), 1);
  EXPECT_EQ(Dump(),
            "nextid=3\n"
            "player 0 ANNA\n"
            "pack 1 A.sq\n"
            "data 0 1 02\n"
            "data 2 1 01\n");
}

TEST_F(RegistryTool, DumpsInfoAndEmptyBlocksAndReportsBadInput) {
  TPlayerRegistry R;
  R.AddPlayer("Hand", "made by hand");
  R.AddLevelPack("L");
  uint8_t Zero = 0;
  R.WriteData("Hand", "L", 4, 1, &Zero);
  R.NextID = 40;
  ASSERT_TRUE(R.Save(Dir.File("p.vmu")));
  EXPECT_EQ(Dump(), "nextid=40\nplayer 0 Hand info=made by hand\npack 1 L\ndata 0 1 -\n");

  std::string Out;
  EXPECT_EQ(Run("dump missing.vmu", &Out), 1);
  EXPECT_EQ(Out, "sqtool: cannot read missing.vmu\n");
  WriteFileText(Dir.File("odd.vmu"), "ABCDxxxx");
  EXPECT_EQ(Run("dump odd.vmu", &Out), 1);
  EXPECT_EQ(Out, "sqtool: odd.vmu is not a player registry file\n");
  EXPECT_EQ(Run("set-state p.vmu L Hand 256 0", &Out), 1);
  EXPECT_EQ(Run("get-state p.vmu L Hand", &Out), 1);

  // A cut file: its whole records are shown, the damage is reported.
  auto Bytes = ReadFileBytes(Dir.File("p.vmu"));
  Bytes.resize(Bytes.size() - 6);
  WriteFileBytes(Dir.File("cut.vmu"), Bytes);
  EXPECT_EQ(Run("dump cut.vmu", &Out), 1);
  EXPECT_EQ(Out,
            "nextid=40\nplayer 0 Hand info=made by hand\npack 1 L\n"
            "sqtool: cut.vmu is damaged; only its whole records are shown\n");
  // Changing it keeps the damaged original aside first, and says so once done.
  EXPECT_EQ(Run("set-state cut.vmu L Hand 1 0", &Out), 0);
  EXPECT_EQ(Out, "sqtool: cut.vmu was damaged; the original is kept as cut.vmu.bad\n");
  EXPECT_EQ(ReadFileBytes(Dir.File("cut.vmu.bad")), Bytes);
}

// A file that exists but cannot be read (here a socket): changing it is
// refused, it stays, and no copy is claimed that was not made.
TEST_F(RegistryTool, AFileThatCannotBeReadIsNeverReplaced) {
  const std::string File = Dir.File("p.vmu");
  const int Socket = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(Socket, 0);
  sockaddr_un A{};
  A.sun_family = AF_UNIX;
  std::strncpy(A.sun_path, File.c_str(), sizeof A.sun_path - 1);
  ASSERT_EQ(bind(Socket, reinterpret_cast<sockaddr*>(&A), sizeof A), 0);
  std::string Out;
  EXPECT_EQ(Run("set-state p.vmu Caves.sq Ann 1 0", &Out), 1);
  EXPECT_EQ(Out, "sqtool: cannot save p.vmu; the previous file is kept\n");
  EXPECT_EQ(Run("delete-player p.vmu Ann", &Out), 1);
  EXPECT_EQ(Out, "sqtool: cannot read p.vmu\n");
  struct stat St;
  EXPECT_TRUE(stat(File.c_str(), &St) == 0 && S_ISSOCK(St.st_mode)) << "the file is still the one that was there";
  EXPECT_FALSE(VXToolbox::FileExists(File + ".bad"));
  close(Socket);
}

// Names the name box could not have made are refused for new players and new
// names; names already in a file print with their odd bytes escaped.
TEST_F(RegistryTool, OddNamesAreRefusedAndPrintedAsEscapes) {
  {
    TPlayerRegistry R;
    R.AddPlayer("Bell\a\nNext");
    R.AddLevelPack("P\x1b.sq");
    ASSERT_TRUE(R.Save(Dir.File("p.vmu")));
  }
  EXPECT_EQ(Dump(),
            "nextid=2\n"
            "player 0 Bell\\x07\\x0aNext\n"
            "pack 1 P\\x1b.sq\n");
  std::string Out;
  EXPECT_EQ(Run("set-state p.vmu A.sq " + ShellQuote("Tab\tName") + " 1 0", &Out), 1);
  EXPECT_EQ(Out, "sqtool: cannot add player 'Tab\\x09Name': it holds a character that is not printable\n");
  EXPECT_EQ(Run("set-state p.vmu A.sq " + std::string(17, 'x') + " 1 0", &Out), 1);
  EXPECT_EQ(Out, "sqtool: cannot add player '" + std::string(17, 'x') + "': it is longer than 16 characters\n");
  EXPECT_EQ(Run("rename-player p.vmu " + ShellQuote("Bell\a\nNext") + " " + ShellQuote("Bell\r"), &Out), 1);
  EXPECT_EQ(Out, "sqtool: cannot rename to 'Bell\\x0d': it holds a character that is not printable\n");
  EXPECT_EQ(Run("rename-player p.vmu " + ShellQuote("Bell\a\nNext") + " Bell", &Out), 0) << Out;
  EXPECT_EQ(Run("set-state p.vmu A.sq " + std::string(16, 'x') + " 1 0", &Out), 0) << Out;
}

// The game holds its folder while it runs: the commands that write the
// player's files there refuse (the game would write its own copy over the
// change), the ones that only read go on, and once the game has gone the
// change is made. A file in another folder is not held back.
TEST_F(RegistryTool, ChangesWaitForTheGameToLeaveTheFolder) {
  ASSERT_EQ(Run("set-state p.vmu A.sq Ann 1 0"), 0);
  ASSERT_EQ(mkdir(Dir.File("other").c_str(), 0700), 0);
  const auto Before = ReadFileBytes(Dir.File("p.vmu"));
  {
    TFolderLock Game(Dir.Path());
    ASSERT_EQ(Game.Take("starquarry"), TFolderLock::TResult::Held);
    const std::string Refusal = "sqtool: the game is running in " + Dir.Path() + " (starquarry " +
                                std::to_string(getpid()) + ") and would write over the change: quit the game first\n";
    std::string Out;
    for (const char* Change : {"set-state p.vmu A.sq Ann 2 0", "rename-player p.vmu Ann Bea", "delete-player p.vmu Ann",
                               "set-state ./p.vmu A.sq Cy 1 0"}) {
      EXPECT_EQ(Run(Change, &Out), 1) << Change;
      EXPECT_EQ(Out, Refusal) << Change;
    }
    EXPECT_EQ(ReadFileBytes(Dir.File("p.vmu")), Before);
    EXPECT_EQ(Run("get-state p.vmu A.sq Ann 0", &Out), 0);
    EXPECT_EQ(Out, "1\n");
    EXPECT_EQ(Run("set-state other/p.vmu A.sq Ann 2 0", &Out), 0) << Out;
  }
  EXPECT_EQ(Run("set-state p.vmu A.sq Ann 2 0"), 0);
  std::string Out;
  EXPECT_EQ(Run("get-state p.vmu A.sq Ann 0", &Out), 0);
  EXPECT_EQ(Out, "2\n");
}
