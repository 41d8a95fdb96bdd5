// sqtool replay, run as a program on a level pack and runs made here.
#include <gtest/gtest.h>
#include <unistd.h>

#include "registry/player_reg.h"
#include "registry/run_store.h"
#include "shell/toolbox.h"
#include "tests/support/sqtool_runner.h"
#include "tests/support/test_support.h"

namespace {

class ReplayTool : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFileText(Dir.File("info"), "Starquarry level pack\r\nTest Pack\r\nNobody\r\n");
    std::string Ini = "[*Blocks]\r\n";
    for (const char* Name : {"!", "!1", "!2", "$", "#", ".", "@", "X", "*D", "*R", "*L", "*U"})
      Ini += std::string("b.tga,") + Name + "\r\n";
    WriteFileText(Dir.File("controls.ini"), Ini);
    WriteFileBytes(Dir.File("b.tga"), SolidTga(90));
    WriteFileText(Dir.File("empty.txt"), "");
    ASSERT_EQ(Tool.Run("archive create data.mad4 empty.txt").Code, 0);
    // Map 0: the diamond, then the exit; map 1: a boulder over the elf.
    WriteMap("map0", {"*$ !"});
    WriteMap("map1", {"#@#", "# #", "#*#"});
    ASSERT_EQ(Tool.Run("archive create Caves.sq info --as 001.mpp map0 --as 002.mpp map1 controls.ini b.tga").Code, 0);
  }
  void WriteMap(const std::string& Name, const std::vector<std::string>& Rows) {
    std::string T = "MAPT\r\nWI20\r\nHE12\r\n";
    for (size_t Y = 0; Y < 12; ++Y) {
      std::string R = Y < Rows.size() ? Rows[Y] : "";
      R.resize(20, '#');
      T += "MP" + R + "\r\n";
    }
    WriteFileText(Dir.File(Name), T + "XX\r\n");
  }
  TToolResult Replay(const std::string& Args) { return Tool.Run("replay " + Args); }
  TToolResult Import(const std::string& Player, int MapNo, const std::string& Keys) {
    WriteFileText(Dir.File("in.keys"), Keys);
    return Replay("import Starquarry.runs " + ShellQuote(Player) + " Caves.sq " + std::to_string(MapNo) +
                  " in.keys --data data.mad4");
  }

  TTempDir Dir;
  TSqtool Tool{Dir.Path()};
};

}  // namespace

TEST_F(ReplayTool, ImportKeepsOnlyCompletedShorterRuns) {
  TToolResult R = Import("Ann", 0, "RR...R");
  EXPECT_EQ(R.Code, 0) << R.Err;
  EXPECT_EQ(R.Out, "kept steps=6\n");
  EXPECT_EQ(TPlayerReg(Dir.File("Starquarry.vmu")).PlayerID("Ann"), 0) << "the missing player is added";

  R = Import("Ann", 0, "RR....R");
  EXPECT_EQ(R.Code, 1);
  EXPECT_EQ(R.Out, "not kept: longer than steps=6\n");
  R = Import("ann", 0, "RR..R\n....");
  EXPECT_EQ(R.Code, 0) << R.Err;
  EXPECT_EQ(R.Out, "kept steps=5\n") << "the steps after the exit are not part of the run";
  R = Import("Ann", 0, "RR..R");
  EXPECT_EQ(R.Code, 1);
  EXPECT_EQ(R.Out, "not kept: as long as steps=5\n");

  R = Import("Ann", 0, "RR");
  EXPECT_EQ(R.Code, 1);
  EXPECT_EQ(R.Out, "not kept: status=playing\n");
  R = Import("Bo", 1, std::string(40, '.'));
  EXPECT_EQ(R.Code, 1);
  EXPECT_EQ(R.Out, "not kept: status=dead\n");
  EXPECT_LT(TPlayerReg(Dir.File("Starquarry.vmu")).PlayerID("Bo"), 0) << "nothing kept, nobody added";

  R = Import("Ann", 0, "RRX");
  EXPECT_EQ(R.Code, 1);
  EXPECT_EQ(R.Out, "");
  EXPECT_EQ(TRunStore(Dir.File("Starquarry.runs")).Runs().size(), 1u);
}

TEST_F(ReplayTool, AnExportedRunReplaysToTheExit) {
  ASSERT_EQ(Import("Ann", 0, "RR..R").Code, 0);
  TToolResult R = Replay("export Starquarry.runs Ann Caves.sq 0 ann.keys");
  ASSERT_EQ(R.Code, 0) << R.Err;
  // The last key goes on past the run, for a door that opens later.
  EXPECT_EQ(ReadFileText(Dir.File("ann.keys")), "RR..R\n" + std::string(20, 'R') + "\n");
  R = Tool.Run("play Caves.sq 0 --keys @ann.keys --data data.mad4");
  ASSERT_EQ(R.Code, 0) << R.Err;
  EXPECT_EQ(R.Out.rfind("status=completed steps=5 ", 0), 0u) << R.Out;

  // Long runs come out in lines, which play reads alike.
  TPlayerReg Reg(Dir.File("Starquarry.vmu"));
  ASSERT_EQ(Reg.KeepRun("Caves.sq", "Ann", 1, std::string(100, 'U')), TRunKept::Kept);
  ASSERT_EQ(Replay("export Starquarry.runs Ann ./Caves.sq 1 long.keys").Code, 0);
  EXPECT_EQ(ReadFileText(Dir.File("long.keys")),
            std::string(64, 'U') + "\n" + std::string(36, 'U') + "\n" + std::string(20, 'U') + "\n");

  R = Replay("export Starquarry.runs Ann Caves.sq 2 none.keys");
  EXPECT_EQ(R.Code, 1);
  EXPECT_EQ(R.Err, "sqtool: no run of Ann on map 2 of Caves.sq\n");
  EXPECT_FALSE(VXToolbox::FileExists(Dir.File("none.keys")));
  EXPECT_EQ(Replay("export Starquarry.runs Nobody Caves.sq 0 x.keys").Code, 1);
}

TEST_F(ReplayTool, ListSortsByPlayerPackAndMap) {
  {
    TPlayerReg Reg(Dir.File("Starquarry.vmu"));
    for (const char* Name : {"bo", "Ann", "Cy"}) Reg.AddPlayer(Name);
    const struct {
      const char *Player, *Pack;
      int MapNo;
      size_t Steps;
    } Runs[] = {{"Cy", "Caves.sq", 0, 3},   {"bo", "Hills.sq", 0, 9},  {"Ann", "Hills.sq", 2, 4},
                {"Ann", "Caves.sq", 10, 7}, {"Ann", "caves.sq", 2, 8}, {"bo", "Caves.sq", 1, 5}};
    for (const auto& Run : Runs)
      ASSERT_EQ(Reg.KeepRun(Run.Pack, Run.Player, Run.MapNo, std::string(Run.Steps, 'R')), TRunKept::Kept);
    TRunStore Store(Dir.File("Starquarry.runs"));
    ASSERT_EQ(Store.Keep(99, "Caves.sq", 0, "L"), TRunKept::Kept);
    ASSERT_EQ(Store.Keep(Reg.PlayerID("Ann"), "caves.sq", 3, "RR", true), TRunKept::Kept);
  }
  const TToolResult R = Replay("list Starquarry.runs");
  ASSERT_EQ(R.Code, 0) << R.Err;
  EXPECT_EQ(R.Out,
            "#99 Caves.sq 0 steps=1\n"
            "Ann caves.sq 2 steps=8\n"
            "Ann caves.sq 3 steps=2 hint\n"
            "Ann Caves.sq 10 steps=7\n"
            "Ann Hills.sq 2 steps=4\n"
            "bo Caves.sq 1 steps=5\n"
            "bo Hills.sq 0 steps=9\n"
            "Cy Caves.sq 0 steps=3\n");
}

TEST_F(ReplayTool, DamagedOrMissingRunsFilesAreReportedNotRewritten) {
  TToolResult R = Replay("list Starquarry.runs");
  EXPECT_EQ(R.Code, 1);
  EXPECT_EQ(R.Err, "sqtool: cannot read Starquarry.runs\n");
  WriteFileText(Dir.File("Starquarry.runs"), "SQRN garbage");
  R = Replay("list Starquarry.runs");
  EXPECT_EQ(R.Code, 1);
  EXPECT_EQ(R.Err, "sqtool: Starquarry.runs is damaged\n");
  EXPECT_EQ(ReadFileText(Dir.File("Starquarry.runs")), "SQRN garbage");
  // Keeping a run starts the file afresh, the damaged one kept aside first.
  R = Import("Ann", 0, "RR..R");
  EXPECT_EQ(R.Code, 0);
  EXPECT_EQ(R.Err, "sqtool: Starquarry.runs was damaged; the original is kept as Starquarry.runs.bad\n");
  EXPECT_EQ(ReadFileText(Dir.File("Starquarry.runs.bad")), "SQRN garbage");
  EXPECT_EQ(Replay("list Starquarry.runs").Out, "Ann Caves.sq 0 steps=5\n");
  EXPECT_EQ(Replay("frobnicate").Code, 1);
  EXPECT_EQ(Replay("list").Code, 1);
}

// A registry or runs file from elsewhere may name anything: every run stays
// one line and every error one line, and the import adds no name the game
// could not have typed.
TEST_F(ReplayTool, OddNamesPrintAsEscapesOnOneLineAndAreNotImported) {
  const std::string Long(10000, 'n');
  {
    TPlayerReg Reg(Dir.File("Starquarry.vmu"));
    for (const std::string& Name : {std::string("Red\x1b[31m"), std::string("Two\nLines"), Long})
      ASSERT_TRUE(Reg.AddPlayer(Name));
    ASSERT_EQ(Reg.KeepRun("Caves.sq", "Red\x1b[31m", 0, "RR"), TRunKept::Kept);
    ASSERT_EQ(Reg.KeepRun("Caves.sq", "Two\nLines", 0, "RRRRRRRRR"), TRunKept::Kept);
    ASSERT_EQ(Reg.KeepRun("Caves.sq", Long, 0, "R"), TRunKept::Kept);
    ASSERT_EQ(Reg.KeepRun("Ca\r\nves\xff.sq", "Two\nLines", 1, "L"), TRunKept::Kept);
  }
  TToolResult R = Replay("list Starquarry.runs");
  ASSERT_EQ(R.Code, 0) << R.Err;
  EXPECT_EQ(R.Out, Long +
                       " Caves.sq 0 steps=1\n"
                       "Red\\x1b[31m Caves.sq 0 steps=2\n"
                       "Two\\x0aLines Ca\\x0d\\x0aves\\xff.sq 1 steps=1\n"
                       "Two\\x0aLines Caves.sq 0 steps=9\n");

  R = Replay("export Starquarry.runs " + ShellQuote("No\tbody\n") + " Caves.sq 0 x.keys");
  EXPECT_EQ(R.Code, 1);
  EXPECT_EQ(R.Err, "sqtool: no player No\\x09body\\x0a in Starquarry.vmu\n");

  for (const std::string& Bad : {std::string("Esc\x1b"), std::string("Line\nBreak"), std::string(17, 'x'),
                                 std::string(), std::string("caf\xc3\xa9")}) {
    R = Import(Bad, 0, "RR..R");
    EXPECT_EQ(R.Code, 1) << Bad;
    EXPECT_EQ(R.Out, "") << Bad;
    EXPECT_EQ(R.Err.find('\n'), R.Err.size() - 1) << "one line: " << R.Err;
    EXPECT_EQ(R.Err.rfind("sqtool: cannot add player '", 0), 0u) << R.Err;
  }
  EXPECT_NE(Import("Esc\x1b", 0, "RR..R").Err.find("'Esc\\x1b': it holds a character that is not printable"),
            std::string::npos);
  EXPECT_NE(Import(std::string(17, 'x'), 0, "RR..R").Err.find("it is longer than 16 characters"), std::string::npos);
  EXPECT_EQ(TPlayerReg(Dir.File("Starquarry.vmu")).PlayerCount(), 3) << "nobody added";
  // Sixteen printable characters are a name; one already kept is found as it is.
  R = Import(std::string(16, 'x'), 0, "RR..R");
  EXPECT_EQ(R.Code, 0) << R.Err;
  R = Import("Two\nLines", 0, "RR..R");
  EXPECT_EQ(R.Code, 0) << R.Err;
  EXPECT_EQ(R.Out, "kept steps=5\n");
}

// A script longer than any run the game keeps is refused before it is read
// whole, and before anything is played.
TEST_F(ReplayTool, HugeKeyScriptsAreRefusedBeforeTheyAreRead) {
  // 300 MB without a byte on the disk: only its size is ever looked at.
  WriteFileText(Dir.File("huge.keys"), "");
  ASSERT_EQ(truncate(Dir.File("huge.keys").c_str(), 300 << 20), 0);
  const std::string Refused =
      "sqtool: key file 'huge.keys' is too long (314572800 bytes; a script holds at most 4194304 steps)\n";
  TToolResult R = Replay("import Starquarry.runs Ann Caves.sq 0 huge.keys --data data.mad4");
  EXPECT_EQ(R.Code, 1);
  EXPECT_EQ(R.Err, Refused);
  R = Tool.Run("play Caves.sq 0 --keys @huge.keys --data data.mad4");
  EXPECT_EQ(R.Code, 1);
  EXPECT_EQ(R.Err, Refused);
  EXPECT_EQ(R.Out, "");

  // One key past the limit, in a file whose size alone would pass.
  WriteFileText(Dir.File("long.keys"), std::string(4194305, '.'));
  R = Replay("import Starquarry.runs Ann Caves.sq 0 long.keys --data data.mad4");
  EXPECT_EQ(R.Code, 1);
  EXPECT_EQ(R.Err, "sqtool: key file 'long.keys' is too long (more than 4194304 steps)\n");
  EXPECT_FALSE(VXToolbox::FileExists(Dir.File("Starquarry.vmu"))) << "nobody added";
  R = Tool.Run("play Caves.sq 0 --keys @long.keys --data data.mad4");
  EXPECT_EQ(R.Code, 1);
  EXPECT_EQ(R.Err, "sqtool: key file 'long.keys' is too long (more than 4194304 steps)\n");
}

TEST_F(ReplayTool, DeletingAPlayerDeletesItsRuns) {
  ASSERT_EQ(Import("Ann", 0, "RR..R").Code, 0);
  ASSERT_EQ(Import("Bo", 0, "RR...R").Code, 0);
  ASSERT_EQ(Tool.Run("registry rename-player Starquarry.vmu Ann Anna").Code, 0);
  ASSERT_EQ(Tool.Run("registry delete-player Starquarry.vmu Bo").Code, 0);
  EXPECT_EQ(Replay("list Starquarry.runs").Out, "Anna Caves.sq 0 steps=5\n");
}
