// A shared map as the game opens it: kept once in the Shared maps pack,
// refused with the reason when the code or its map is no good, and proven
// by its way or checked by the solver before it is played.
#include <SDL.h>
#include <gtest/gtest.h>

#include <fstream>

#include "game/shared_maps.h"
#include "game/shared_opening.h"
#include "game/shared_screens.h"
#include "graphics/image_collection.h"
#include "graphics/key_codes.h"
#include "graphics/video.h"
#include "shell/toolbox.h"
#include "storage/stream_opener.h"
#include "tests/support/data_folder.h"
#include "tests/support/log_capture.h"
#include "tests/support/scope_guard.h"
#include "world/maps.h"
#include "world/pack_reader.h"
#include "world/pack_ways.h"

namespace {

class SharedMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Data.Mounted());
    // As in the game: packs of the same member names come one after another.
    StreamOpener->CacheEnabled = false;
    VX_SDL::Start();
    VX_SDL::Initialize(640, 480, 32, VX_SDL::kUseSecondary);
    VX_SDL::SetFrameRate(0);
    TMaps Basics;
    ASSERT_TRUE(Basics.Load(PlayDir() + "quarry_basics.sq"));
    FirstDig = *Basics.Maps[0];
    SecondMap = *Basics.Maps[1];
    std::ifstream In(PlayDir() + "../levels/quarry_basics/001.keys");
    for (char C; In.get(C);)
      if (C > ' ') Way += C;
  }
  void TearDown() override {
    VX_SDL::ClearKeys();
    VX_SDL::Finalize();
    VX_SDL::Stop();
  }
  // A key the next screen finds pressed.
  static void PressSoon(int Key) {
    SDL_Event E{};
    E.type = SDL_KEYDOWN;
    E.key.type = SDL_KEYDOWN;
    E.key.keysym.sym = static_cast<SDLKey>(Key);
    SDL_PushEvent(&E);
  }
  std::string CodeOf(const TXMap& Map, const std::string& Keys, TShareKind Kind = TShareKind::Map) {
    TShareCode C;
    C.Kind = Kind;
    C.Map = Map;
    C.Keys = Keys;
    std::string Error;
    return EncodeShareCode(C, Error);
  }

  TLogCapture Log;
  TDataFolder Data;
  TRestore<std::unique_ptr<TImageCollection>> BlockGuard{Blocks, std::make_unique<TImageCollection>()};
  TRestore<std::unique_ptr<TMaps>> MapsGuard{Maps};
  TXMap FirstDig, SecondMap;
  std::string Way;
};

}  // namespace

TEST_F(SharedMapTest, EachMapIsKeptOnceWithTheFirstWayThatCame) {
  std::string Error;
  ASSERT_EQ(KeepSharedMap(FirstDig, "", Error), 0) << Error;
  ASSERT_EQ(KeepSharedMap(SecondMap, "RRDD", Error), 1) << Error;
  const std::vector<uint8_t> Before = ReadFileBytes(kSharedPackFile);
  EXPECT_EQ(KeepSharedMap(SecondMap, "LL", Error), 1);
  EXPECT_EQ(ReadFileBytes(kSharedPackFile), Before) << "nothing new: the file is not written";
  TXMap Renamed = FirstDig;
  Renamed.MapName = "First Dig, again";
  EXPECT_EQ(KeepSharedMap(Renamed, "", Error), 2) << "another name is another map";
  EXPECT_EQ(KeepSharedMap(FirstDig, Way, Error), 0) << "the way comes to the map kept without one";

  TStoredPack Pack;
  ASSERT_TRUE(ReadStoredPack(kSharedPackFile, Pack, Error)) << Error;
  EXPECT_EQ(Pack.Name, kSharedPackName);
  ASSERT_EQ(Pack.Maps.size(), 3u);
  EXPECT_EQ(Pack.Maps[0]->LogicalTiles, FirstDig.LogicalTiles);
  EXPECT_EQ(CarriedWay(Pack.Extras, 1), Way);
  EXPECT_EQ(CarriedWay(Pack.Extras, 2), "RRDD");
  EXPECT_EQ(CarriedWay(Pack.Extras, 3), "");

  // A pack that cannot be read is the player's to mend: left as it is.
  WriteFileText(kSharedPackFile, "not a pack");
  EXPECT_EQ(KeepSharedMap(FirstDig, "", Error), -1);
  EXPECT_NE(Error.find("the pack shared_maps.sq cannot be read"), std::string::npos) << Error;
  EXPECT_EQ(ReadFileText(kSharedPackFile), "not a pack");
}

TEST_F(SharedMapTest, ACodeOpensIntoTheSharedPackOrIsRefusedWithItsReason) {
  const std::string Code = CodeOf(FirstDig, Way);
  TSharedOpening Opened = OpenSharedCode("https://example.org/#map=" + Code);
  ASSERT_EQ(Opened.MapNo, 0);
  EXPECT_EQ(Opened.Kind, TShareKind::Map);
  EXPECT_EQ(Opened.Keys, Way);
  EXPECT_EQ(OpenSharedCode(Code).MapNo, 0) << "the same map again";

  PressSoon(VXKey::Return);
  EXPECT_EQ(OpenSharedCode(Code.substr(0, Code.size() - 4)).MapNo, -1);
  EXPECT_TRUE(Log.Contains("A shared code was refused: The code is damaged or cut short."));

  TXMap NoExit = FirstDig;
  for (int32_t& C : NoExit.LogicalTiles)
    if (C == '!') C = '.';
  PressSoon(VXKey::Escape);
  EXPECT_EQ(OpenSharedCode(CodeOf(NoExit, "")).MapNo, -1);
  EXPECT_TRUE(Log.Contains("A shared code was refused: The map cannot be played: no exit."));

  // A run's keys are no way of the pack's: they are a player's.
  Opened = OpenSharedCode(CodeOf(SecondMap, "RRRR", TShareKind::Run));
  EXPECT_EQ(Opened.MapNo, 1);
  EXPECT_EQ(Opened.Kind, TShareKind::Run);
  EXPECT_EQ(Opened.Keys, "RRRR");
  TStoredPack Pack;
  std::string Error;
  ASSERT_TRUE(ReadStoredPack(kSharedPackFile, Pack, Error));
  EXPECT_EQ(CarriedWay(Pack.Extras, 2), "");
}

TEST_F(SharedMapTest, AWayProvesTheMapElseTheSolverChecksIt) {
  std::string Error;
  ASSERT_EQ(KeepSharedMap(FirstDig, "", Error), 0);
  TXMap Walled = FirstDig;
  for (int32_t& C : Walled.LogicalTiles)
    if (C == '.') C = '%';
  ASSERT_EQ(KeepSharedMap(Walled, "", Error), 1);
  Maps = std::make_unique<TMaps>();
  ASSERT_TRUE(Maps->Load(kSharedPackFile));

  TSharedCheck C = CheckSharedMap(0, Way);
  EXPECT_EQ(C.Verdict, TSharedVerdict::Proven);
  EXPECT_TRUE(WayWins(*Maps, 0, Way.substr(0, 111)));
  EXPECT_FALSE(WayWins(*Maps, 0, Way.substr(0, 100))) << "the exit is not reached";
  EXPECT_FALSE(WayWins(*Maps, 0, ""));

  // A way that does not win is checked as no way at all.
  C = CheckSharedMap(0, Way.substr(0, 100));
  EXPECT_EQ(C.Verdict, TSharedVerdict::Solved);
  EXPECT_GT(C.Steps, 50);
  EXPECT_EQ(CheckSharedMap(1, "").Verdict, TSharedVerdict::Unsolvable);
  EXPECT_EQ(VerdictWord(TSharedVerdict::Unsolvable), "unsolvable");
  EXPECT_EQ(VerdictLabel(TSharedVerdict::Proven), "shared, proven");
}
