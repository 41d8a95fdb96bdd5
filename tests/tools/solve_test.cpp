// sqtool solve and pack check --solve on small packs made here; every
// script the solver prints is played back with sqtool play.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "tests/support/sqtool_runner.h"
#include "tests/support/test_support.h"

namespace {

// A 20x12 MAPT map: the rows given, the rest steel.
std::string TextMap(const std::vector<std::string>& Rows) {
  std::string T = "MAPT\r\nWI20\r\nHE12\r\nMNSmall\r\n";
  for (size_t Y = 0; Y < 12; ++Y) {
    std::string R = Y < Rows.size() ? Rows[Y] : "";
    R.resize(20, '%');
    T += "MP" + R + "\r\n";
  }
  return T + "XX\r\n";
}

class SolveTool : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string Ini = "[*Blocks]\r\n";
    for (const char* Name : {"!", "!1", "!2", "$1", "#", "%", ".1", "@1", "&1", "01",
                             ">", ">2", "<",  "<2", "=", "X", "*D", "*R", "*L", "*U"})
      Ini += std::string("b.tga,") + Name + "\r\n";
    WriteFileText(Dir.File("controls.ini"), Ini);
    WriteFileBytes(Dir.File("b.tga"), SolidTga(90));
    WriteFileText(Dir.File("empty.txt"), "");
    Tool.RunJoined("archive create data.mad4 empty.txt");
  }
  // A pack of the maps given, as pack.sq.
  void Pack(const std::vector<std::vector<std::string>>& Maps) {
    std::string Files;
    for (size_t I = 0; I < Maps.size(); ++I) {
      const std::string Name = "m" + std::to_string(I) + ".map";
      WriteFileText(Dir.File(Name), TextMap(Maps[I]));
      Files += " " + Name;
    }
    ASSERT_EQ(Tool.RunJoined("pack build pack.sq --name Small --author Test" + Files + " --extra controls.ini b.tga"),
              0);
  }
  static std::vector<std::string> Lines(const std::string& Text) {
    std::vector<std::string> L;
    std::istringstream In(Text);
    for (std::string Line; std::getline(In, Line);) L.push_back(Line);
    return L;
  }
  TTempDir Dir;
  TSqtool Tool{Dir.Path()};
};

}  // namespace

TEST_F(SolveTool, PrintsAScriptThatPlaysToTheEndForEverySeed) {
  Pack({{"%*$     !%"}, {"%* .%$% !%", "%  .%%%  %"}});
  const TToolResult R = Tool.Run("solve pack.sq 0 --optimal --data data.mad4");
  ASSERT_EQ(R.Code, 0) << R.Err;
  const auto L = Lines(R.Out);
  ASSERT_EQ(L.size(), 2u) << R.Out;
  EXPECT_EQ(L[0].rfind("status=solved steps=7 states=", 0), 0u) << L[0];
  EXPECT_NE(L[0].find(" seconds="), std::string::npos);
  EXPECT_EQ(L[1], "RRRRRRR");
  for (int Seed = 0; Seed < 10; ++Seed) {
    const TToolResult Play =
        Tool.Run("play pack.sq 0 --keys " + L[1] + " --seed " + std::to_string(Seed) + " --data data.mad4");
    EXPECT_EQ(Play.Out.rfind("status=completed", 0), 0u) << Play.Out;
  }
  const TToolResult Walled = Tool.Run("solve pack.sq 1 --max-steps 50 --data data.mad4");
  EXPECT_EQ(Walled.Code, 1);
  EXPECT_EQ(Walled.Out.rfind("status=unsolvable steps<=50 states=", 0), 0u) << Walled.Out;
  EXPECT_EQ(Lines(Walled.Out).size(), 1u);
}

TEST_F(SolveTool, LimitsAndBadInput) {
  Pack({{"%*      .  ", "%   .      ", "% . . .    ", "%          ", "%   @   $ !"}});
  const TToolResult Short = Tool.Run("solve pack.sq 0 --max-steps 3 --data data.mad4");
  EXPECT_EQ(Short.Code, 1);
  EXPECT_EQ(Short.Out.rfind("status=unsolvable steps<=3 ", 0), 0u) << Short.Out;
  for (const char* Bad : {"solve missing.sq 0 --data data.mad4", "solve pack.sq 5 --data data.mad4",
                          "solve pack.sq 0 --seconds -1 --data data.mad4", "solve pack.sq"}) {
    const TToolResult R = Tool.Run(Bad);
    EXPECT_EQ(R.Code, 1) << Bad;
    EXPECT_TRUE(R.Out.empty()) << Bad;
    EXPECT_EQ(Lines(R.Err).size(), 1u) << Bad << ": " << R.Err;
  }
}

TEST_F(SolveTool, PackCheckSolvesEveryMapAndFailsTheUnsolvable) {
  Pack({{"%*$     !%"}, {"%* .%$% !%", "%  .%%%  %"}});
  WriteFileText(Dir.File("001.keys"), "RRRRRRRR");
  WriteFileText(Dir.File("002.keys"), "RR");
  std::string Out;
  EXPECT_EQ(Tool.RunJoined("pack check pack.sq --solve --seconds 5 --solutions . --data data.mad4", &Out), 1);
  const auto L = Lines(Out);
  ASSERT_EQ(L.size(), 3u) << Out;
  EXPECT_NE(L[0].find(" ok "), std::string::npos) << L[0];
  EXPECT_NE(L[0].find("solution=completed steps=7 solver=7 hand=8 name="), std::string::npos) << L[0];
  EXPECT_NE(L[1].find(" FAIL "), std::string::npos) << L[1];
  EXPECT_NE(L[1].find("solver=unsolvable"), std::string::npos) << L[1];
  EXPECT_EQ(L[2], "2 maps, 1 failed");
}

TEST_F(SolveTool, PackCheckReportsADamagedMapMemberAndGoesOn) {
  // Map 2 is a MAPX map with a character that is not hexadecimal.
  WriteFileText(Dir.File("info"), "Starquarry level pack\r\nDamaged\r\nTest\r\n");
  WriteFileText(Dir.File("001.mpp"), TextMap({"%*$ !%"}));
  WriteFileText(Dir.File("002.mpp"), "MAPX\r\nWI2\r\nHE1\r\nMP00zz0020\r\nXX\r\n");
  WriteFileText(Dir.File("003.mpp"), TextMap({"%* !%"}));
  ASSERT_EQ(Tool.RunJoined("archive create raw.sq info 001.mpp 002.mpp 003.mpp controls.ini b.tga"), 0);
  std::string Out;
  EXPECT_EQ(Tool.RunJoined("pack check raw.sq --data data.mad4", &Out), 1);
  const auto L = Lines(Out);
  ASSERT_EQ(L.size(), 4u) << Out;
  EXPECT_NE(L[0].find("001 ok"), std::string::npos) << L[0];
  EXPECT_EQ(L[1].rfind("002 FAIL size=0x0", 0), 0u) << L[1];
  EXPECT_NE(L[1].find("error=\"damaged map member 002.mpp\""), std::string::npos) << L[1];
  EXPECT_NE(L[2].find("003 ok"), std::string::npos) << L[2] << ": later maps keep their numbers";
  EXPECT_EQ(L[3], "3 maps, 1 failed");
}

// No verdict on a map the tool could not load, nor on one played without the
// pictures of its blocks: either is an error of one line.
TEST_F(SolveTool, AMapThatDidNotLoadOrDataThatIsNotTheGamesIsAnError) {
  WriteFileText(Dir.File("info"), "Starquarry level pack\r\nDamaged\r\nTest\r\n");
  WriteFileText(Dir.File("001.mpp"), TextMap({"%*$ !%"}));
  WriteFileText(Dir.File("002.mpp"), "MAPT\r\nWI100000\r\nHE100000\r\nMPab\r\nXX\r\n");
  ASSERT_EQ(Tool.RunJoined("archive create raw.sq info 001.mpp 002.mpp controls.ini b.tga"), 0);
  TToolResult R = Tool.Run("solve raw.sq 1 --data data.mad4");
  EXPECT_EQ(R.Code, 1);
  EXPECT_EQ(R.Out, "");
  EXPECT_EQ(R.Err, "sqtool: map 1 of 'raw.sq' cannot be loaded: Map width is out of range!\n");
  R = Tool.Run("solve raw.sq 0 --data data.mad4");
  EXPECT_EQ(R.Code, 0) << R.Err;

  // A pack without pictures of its own needs the game's; an archive without
  // them (here a level pack) is not the game's data. (Loose files would
  // stand in for the archive's.)
  ASSERT_EQ(Tool.RunJoined("archive create bare.sq info 001.mpp"), 0);
  ASSERT_EQ(Tool.RunJoined("archive create other.sq info 001.mpp"), 0);
  ASSERT_EQ(Tool.RunJoined("archive create pictures.mad4 controls.ini b.tga"), 0);
  ASSERT_EQ(std::remove(Dir.File("controls.ini").c_str()), 0);
  ASSERT_EQ(std::remove(Dir.File("b.tga").c_str()), 0);
  for (const char* Data : {"data.mad4", "other.sq"}) {
    R = Tool.Run(std::string("solve bare.sq 0 --data ") + Data);
    EXPECT_EQ(R.Code, 1) << Data;
    EXPECT_EQ(R.Out, "") << Data;
    EXPECT_EQ(R.Err, "sqtool: map 0 of 'bare.sq' has blocks without an image (%*$!): '" + std::string(Data) +
                         "' is not the game's data archive\n");
  }
  R = Tool.Run("solve bare.sq 0 --data pictures.mad4");
  EXPECT_EQ(R.Code, 0) << R.Err;
  EXPECT_EQ(R.Out.rfind("status=solved steps=3 ", 0), 0u) << R.Out;
}

TEST_F(SolveTool, RateAddsARatingLineForASolvedMapOnly) {
  Pack({{"%*$     !%"}, {"%* .%$% !%", "%  .%%%  %"}});
  TToolResult R = Tool.Run("solve pack.sq 0 --rate --data data.mad4");
  ASSERT_EQ(R.Code, 0) << R.Err;
  const std::vector<std::string> Out = Lines(R.Out);
  ASSERT_EQ(Out.size(), 3u) << R.Out;
  ASSERT_EQ(Out[2].rfind("rating=", 0), 0u) << R.Out;
  const std::string Value = Out[2].substr(7);
  ASSERT_EQ(Value.size(), 3u) << "one decimal: " << Value;
  EXPECT_EQ(Value[1], '.');
  EXPECT_GE(std::stod(Value), 1.0);
  EXPECT_LE(std::stod(Value), 5.0);
  R = Tool.Run("solve pack.sq 1 --rate --data data.mad4");
  EXPECT_EQ(R.Code, 1);
  EXPECT_EQ(R.Out.find("rating="), std::string::npos) << R.Out;
}

TEST_F(SolveTool, GenerateWritesTheSamePackTwiceWithScriptsThatReplay) {
  const std::string Small = " --max-states 20000 --data data.mad4";
  ASSERT_EQ(Tool.RunJoined("generate --seed 11 --count 2 --out a.sq --name Mine" + Small), 0);
  const TToolResult R = Tool.Run("generate --seed 11 --count 2 --out b.sq --name Mine" + Small);
  ASSERT_EQ(R.Code, 0) << R.Err;
  EXPECT_EQ(ReadFileBytes(Dir.File("a.sq")), ReadFileBytes(Dir.File("b.sq")));
  const std::vector<std::string> Out = Lines(R.Out);
  ASSERT_EQ(Out.size(), 2u) << R.Out;
  for (size_t I = 0; I < Out.size(); ++I) {
    unsigned Seed = 0, Steps = 0;
    int Map = -1, Difficulty = 0;
    char End = 0;
    ASSERT_EQ(
        std::sscanf(Out[I].c_str(), "map=%d seed=%u difficulty=%d steps=%u%c", &Map, &Seed, &Difficulty, &Steps, &End),
        4)
        << Out[I];
    EXPECT_EQ(Map, static_cast<int>(I));
    EXPECT_GE(Difficulty, 1);
    EXPECT_LE(Difficulty, 5);
    EXPECT_GE(Steps, 30u);
  }
  std::string Check;
  EXPECT_EQ(Tool.RunJoined("pack check a.sq --solutions --data data.mad4", &Check), 0) << Check;
  EXPECT_NE(Check.find("2 maps, 0 failed"), std::string::npos) << Check;
  // Without --out the maps come as MAPT text, each after its line.
  const TToolResult Text = Tool.Run("generate --seed 11" + Small);
  EXPECT_EQ(Text.Out.rfind(Out[0] + "\nMAPT\r\n", 0), 0u) << Text.Out;
  EXPECT_EQ(Tool.Run("generate --seed 11 --difficulty 6 --data data.mad4").Code, 1);
  EXPECT_EQ(Tool.Run("generate --count 2 --data data.mad4").Code, 1);
}
