// The shipped level packs: every map is well formed and its solution completes it.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/sqtool_runner.h"
#include "tests/support/test_support.h"

namespace {

void CheckPack(const std::string& Folder, int MinMaps) {
  const std::string Pack = PlayDir() + Folder + ".sq";
  // The build copies the solutions into its levels folder beside the play folder.
  const std::string Solutions = PlayDir() + "../levels/" + Folder;
  std::string Out;
  EXPECT_EQ(TSqtool().RunJoined("pack check " + Pack + " --solutions " + Solutions, &Out), 0) << Out;
  std::istringstream In(Out);
  int Maps = 0;
  for (std::string Line; std::getline(In, Line);) {
    if (Line.find(" maps, ") != std::string::npos) continue;
    ++Maps;
    EXPECT_NE(Line.find(" ok size=20x12 elves=1 "), std::string::npos) << Line;
    EXPECT_NE(Line.find(" solution=completed "), std::string::npos) << Line;
    EXPECT_EQ(Line.find(" diamonds=0 "), std::string::npos) << Line;
    EXPECT_EQ(Line.find("name=\"Unknown\""), std::string::npos) << Line;
  }
  EXPECT_GE(Maps, MinMaps) << Out;
}

}  // namespace

TEST(LevelPacks, QuarryBasicsIsSolvable) { CheckPack("quarry_basics", 20); }

TEST(LevelPacks, DeepShaftsIsSolvable) { CheckPack("deep_shafts", 20); }

TEST(LevelPacks, QuarryMixIsSolvable) { CheckPack("quarry_mix", 20); }
