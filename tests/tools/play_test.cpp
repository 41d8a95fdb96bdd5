// sqtool play: a headless run of a map from a level pack.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/sqtool_runner.h"
#include "tests/support/test_support.h"

namespace {

class PlayTool : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFileText(Dir.File("info"), "Starquarry level pack\r\nTest Pack\r\nNobody\r\n");
    std::string Ini = "[*Blocks]\r\n";
    for (const char* Name : {"!", "!1", "!2", "$", "#", ".", "@", "X", "*D", "*R", "*L", "*U"})
      Ini += std::string("b.tga,") + Name + "\r\n";
    WriteFileText(Dir.File("controls.ini"), Ini);
    WriteFileBytes(Dir.File("b.tga"), SolidTga(90));
    WriteFileText(Dir.File("empty.txt"), "");
    Tool("archive create " + Dir.File("data.mad4") + " " + Dir.File("empty.txt"));
  }
  void Map(int N, const std::vector<std::string>& Rows) {
    std::string T = "MAPT\r\nWI20\r\nHE12\r\n";
    for (size_t Y = 0; Y < 12; ++Y) {
      std::string R = Y < Rows.size() ? Rows[Y] : "";
      R.resize(20, '#');
      T += "MP" + R + "\r\n";
    }
    WriteFileText(Dir.File("map" + std::to_string(N)), T + "XX\r\n");
    MapArgs += " --as 00" + std::to_string(N) + ".mpp " + Dir.File("map" + std::to_string(N));
  }
  std::string BuildPack() {
    const std::string Pack = Dir.File("test.sq");
    Tool("archive create " + Pack + " " + Dir.File("info") + MapArgs + " " + Dir.File("controls.ini") + " " +
         Dir.File("b.tga"));
    return Pack;
  }
  int Tool(const std::string& Args, std::string* Out = nullptr) { return TSqtool().RunJoined(Args, Out); }
  int Play(const std::string& Args, std::string& Out) {
    return Tool("play " + BuildPack() + " " + Args + " --data " + Dir.File("data.mad4"), &Out);
  }
  TTempDir Dir;
  std::string MapArgs;
};

}  // namespace

TEST_F(PlayTool, CompletesAMapWithAKeyScript) {
  Map(1, {"*$ !"});
  std::string Out;
  ASSERT_EQ(Play("0 --keys RR..R", Out), 0) << Out;
  std::istringstream Lines(Out);
  std::string First;
  std::getline(Lines, First);
  EXPECT_EQ(First, "status=completed steps=5 diamonds=0 elf=3,0");
  std::string Row;
  std::getline(Lines, Row);
  EXPECT_EQ(Row, "32 32 32 42 35 35 35 35 35 35 35 35 35 35 35 35 35 35 35 35");
  int Rows = 1;
  while (std::getline(Lines, Row)) ++Rows;
  EXPECT_EQ(Rows, 12);
}

TEST_F(PlayTool, StopsSixteenStepsAfterTheElfDied) {
  Map(1, {"#@#", "# #", "#*#"});
  std::string Out;
  ASSERT_EQ(Play("0 --keys " + std::string(40, '.'), Out), 0) << Out;
  EXPECT_EQ(Out.rfind("status=dead steps=18 ", 0), 0u) << Out;
}

TEST_F(PlayTool, KeysFromAFileAndAnUnfinishedRun) {
  Map(1, {"#.", "#*"});
  Map(2, {"*$$$$!"});
  WriteFileText(Dir.File("keys"), "R R\n.\n");
  std::string Out;
  ASSERT_EQ(Play("1 --keys @" + Dir.File("keys"), Out), 0) << Out;
  EXPECT_EQ(Out.rfind("status=playing steps=3 diamonds=2 elf=2,0", 0), 0u) << Out;
}

TEST_F(PlayTool, BadInputFailsWithAMessage) {
  Map(1, {"*"});
  std::string Out;
  EXPECT_EQ(Play("3", Out), 1);
  EXPECT_NE(Out.find("has no map 3"), std::string::npos) << Out;
  EXPECT_EQ(Tool("play " + Dir.File("missing.sq") + " 0 --data " + Dir.File("data.mad4"), &Out), 1);
  EXPECT_EQ(Play("0 --keys RX", Out), 1);
  EXPECT_NE(Out.find("bad key 'X'"), std::string::npos) << Out;
}
