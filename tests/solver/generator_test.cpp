// Maps made from a seed: the same seed makes the same map and script, and
// every kept map is completed by its script and is more than a dig.
#include "solver/generator.h"

#include "tests/world/world_fixture.h"
#include "world/map_check.h"
#include "world/pack_writer.h"

namespace {

class GeneratorTest : public WorldTest {
 protected:
  static TGenerateOptions Quick() {
    TGenerateOptions Options;
    Options.MaxStates = 20000;
    Options.MaxCandidates = 400;
    return Options;
  }
};

// Rows of a 20x12 map from text (steel where nothing is given), as a map.
std::shared_ptr<TXMap> MapFrom(const std::vector<std::string>& Rows) {
  std::string Text = "MAPT\r\nWI20\r\nHE12\r\n";
  for (size_t Y = 0; Y < 12; ++Y) {
    std::string Row = Y < Rows.size() ? Rows[Y] : "";
    Row.resize(20, '%');
    Text += "MP" + Row + "\r\n";
  }
  Text += "XX\r\n";
  auto Map = std::make_shared<TXMap>();
  TMemoryStream S(Text.data(), Text.size());
  Map->Load(S);
  return Map;
}

}  // namespace

TEST_F(GeneratorTest, SameSeedMakesTheSameMapsAndScripts) {
  uint32_t SeedA = 7, SeedB = 7;
  for (int I = 0; I < 2; ++I) {
    TGeneratedMap A, B;
    ASSERT_TRUE(GenerateMap(SeedA, Quick(), A));
    ASSERT_TRUE(GenerateMap(SeedB, Quick(), B));
    EXPECT_EQ(MapAsMapt(*A.Map), MapAsMapt(*B.Map));
    EXPECT_EQ(A.Keys, B.Keys);
    EXPECT_EQ(A.Seed, B.Seed);
    EXPECT_EQ(SeedA, SeedB);
    // The printed seed makes that map again, first try.
    uint32_t Again = A.Seed;
    TGeneratedMap C;
    ASSERT_TRUE(GenerateMap(Again, Quick(), C));
    EXPECT_EQ(MapAsMapt(*A.Map), MapAsMapt(*C.Map));
    EXPECT_EQ(Again, NextCandidateSeed(A.Seed));
  }
}

TEST_F(GeneratorTest, KeptMapsAreCompletedByTheirScriptAndAreNoMereDig) {
  uint32_t Seed = 1234;
  for (int I = 0; I < 3; ++I) {
    TGeneratedMap Made;
    ASSERT_TRUE(GenerateMap(Seed, Quick(), Made));
    TMaps Pack;
    Pack.Maps.push_back(Made.Map);
    for (uint32_t Check = 0; Check < 10; ++Check) EXPECT_TRUE(ReplayCompletes(Pack, 0, Made.Keys, Check)) << Check;
    EXPECT_GE(Made.Keys.size(), 30u);
    EXPECT_TRUE(NeedsMoreThanDigging(*Made.Map));
    EXPECT_GE(Made.Rating.Needs(), 1) << "the way found uses something beyond digging";
    EXPECT_EQ(CountTiles(*Made.Map, Tile::Elf), 1);
    EXPECT_GE(CountTiles(*Made.Map, Tile::ExitClosed), 1);
    EXPECT_NE(Made.Map->MapName, "Unknown");
  }
}

TEST_F(GeneratorTest, DifficultyKeepsOnlyMapsRatedSo) {
  uint32_t Seed = 99;
  TGenerateOptions Options = Quick();
  Options.Difficulty = 1;
  TGeneratedMap Made;
  ASSERT_TRUE(GenerateMap(Seed, Options, Made));
  EXPECT_LT(Made.Rating.Value, 1.5);
}

TEST(GeneratorRules, DiggingAloneIsTold) {
  // The diamond and the exit lie along grass: a dig.
  EXPECT_FALSE(NeedsMoreThanDigging(*MapFrom({"%*..$..!%"})));
  // A boulder in the way, a wall in the way, an exit beyond a tunnel.
  EXPECT_TRUE(NeedsMoreThanDigging(*MapFrom({"%*.@.$.!%", "%%%%%%%%%"})));
  EXPECT_TRUE(NeedsMoreThanDigging(*MapFrom({"%*.$#..!%"})));
  EXPECT_TRUE(NeedsMoreThanDigging(*MapFrom({"%*.$.>.!%"})));
  // Whatever is behind the exit does not matter; a diamond behind anything does.
  EXPECT_FALSE(NeedsMoreThanDigging(*MapFrom({"%*.$.!#@%"})));
  EXPECT_TRUE(NeedsMoreThanDigging(*MapFrom({"%*..!&$.%"})));
}

TEST(GeneratorRules, CandidateSeedsWalkOnAndNamesAreStable) {
  EXPECT_NE(NextCandidateSeed(0), 0u);
  EXPECT_NE(NextCandidateSeed(NextCandidateSeed(5)), 5u);
  EXPECT_EQ(GeneratedMapName(42), GeneratedMapName(42));
  EXPECT_NE(GeneratedMapName(42).find(' '), std::string::npos);
}
