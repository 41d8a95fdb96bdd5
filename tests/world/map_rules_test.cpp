#include "shell/random.h"
#include "tests/world/world_fixture.h"

// --- Falling and landing ------------------------------------------------

TEST_F(WorldTest, BoulderFallsOneCellPerStepAndLandsWithASound) {
  Load({"%@%", "% %", "% %", "%#%"});
  Step();
  EXPECT_EQ(At(1, 1), '@');
  EXPECT_EQ(World->Flag(1, 1), CellState::Moving);
  Step();
  EXPECT_EQ(At(1, 2), '@');
  EXPECT_EQ(Count("BoulderDown"), 0);
  Step();
  EXPECT_EQ(At(1, 2), '@');
  EXPECT_EQ(World->Flag(1, 2), CellState::Free);
  EXPECT_EQ(Count("BoulderDown"), 1);
}

TEST_F(WorldTest, DiamondLandsWithItsOwnSound) {
  Load({"%$%", "% %", "%#%"});
  Steps(3);
  EXPECT_EQ(Count("DiamondDown"), 1);
  EXPECT_EQ(Count("BoulderDown"), 0);
}

TEST_F(WorldTest, RestingBoulderDoesNotFallOnTheElf) {
  Load({"%@%", "%*%"});
  Steps(5);
  EXPECT_EQ(World->ElfDead, 0);
  EXPECT_EQ(At(1, 0), '@');
}

TEST_F(WorldTest, FallingBoulderKillsElfThatWalkedUnderIt) {
  Load({"%@%%", "% %%", "% %%", "% *%"});
  Steps(2);  // the boulder is in the air above the elf's path
  Step("L");
  EXPECT_EQ(World->ElfX, 1);
  EXPECT_EQ(World->ElfDead, 1);
  EXPECT_EQ(At(1, 3), Tile::ExplosionFirst);
  EXPECT_EQ(Count("Explosion"), 1);
}

TEST_F(WorldTest, ObjectsInTheBottomRowRestOnTheSteelBelowTheField) {
  std::vector<std::string> Rows(12, "%%%");
  Rows[10] = "%@%";
  Rows[11] = "% %";
  Load(Rows);
  Steps(3);
  EXPECT_EQ(At(1, 11), '@');
  EXPECT_EQ(Count("BoulderDown"), 1);
}

// --- Rolling --------------------------------------------------------------

TEST_F(WorldTest, BoulderOnBoulderRollsLeftBeforeRight) {
  Load({"% @ %", "%   %", "% @ %"});
  Steps(2);
  EXPECT_EQ(At(1, 1), '@');
  EXPECT_EQ(At(2, 1), ' ');
  Step();
  EXPECT_EQ(At(1, 2), '@');
}

TEST_F(WorldTest, BoulderRollsRightWhenLeftIsBlocked) {
  Load({"% @ %", "%#  %", "% # %"});
  Steps(2);
  EXPECT_EQ(At(3, 1), '@');
}

TEST_F(WorldTest, NothingRollsOffGrassOrPlasma) {
  Load({"% @ %", "%   %", "% . %", "%   %", "% @ %", "%   %", "% = %"});
  Steps(6);
  EXPECT_EQ(At(2, 1), '@');
  EXPECT_EQ(At(2, 5), '@');
}

TEST_F(WorldTest, StackOfBouldersFallsLowerFirstUpperWaitsWhenBoxedIn) {
  // Reached first in the step, the upper boulder sees a boulder below it.
  Load({"%@%", "%@%", "% %", "% %"});
  Step();
  EXPECT_EQ(At(1, 0), '@');
  EXPECT_EQ(At(1, 2), '@');
  EXPECT_EQ(At(1, 1), ' ');
}

// --- Barrels --------------------------------------------------------------

TEST_F(WorldTest, BarrelLandingOnGrassOrBalloonStaysWhole) {
  Load({"%&%&%", "% % %", "%.%0%"});
  Steps(4);
  EXPECT_EQ(At(1, 1), '&');
  EXPECT_EQ(Count("Explosion"), 0);
}

TEST_F(WorldTest, BarrelLandingOnWallExplodesAndKillsTheElfBeside) {
  Load({"%&%%", "% *%", "%#%%"});
  Steps(2);
  EXPECT_EQ(World->ElfDead, 1);
  EXPECT_EQ(At(1, 1), Tile::ExplosionFirst);
  EXPECT_EQ(At(1, 2), Tile::ExplosionFirst + 1) << "walls do not survive explosions";
  EXPECT_EQ(At(1, 0), Tile::ExplosionFirst + 1) << "a free cell starts advancing in the same step";
  Steps(3);
  EXPECT_EQ(At(1, 0), Tile::Empty) << "emptied in the fourth step, counting its own";
}

TEST_F(WorldTest, BarrelChainAdvancesOneLinkPerTwoSteps) {
  Load({"%@%%%%", "% %%%%", "%&&&%%"});
  Steps(2);
  EXPECT_EQ(At(1, 2), Tile::ExplosionFirst);
  EXPECT_EQ(At(2, 2), Tile::ExplosionFirst);
  EXPECT_EQ(At(3, 2), '&');
  Step();
  EXPECT_EQ(At(3, 2), '&');
  Step();
  EXPECT_EQ(At(3, 2), Tile::ExplosionFirst);
  EXPECT_EQ(Count("Explosion"), 2);
}

// --- Explosions -------------------------------------------------------------

TEST_F(WorldTest, ExplosionSparesSteelAndDiagonals) {
  Load({"#.#", ".&%", "#$#"});
  World->Explode(1, 1);
  EXPECT_EQ(At(0, 1), Tile::ExplosionFirst);
  EXPECT_EQ(At(2, 1), '%');
  EXPECT_EQ(At(1, 0), Tile::ExplosionFirst);
  EXPECT_EQ(At(1, 2), Tile::ExplosionFirst);
  EXPECT_EQ(At(0, 0), '#');
  EXPECT_EQ(At(2, 2), '#');
  EXPECT_EQ(World->DiamondsLeft, 1) << "a destroyed diamond still counts";
  EXPECT_NE(World->Sprite(1, 0), nullptr) << "an explosion shows its own sprite";
}

TEST_F(WorldTest, ExplosionKillsTheElfInsideATunnel) {
  Load({"%*>> %", "%%.%%%"});
  Step("R");
  ASSERT_EQ(At(2, 0), Tile::ElfInTunnelRight);
  World->Explode(2, 1);
  EXPECT_EQ(World->ElfDead, 1);
}

// --- Balloons ---------------------------------------------------------------

TEST_F(WorldTest, FreeBalloonRisesOneCellPerStep) {
  Load({"% %", "% %", "%0%"});
  Step();
  EXPECT_EQ(At(1, 1), '0');
  Step();
  EXPECT_EQ(At(1, 0), '0');
  EXPECT_EQ(Count("BalloonUp"), 2);
}

TEST_F(WorldTest, BalloonLiftsABoulderEveryOtherStep) {
  Load({"% %", "% %", "%@%", "%0%"});
  Step();
  EXPECT_EQ(At(1, 1), '@');
  EXPECT_EQ(At(1, 2), '0');
  Step();
  EXPECT_EQ(At(1, 1), '@');
  Step();
  EXPECT_EQ(At(1, 0), '@');
  EXPECT_EQ(At(1, 1), '0');
  EXPECT_EQ(Count("BoulderDown"), 1) << "the boulder comes to rest on the balloon between lifts";
}

TEST_F(WorldTest, BalloonLiftsTheElf) {
  Load({"% %", "%*%", "%0%"});
  Step();
  EXPECT_EQ(World->ElfY, 0);
  EXPECT_EQ(At(1, 0), '*');
}

TEST_F(WorldTest, BalloonSinksUnderTwoHeavyThings) {
  Load({"%@%", "%$%", "%0%", "% %"});
  Step();
  EXPECT_EQ(At(1, 3), '0');
  EXPECT_EQ(At(1, 2), '$');
  EXPECT_EQ(At(1, 1), ' ');
  EXPECT_EQ(At(1, 0), '@');
  EXPECT_EQ(World->Flag(1, 0), CellState::Moving);
}

// --- Pushing ----------------------------------------------------------------

TEST_F(WorldTest, BarrelCanBePushedOnlyWithSomethingUnderIt) {
  Load({"%%%%%%", "%  &*%", "%%% %%"});
  Step("L");
  EXPECT_EQ(World->ElfX, 4) << "an unsupported barrel cannot be pushed";
  Load({"%%%%%%", "%  @*%", "%%%%%%"});
  Step("L");
  EXPECT_EQ(World->ElfX, 3);
  EXPECT_EQ(At(2, 1), '@');
  EXPECT_EQ(World->ElfImage, "*L");
  EXPECT_EQ(Count("Pushing"), 1);
}

TEST_F(WorldTest, BalloonCanBePushedInRowZeroOrUnderSomething) {
  Load({"% 0*%"});
  Step("L");
  EXPECT_EQ(At(1, 0), '0');
  Load({"%%%%%", "%*0 %", "%%%%%"});
  Step("R");
  EXPECT_EQ(At(3, 1), '0');
  Load({"%  %%", "%*0 %", "%%%%%"});
  Step("R");
  EXPECT_EQ(World->ElfX, 1) << "nothing above: the balloon rises instead";
}

// --- The elf and tunnels -----------------------------------------------------

TEST_F(WorldTest, ElfEatsGrassAndCollectsDiamonds) {
  Load({"%*.$%"});
  Step("R");
  EXPECT_EQ(Count("EatSand"), 1);
  EXPECT_EQ(At(1, 0), Tile::Empty) << "the vacated cell is cleared by the end of the step";
  Step("R");
  EXPECT_EQ(Count("DiamondPickup"), 1);
  EXPECT_EQ(World->DiamondsLeft, 0);
  EXPECT_EQ(World->ElfImage, "*R");
}

TEST_F(WorldTest, ElfTravelsThroughATunnel) {
  Load({"%*>> %"});
  Step("R");
  EXPECT_EQ(World->ElfImage, TMaps::kHiddenElf);
  EXPECT_EQ(Count("TunnelStart"), 1);
  Step();
  EXPECT_EQ(At(3, 0), Tile::ElfInTunnelRight);
  EXPECT_EQ(At(2, 0), '>');
  EXPECT_EQ(Count("TunnelItem"), 1);
  Step();
  EXPECT_EQ(World->ElfX, 4);
  EXPECT_EQ(At(4, 0), '*');
  EXPECT_EQ(World->ElfImage, "*R");
  EXPECT_EQ(Count("TunnelEnd"), 1);
}

TEST_F(WorldTest, TunnelWithBlockedExitCannotBeEntered) {
  Load({"% <<#*%"});
  Step("L");
  EXPECT_EQ(World->ElfX, 5);
  Load({"%#<<*%"});
  Step("L");
  EXPECT_EQ(World->ElfX, 4);
  EXPECT_FALSE(World->TunnelExitFree(4, 0, -1));
  Load({"<<*%"});
  EXPECT_FALSE(World->TunnelExitFree(2, 0, -1)) << "the field's edge is no way out";
}

// --- Diamonds and the exit ---------------------------------------------------

TEST_F(WorldTest, LastDiamondOpensTheExitAndWalkingInCompletes) {
  Load({"%*$!%"});
  Step("R");
  EXPECT_EQ(At(3, 0), Tile::ExitWaiting);
  EXPECT_EQ(Count("ExitOpen"), 1);
  for (int I = 0; I < 400 && At(3, 0) != Tile::ExitOpen; ++I) Frames(1);
  ASSERT_EQ(At(3, 0), Tile::ExitOpen);
  EXPECT_FALSE(Run.Completed);
  Step("R");
  EXPECT_TRUE(Run.Completed);
}

TEST_F(WorldTest, MapWithoutDiamondsOpensItsExitAtOnce) {
  Load({"%*!%"});
  EXPECT_EQ(World->DiamondsLeft, 0);
  EXPECT_EQ(At(2, 0), Tile::ExitWaiting);
}

TEST_F(WorldTest, LastDiamondTakenAtATunnelExitOpensTheExit) {
  Load({"%*>$!%"});
  Step("R");
  Step();
  EXPECT_EQ(World->DiamondsLeft, 0);
  EXPECT_EQ(At(3, 0), '*');
  EXPECT_EQ(At(4, 0), Tile::ExitWaiting);
  EXPECT_EQ(Count("DiamondPickup"), 1);
}

TEST_F(WorldTest, ExitWithAStillPictureStillOpens) {
  Blocks->Clear();
  AddBlock("!", 1);
  AddBlock("!1", 1);
  AddBlock("!2", 1);
  Load({"%*!%"});
  Frames(7 * 3);
  EXPECT_EQ(At(2, 0), Tile::ExitOpen);
}

// --- Death ---------------------------------------------------------------------

TEST_F(WorldTest, DeadElfIsHiddenAndIgnoresTheKeys) {
  Load({"%&%%", "% *%", "%#%%"});
  Steps(2);
  ASSERT_EQ(World->ElfDead, 1);
  Step("L");
  EXPECT_EQ(World->ElfDead, 2);
  EXPECT_EQ(World->ElfImage, TMaps::kHiddenElf);
  EXPECT_EQ(World->ElfX, 2) << "the held key moves nothing";
  Steps(15);
  EXPECT_EQ(World->ElfDead, 17) << "the play screen restarts once this passes 16";
}

// --- Drawing ---------------------------------------------------------------------

// Runs Keys on the map twice, once as the game draws (unchanged cells left
// alone) and once drawing every cell, and compares the frames.
class CachedDrawingTest : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    Colour();
  }
  // Frames of distinct colours, so any stale cell would show.
  void Colour() {
    for (const char* Name : {"$", "!", "!1", "!2", "X", "@", ".", "&", ">", ">2", "*D", "*L", "*R", "*U"}) {
      TImage* I = Blocks->FindImage(Name);
      for (int F = 0; F * 32 < I->Width(); ++F)
        I->Bar(F * 32, 0, 32, 32, static_cast<uint8_t>(40 * F + 20), static_cast<uint8_t>(Name[0]),
               static_cast<uint8_t>(90 + Name[1]));
    }
  }
  std::vector<uint32_t> Film(const std::vector<std::string>& Map, const std::string& Keys, bool Everything) {
    VXRandom::Seed(7);
    Target->Bar(0, 0, 640, 480, 0, 0, 0);
    Load(Map);
    std::vector<uint32_t> Pixels;
    for (size_t I = 0; I < Keys.size() * 7; ++I) {
      if (Everything) World->ForgetDrawnCells();
      RunMapFrame(*World, Run, *Target, [&] { return ElfKeysFor(Keys[I / 7]); });
      for (int Y = 48; Y < 48 + 5 * 32; Y += 8)
        for (int X = 0; X < 8 * 32; X += 8) {
          uint8_t R, G, B;
          Target->PixelRGB(X, Y, R, G, B);
          Pixels.push_back(static_cast<uint32_t>(R << 16 | G << 8 | B));
        }
    }
    return Pixels;
  }
  void ExpectSameFilms(const std::vector<std::string>& Map, const std::string& Keys) {
    const auto Drawn = Film(Map, Keys, false);
    EXPECT_EQ(Drawn, Film(Map, Keys, true));
  }
};

TEST_F(CachedDrawingTest, SkippingUnchangedCellsDrawsTheSameFramesAsDrawingAll) {
  ExpectSameFilms({"%*$ !%", "% @  %", "% .& %", "%    %", "%%  %%"}, "R....DRRL..");
}

TEST_F(CachedDrawingTest, NoGhostOfTheElfAfterADeathAPushOrATunnelTrip) {
  ExpectSameFilms({"%&%%", "% *%", "%#%%"}, "........");  // killed by a barrel
  ExpectSameFilms({"%*@  %", "%####%"}, "RRR...");        // pushing a boulder
  ExpectSameFilms({"%*>> .%"}, "R....L.");                // through a tunnel and back
}

TEST_F(CachedDrawingTest, NoGhostOfTheElfOverAStillExplosion) {
  // A pack's own still explosion changes its picture only when it ends.
  Blocks->Clear();
  for (const char* Name : {"#", "%", "&", "X", "*D", "*L", "*R", "*U", "$", "!", "!1", "!2", "@", ".", ">", ">2"})
    AddBlock(Name, 1);
  Colour();
  ExpectSameFilms({"%&%%", "% *%", "%#%%"}, "........");
}

TEST_F(WorldTest, DrawingOverTheFieldNeedsTheCellsForgotten) {
  AddBlock("#", 1);
  Blocks->FindImage("#")->Bar(0, 0, 32, 32, 200, 100, 50);
  Load({"##*", "##"});
  Frames(1);
  Target->Bar(0, 48, 64, 64, 0, 0, 255);  // something else draws over the field
  Frames(1);
  uint8_t R, G, B;
  Target->PixelRGB(5, 53, R, G, B);
  EXPECT_EQ(B, 255) << "unchanged cells are not copied again";
  World->ForgetDrawnCells();
  Frames(1);
  Target->PixelRGB(5, 53, R, G, B);
  EXPECT_EQ(R, 200);
}
