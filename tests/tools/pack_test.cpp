// sqtool pack build and pack check, on small packs made here.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/storage/archive_bytes.h"
#include "tests/support/sqtool_runner.h"
#include "tests/support/test_support.h"

namespace {

// A 20x12 MAPT map: the rows given, the rest walls.
std::string TextMap(const std::string& Name, const std::vector<std::string>& Rows, int W = 20, int H = 12) {
  std::string T = "MAPT\r\nWI" + std::to_string(W) + "\r\nHE" + std::to_string(H) + "\r\nMN" + Name + "\r\n";
  for (int Y = 0; Y < H; ++Y) {
    std::string R = Y < static_cast<int>(Rows.size()) ? Rows[static_cast<size_t>(Y)] : "";
    R.resize(static_cast<size_t>(W), '#');
    T += "MP" + R + "\r\n";
  }
  return T + "XX\r\n";
}

class PackTool : public ::testing::Test {
 protected:
  void SetUp() override {
    // The pack brings its own block images; the data archive is empty.
    // Diamonds, boulders and grass show numbered looks only.
    std::string Ini = "[*Blocks]\r\n";
    for (const char* Name : {"!", "!1", "!2", "$1", "#", ".1", "@1", "X", "*D", "*R", "*L", "*U"})
      Ini += std::string("b.tga,") + Name + "\r\n";
    WriteFileText(Dir.File("controls.ini"), Ini);
    WriteFileBytes(Dir.File("b.tga"), SolidTga(90));
    WriteFileText(Dir.File("empty.txt"), "");
    Tool("archive create " + Dir.File("data.mad4") + " " + Dir.File("empty.txt"));
  }
  int Tool(const std::string& Args, std::string* Out = nullptr) {
    if (Out) Out->clear();
    return TSqtool().RunJoined(Args, Out);
  }
  std::string Extras() const { return " --extra " + Dir.File("controls.ini") + " " + Dir.File("b.tga"); }
  int Check(const std::string& Pack, const std::string& More, std::string& Out) {
    return Tool("pack check " + Pack + " --data " + Dir.File("data.mad4") + More, &Out);
  }
  static std::vector<std::string> Lines(const std::string& Text) {
    std::vector<std::string> L;
    std::istringstream In(Text);
    for (std::string Line; std::getline(In, Line);) L.push_back(Line);
    return L;
  }
  TTempDir Dir;
};

}  // namespace

TEST_F(PackTool, BuildStoresInfoMapsInOrderAndExtras) {
  WriteFileText(Dir.File("b.map"), TextMap("Second", {"*$ !"}));
  // A binary map goes in as it is and is stored as text: 2x1, "*!", author "Al".
  WriteFileBytes(Dir.File("a.mapb"), {'M', 'A', 'P', 'B', 2, 1, '*', '!', 2, 'A', 'l', 0, 0, 0, 0});
  const std::string Pack = Dir.File("p.sq");
  std::string Out;
  ASSERT_EQ(Tool("pack build " + Pack + " --name \"Two Maps\" --author \"Ida Fenn\" " + Dir.File("a.mapb") + " " +
                     Dir.File("b.map") + Extras(),
                 &Out),
            0)
      << Out;
  ASSERT_EQ(Tool("archive list " + Pack, &Out), 0);
  const auto L = Lines(Out);
  ASSERT_EQ(L.size(), 5u) << Out;
  EXPECT_EQ(L[0].substr(0, 5), "info\t");
  EXPECT_EQ(L[1].substr(0, 8), "001.mpp\t");
  EXPECT_EQ(L[2].substr(0, 8), "002.mpp\t");
  EXPECT_EQ(L[3].substr(0, 13), "controls.ini\t");
  EXPECT_EQ(L[4].substr(0, 6), "b.tga\t");

  ASSERT_EQ(Tool("archive extract " + Pack + " info " + Dir.File("info.out")), 0);
  const auto Info = Lines(ReadFileText(Dir.File("info.out")));
  ASSERT_EQ(Info.size(), 3u);
  EXPECT_EQ(Info[1], "Two Maps\r");
  EXPECT_EQ(Info[2], "Ida Fenn\r");
  ASSERT_EQ(Tool("archive extract " + Pack + " 001.mpp " + Dir.File("m1.out")), 0);
  EXPECT_EQ(ReadFileText(Dir.File("m1.out")), "MAPT\r\nWI2\r\nHE1\r\nAUAl\r\nMP*!\r\nXX\r\n");

  // The game reads it back: names, sizes and the counts per map.
  ASSERT_EQ(Check(Pack, "", Out), 1) << Out;  // map 1 is not 20x12
  const auto C = Lines(Out);
  ASSERT_EQ(C.size(), 3u) << Out;
  EXPECT_EQ(C[0], "001 FAIL size=2x1 elves=1 exits=1 diamonds=0 name=\"Unknown\"");
  EXPECT_EQ(C[1], "002 ok size=20x12 elves=1 exits=1 diamonds=1 name=\"Second\"");
  EXPECT_EQ(C[2], "2 maps, 1 failed");
}

TEST_F(PackTool, BuildRefusesBadInputAndLeavesNoPack) {
  WriteFileText(Dir.File("good.map"), TextMap("Good", {"*!"}));
  WriteFileText(Dir.File("notes.txt"), "not a map\n");
  const std::string Pack = Dir.File("p.sq");
  const std::string Base = "pack build " + Pack + " --name N --author A ";
  std::string Out;
  EXPECT_EQ(Tool(Base + Dir.File("notes.txt"), &Out), 1);
  EXPECT_NE(Out.find("is not a map"), std::string::npos) << Out;
  EXPECT_EQ(Tool(Base + Dir.File("missing.map"), &Out), 1);
  EXPECT_EQ(Tool("pack build " + Pack + " --name N " + Dir.File("good.map"), &Out), 1);  // no author
  EXPECT_EQ(Tool(Base, &Out), 1);                                                        // no maps
  // An extra file must not replace the info or a map.
  WriteFileText(Dir.File("INFO"), "x\r\ny\r\nz\r\n");
  EXPECT_EQ(Tool(Base + Dir.File("good.map") + " --extra " + Dir.File("INFO"), &Out), 1);
  EXPECT_NE(Out.find("would replace"), std::string::npos) << Out;
  EXPECT_FALSE(ReadFileBytes(Pack).size() > 0);
  EXPECT_FALSE(ReadFileBytes(Pack + ".partial").size() > 0);
}

TEST_F(PackTool, CheckNamesEveryProblemOfAMap) {
  WriteFileText(Dir.File("1.map"), TextMap("Twins", {"*  *$!"}));
  WriteFileText(Dir.File("2.map"), TextMap("Shut", {"* $ $"}));
  WriteFileText(Dir.File("3.map"), TextMap("Odd", {"* &=!"}));  // no images for & and =
  WriteFileText(Dir.File("4.map"), TextMap("Small", {"*!"}, 19, 12));
  const std::string Pack = Dir.File("p.sq");
  std::string Out;
  ASSERT_EQ(Tool("pack build " + Pack + " --name N --author A " + Dir.File("1.map") + " " + Dir.File("2.map") + " " +
                     Dir.File("3.map") + " " + Dir.File("4.map") + Extras(),
                 &Out),
            0)
      << Out;
  EXPECT_EQ(Check(Pack, "", Out), 1);
  const auto L = Lines(Out);
  ASSERT_EQ(L.size(), 5u) << Out;
  EXPECT_EQ(L[0], "001 FAIL size=20x12 elves=2 exits=1 diamonds=1 name=\"Twins\"");
  EXPECT_EQ(L[1], "002 FAIL size=20x12 elves=1 exits=0 diamonds=2 name=\"Shut\"");
  EXPECT_EQ(L[2], "003 FAIL size=20x12 elves=1 exits=1 diamonds=0 missing=&= name=\"Odd\"");
  EXPECT_EQ(L[3], "004 FAIL size=19x12 elves=1 exits=1 diamonds=0 name=\"Small\"");
  EXPECT_EQ(L[4], "4 maps, 4 failed");
  EXPECT_EQ(Check(Dir.File("none.sq"), "", Out), 1);
}

TEST_F(PackTool, CheckFailsTheMapsAfterAGapInTheNumbers) {
  TArchiveBytes A;
  A.Member("RAWD", "info", Bytes("Starquarry level pack\r\nN\r\nA\r\n"));
  A.Member("RAWD", "001.mpp", Bytes(TextMap("One", {"*$!"})));
  A.Member("RAWD", "003.mpp", Bytes(TextMap("Three", {"*$!"})));
  A.Member("RAWD", "controls.ini", ReadFileBytes(Dir.File("controls.ini")));
  A.Member("RAWD", "b.tga", ReadFileBytes(Dir.File("b.tga")));
  const std::string Pack = Dir.File("gap.sq");
  WriteFileBytes(Pack, A.Finish());
  std::string Out;
  EXPECT_EQ(Check(Pack, "", Out), 1);
  const auto L = Lines(Out);
  ASSERT_EQ(L.size(), 3u) << Out;
  EXPECT_EQ(L[0], "001 ok size=20x12 elves=1 exits=1 diamonds=1 name=\"One\"");
  EXPECT_EQ(L[1], "003 FAIL size=20x12 elves=1 exits=1 diamonds=1 error=\"no map 002 before it\" name=\"Three\"");
  EXPECT_EQ(L[2], "2 maps, 1 failed");
}

TEST_F(PackTool, CheckReplaysEachSolutionFromTheMapStart) {
  WriteFileText(Dir.File("1.map"), TextMap("Walk", {"*$ !"}));
  WriteFileText(Dir.File("2.map"), TextMap("Drop", {"#@#", "#.#", "#* $!"}));
  WriteFileText(Dir.File("3.map"), TextMap("Third", {"*$!"}));
  const std::string Pack = Dir.File("p.sq");
  std::string Out;
  ASSERT_EQ(Tool("pack build " + Pack + " --name N --author A " + Dir.File("1.map") + " " + Dir.File("2.map") + " " +
                     Dir.File("3.map") + Extras(),
                 &Out),
            0)
      << Out;
  const std::string Sol = Dir.File("sol");
  ASSERT_EQ(RunCommand("mkdir " + Sol), 0);
  WriteFileText(Sol + "/001.keys", "RR..\nRRRR\n");
  // Waiting under the boulder after stepping down lets it land on the elf.
  WriteFileText(Sol + "/002.keys", "UD....");
  EXPECT_EQ(Check(Pack, " --solutions " + Sol, Out), 1);
  auto L = Lines(Out);
  ASSERT_EQ(L.size(), 4u) << Out;
  EXPECT_EQ(L[0], "001 ok size=20x12 elves=1 exits=1 diamonds=1 solution=completed steps=5 name=\"Walk\"");
  EXPECT_EQ(L[1].rfind("002 FAIL size=20x12 elves=1 exits=1 diamonds=1 solution=dead steps=", 0), 0u) << L[1];
  EXPECT_EQ(L[2], "003 FAIL size=20x12 elves=1 exits=1 diamonds=1 solution=missing name=\"Third\"");

  // The runs are independent of each other: a fixed map 2 and a present map 3 pass.
  WriteFileText(Sol + "/002.keys", "U D R R R R R R R R R R R R");
  WriteFileText(Sol + "/003.keys", "RRRRRRRRRRRRRRRRRRRR");
  EXPECT_EQ(Check(Pack, " --solutions " + Sol, Out), 0) << Out;
  EXPECT_NE(Out.find("3 maps, 0 failed"), std::string::npos) << Out;
  WriteFileText(Sol + "/003.keys", "RX");
  EXPECT_EQ(Check(Pack, " --solutions " + Sol, Out), 1);
  EXPECT_NE(Out.find("003 FAIL size=20x12 elves=1 exits=1 diamonds=1 solution=bad"), std::string::npos) << Out;
  EXPECT_EQ(Check(Pack, " --solutions " + Dir.File("nothere"), Out), 1);
}
