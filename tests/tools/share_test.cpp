// sqtool share, unshare and share-run, run as programs on the shipped
// Quarry Basics and on small packs made here.
#include <gtest/gtest.h>

#include "shell/toolbox.h"
#include "tests/support/sqtool_runner.h"
#include "tests/support/test_support.h"

namespace {

class ShareTool : public ::testing::Test {
 protected:
  std::string Basics() const { return ShellQuote(PlayDir() + "quarry_basics.sq"); }
  // A one-map pack of Rows (the rest steel).
  void WritePack(const std::string& Name, const std::vector<std::string>& Rows) {
    std::string T = "MAPT\r\nWI20\r\nHE12\r\nMNLittle One\r\n";
    for (size_t Y = 0; Y < 12; ++Y) {
      std::string R = Y < Rows.size() ? Rows[Y] : "";
      R.resize(20, '%');
      T += "MP" + R + "\r\n";
    }
    WriteFileText(Dir.File(Name + ".map"), T + "XX\r\n");
    ASSERT_EQ(Tool.Run("pack build " + Name + ".sq --name Small --author Tess " + Name + ".map").Code, 0);
  }
  // The code printed on one line, "" when the run failed.
  std::string Code(const TToolResult& R) {
    EXPECT_EQ(R.Code, 0) << R.Err;
    EXPECT_EQ(R.Err, "");
    return R.Code == 0 && !R.Out.empty() ? R.Out.substr(0, R.Out.size() - 1) : "";
  }

  TTempDir Dir;
  TSqtool Tool{Dir.Path()};
};

}  // namespace

// A map shared with the solver's way, written back as a pack that carries
// the way, shared again from that pack: the very same code, the way taken
// from the pack this time.
TEST_F(ShareTool, MapCodesGoThroughAPackAndBack) {
  const std::string Shared = Code(Tool.Run("share " + Basics() + " 0"));
  ASSERT_EQ(Shared[0], '1');
  TToolResult R = Tool.Run("unshare " + ShellQuote("https://example.org/play/#map=" + Shared) + " --out one.sq");
  ASSERT_EQ(R.Code, 0) << R.Err;
  EXPECT_EQ(R.Out.rfind("map \"First Dig\" by Marta Quillon 20x12 way=", 0), 0u) << R.Out;
  R = Tool.Run("pack check one.sq --solutions");
  EXPECT_EQ(R.Code, 0) << R.Out;
  EXPECT_NE(R.Out.find("001 ok size=20x12 elves=1 exits=1 diamonds=7 solution=completed"), std::string::npos) << R.Out;
  EXPECT_EQ(Code(Tool.Run("share one.sq 0 --seconds 0.001")), Shared) << "the carried way, not a search";

  // Without a way, and with one from a key script (cut where the map is won).
  const std::string Bare = Code(Tool.Run("share " + Basics() + " 0 --no-way"));
  EXPECT_LT(Bare.size(), Shared.size());
  EXPECT_EQ(Tool.Run("unshare " + Bare + " --out bare.sq").Out, "map \"First Dig\" by Marta Quillon 20x12 way=none\n");
  const std::string Solution = PlayDir() + "../levels/quarry_basics/001.keys";
  WriteFileText(Dir.File("long.keys"), ReadFileText(Solution) + "LLLLLLLLLL\n");
  const std::string Hand = Code(Tool.Run("share " + Basics() + " 0 --keys " + ShellQuote(Solution)));
  EXPECT_EQ(Code(Tool.Run("share " + Basics() + " 0 --keys long.keys")), Hand) << "keys past the win are left out";
}

TEST_F(ShareTool, RunCodesCarryThePlayer) {
  WritePack("small", {"%*.$.!%"});
  // The exit opens while the elf waits beside it: won at the 11th key.
  WriteFileText(Dir.File("run.keys"), "R.RRRRRRRRRRRRR");
  const std::string Run = Code(Tool.Run("share-run small.sq 0 --player Ann --keys run.keys"));
  EXPECT_EQ(Tool.Run("unshare " + Run + " --out ann.sq").Out, "map \"Little One\" by Unknown 20x12 run=11 by Ann\n")
      << "the run is cut where the map is won";
  // The best run the game kept for the player.
  TToolResult R = Tool.Run("replay import Starquarry.runs Bo small.sq 0 run.keys");
  ASSERT_EQ(R.Code, 0) << R.Err;
  const std::string Kept = Code(Tool.Run("share-run small.sq 0 --player Bo --runs Starquarry.runs"));
  EXPECT_EQ(Tool.Run("unshare " + Kept + " --out bo.sq").Out, "map \"Little One\" by Unknown 20x12 run=11 by Bo\n");
  R = Tool.Run("share-run small.sq 0 --player Cy --runs Starquarry.runs");
  EXPECT_EQ(R.Code, 1);
  EXPECT_EQ(R.Err, "sqtool: no player Cy in Starquarry.vmu\n");
}

TEST_F(ShareTool, WhatCannotBeSharedOrReadIsRefused) {
  WritePack("walled", {"%*%$.!%"});
  WritePack("noexit", {"%*.$..%"});
  TToolResult R = Tool.Run("share walled.sq 0");
  EXPECT_EQ(R.Code, 1);
  EXPECT_EQ(R.Err,
            "sqtool: map 0 cannot be completed (the solver searched every way); --no-way shares it all the same\n");
  EXPECT_EQ(Tool.Run("share walled.sq 0 --no-way").Code, 0);
  R = Tool.Run("share noexit.sq 0 --no-way");
  EXPECT_EQ(R.Err, "sqtool: map 0 of 'noexit.sq' cannot be played: no exit\n");
  R = Tool.Run("share walled.sq 1");
  EXPECT_EQ(R.Err, "sqtool: level pack 'walled.sq' has no map 1 (it has 1)\n");
  WriteFileText(Dir.File("stay.keys"), "....");
  R = Tool.Run("share walled.sq 0 --keys stay.keys");
  EXPECT_EQ(R.Err, "sqtool: the keys in 'stay.keys' do not complete map 0\n");

  const std::string Good = Code(Tool.Run("share walled.sq 0 --no-way"));
  for (const std::string& Bad :
       {Good.substr(0, Good.size() - 3), Good.substr(0, 9) + (Good[9] == 'A' ? "B" : "A") + Good.substr(10)}) {
    R = Tool.Run("unshare " + Bad + " --out bad.sq");
    EXPECT_EQ(R.Code, 1);
    EXPECT_EQ(R.Err, "sqtool: The code is damaged or cut short.\n");
    EXPECT_FALSE(VXToolbox::FileExists(Dir.File("bad.sq")));
  }
  EXPECT_EQ(Tool.Run("unshare " + Good).Err, "sqtool: usage: sqtool unshare CODE --out PACK.sq\n");
}
