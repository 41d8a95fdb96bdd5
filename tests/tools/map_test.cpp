// sqtool map convert, run as a program on files made here.
#include <gtest/gtest.h>

#include "tests/support/sqtool_runner.h"
#include "tests/support/test_support.h"

namespace {
class MapTool : public ::testing::Test {
 protected:
  TTempDir Dir;
  // "sqtool map" in Dir; errors join the output.
  const TSqtool Map{Dir.Path(), "map"};
};

const std::string kMap =
    "MAPT\r\nWI6\r\nHE3\r\nAUAnn\r\nMNCave\r\nGMStarquarry\r\nLW@036\r\n"
    "MP######\r\nMP#*$@!#\r\nMP######\r\nEXa hint\r\nXX\r\n";
}  // namespace

TEST_F(MapTool, ConvertRoundTripsThroughEveryFormat) {
  WriteFileText(Dir.File("a.mapt"), kMap);
  std::string Out;
  ASSERT_EQ(Map.RunJoined("convert a.mapt b.mapb b", &Out), 0) << Out;
  EXPECT_EQ(Out, "b.mapb: MAPB, 6 x 3\n");
  ASSERT_EQ(Map.RunJoined("convert b.mapb c.mapx X"), 0);
  ASSERT_EQ(Map.RunJoined("convert c.mapx d.mapw w"), 0);
  ASSERT_EQ(Map.RunJoined("convert d.mapw e.mapt T"), 0);
  EXPECT_EQ(ReadFileText(Dir.File("e.mapt")), kMap);
  EXPECT_EQ(ReadFileText(Dir.File("c.mapx")).substr(0, 6), "MAPX\r\n");
  EXPECT_EQ(ReadFileText(Dir.File("d.mapw")).substr(0, 4), "MAPW");
  ASSERT_EQ(Map.RunJoined("convert e.mapt f.mapb a", &Out), 0);
  EXPECT_EQ(ReadFileBytes(Dir.File("f.mapb")), ReadFileBytes(Dir.File("b.mapb")));
}

TEST_F(MapTool, BadInputFailsWithAMessage) {
  WriteFileText(Dir.File("junk.txt"), "hello");
  std::string Out;
  EXPECT_EQ(Map.RunJoined("convert junk.txt out.map B", &Out), 1);
  EXPECT_EQ(Out, "sqtool: junk.txt: Not an XMAP file!\n");
  EXPECT_EQ(Map.RunJoined("convert missing.map out.map B", &Out), 1);
  EXPECT_EQ(Out, "sqtool: cannot read missing.map\n");
  WriteFileText(Dir.File("bad.mapx"), "MAPX\r\nWI1\r\nHE1\r\nMP zzzz\r\nXX\r\n");
  EXPECT_EQ(Map.RunJoined("convert bad.mapx out.map B", &Out), 1);
  EXPECT_EQ(Out, "sqtool: bad.mapx: Not a hexadecimal expression! ('ZZZZ')\n");
  WriteFileText(Dir.File("a.mapt"), kMap);
  EXPECT_EQ(Map.RunJoined("convert a.mapt out.map Q", &Out), 1);
  EXPECT_EQ(Out, "sqtool: unknown mode 'Q' (A, B, T, W or X)\n");
  EXPECT_FALSE(Map.RunJoined("convert a.mapt", &Out) == 0);
  EXPECT_FALSE(Map.RunJoined("explode a.mapt", &Out) == 0);
}
