// The tile table against the rules of the game world as a designer reads
// them: which tiles fall, roll, are walked into, lifted, survive explosions;
// and what the rules make of codes that are no tile.
#include "world/tile_table.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/world/world_fixture.h"

namespace {

// The codes 0 to 255 that have Flag, as characters.
std::string Having(uint16_t Flag) {
  std::string Chars;
  for (int C = 0; C < 256; ++C)
    if (TileIs(C, Flag)) Chars += static_cast<char>(C);
  return Chars;
}

TEST(TileTable, TheSetsOfTheRulesAreTheTables) {
  EXPECT_EQ(Having(kHeavy), "$&@");
  EXPECT_EQ(Having(kRounded), "#$&@");
  EXPECT_EQ(Having(kWalkable), " $.");  // and the open exit, a state of the exit
  EXPECT_EQ(Having(kLiftable), "$&*@");
  EXPECT_EQ(Having(kSurvives), "%") << "steel alone survives explosions";
  EXPECT_EQ(Having(kExplodes), "&");
  EXPECT_EQ(Having(kFloats), "0");
  EXPECT_EQ(Having(kPushable), "&0@");
  EXPECT_EQ(Having(kCushions), " .0") << "where a falling barrel lands without exploding";
  EXPECT_EQ(Having(kWall), "#%=");
  EXPECT_EQ(Having(kBarrier), "!#%=");
  EXPECT_EQ(Having(kInStep), "=") << "plasma pulses together";
  EXPECT_EQ(Having(kNoSprite), " *");
  // Numbered looks are counted in this order (VariantCounts).
  std::string Numbered;
  for (const TTileRow& Row : kTileRows)
    if (Row.Flags & kNumbered) Numbered += Row.Char;
  EXPECT_EQ(Numbered, "$@.&0");
  // Every state a rule puts a cell through is no tile: it has none of these.
  for (int32_t State : {Tile::Vacated, Tile::Left, Tile::ElfInTunnelRight, Tile::ElfInTunnelLeft, Tile::ExplosionFirst,
                        Tile::ExplosionLast, Tile::ExitWaiting, Tile::ExitOpening, Tile::ExitOpen, 256 + '$', -1}) {
    EXPECT_FALSE(IsTile(State)) << State;
    EXPECT_EQ(TileFlags(State), 0) << State;
  }
}

TEST(TileTable, ThePaletteAndTheLegendShowEveryTileOnce) {
  std::string Palette, Legend;
  for (const TTileRow& Row : kTileRows) Palette += Row.Char;
  EXPECT_EQ(Palette, "*!$@.#%=&0<> ") << "the editor's palette, empty last";
  for (const TTileRow* Row : kLegendRows) Legend += Row->Char;
  EXPECT_EQ(Legend, "*.#%=!@$&0<>");
  for (const TTileRow& Row : kTileRows) {
    EXPECT_EQ(TileRow(static_cast<uint8_t>(Row.Char)), &Row);
    // Whatever a map may show has a picture to show in the palette.
    EXPECT_EQ(Row.Image != nullptr, Row.Char != Tile::Empty) << Row.Char;
  }
}

class TileRulesTest : public WorldTest {};

TEST_F(TileRulesTest, WideCodesAreWalkedByTheirLowByteAndTheOpenExitByItsOwn) {
  // The elf between a wide-format code whose low byte is a diamond and a
  // wide code whose low byte is the open exit's.
  Load({"%!*  %"});
  World->SetCode(1, 0, 256 + Tile::Diamond);
  World->SetCode(3, 0, 256 + Tile::ExitOpen);
  EXPECT_TRUE(World->IsWalkable(1, 0));
  EXPECT_FALSE(World->IsWalkable(3, 0)) << "only the open exit's own code opens the way";
  World->SetCode(3, 0, Tile::ExitOpen);
  EXPECT_TRUE(World->IsWalkable(3, 0));
}

TEST_F(TileRulesTest, AFallEndsWithTheSoundOfWhatFell) {
  Load({"%$@%", "%  %", "%..%"});
  Steps(3);
  EXPECT_EQ(Count("DiamondDown"), 1);
  EXPECT_EQ(Count("BoulderDown"), 1);
  EXPECT_EQ(At(1, 1), Tile::Diamond);
  EXPECT_EQ(At(2, 1), Tile::Boulder);
}

}  // namespace
