#include "game/outro.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "graphics/image.h"
#include "graphics/image_collection.h"
#include "graphics/key_codes.h"
#include "graphics/video.h"
#include "storage/stream_opener.h"
#include "tests/support/log_capture.h"
#include "tests/support/scope_guard.h"
#include "tests/support/test_support.h"

namespace {

// A window under the dummy driver without frame pacing, a logger, and the
// stream opener in a fresh working folder.
class OutroTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VX_SDL::Start();
    VX_SDL::Initialize(640, 480, 32, VX_SDL::kUseSecondary);
    VX_SDL::SetFrameRate(0);
    VX_SDL::ClearKeys();
  }
  void TearDown() override {
    VX_SDL::ClearKeys();
    VX_SDL::Finalize();
    VX_SDL::Stop();
  }

  // Images of one colour, named, for the scene.
  static std::unique_ptr<TImage> Solid(int W, int H, uint8_t R, uint8_t G, uint8_t B) {
    auto I = std::make_unique<TImage>(W, H);
    I->Bar(0, 0, W, H, R, G, B);
    return I;
  }
  static std::tuple<int, int, int> ScreenPixel(int X, int Y) {
    uint8_t R, G, B;
    VX_SDL::ScreenImage()->PixelRGB(X, Y, R, G, B);
    return {R, G, B};
  }
  static std::tuple<int, int, int> BackPixel(int X, int Y) {
    uint8_t R, G, B;
    VX_SDL::SecondaryImage()->PixelRGB(X, Y, R, G, B);
    return {R, G, B};
  }
  void HoldSpaceAlways() {
    Outro.AfterEvents = [] { VX_SDL::Keys[VXKey::Space] = true; };
  }

  TTempDir Dir;
  TChangeDir Here{Dir.Path()};
  TLogCapture Captured;
  TRestore<std::unique_ptr<TVXStreamOpener>> Opener{StreamOpener,
                                                    std::make_unique<TVXStreamOpener>(Dir.Path() + "/Data/")};
  TOutro Outro;
};

TEST(OutroSineTest, HalfASineWaveScaledTo255) {
  const auto& S = TOutro::Sine();
  EXPECT_EQ(S[0], 0);
  EXPECT_EQ(S[16], 128);  // 127.5 rounds up
  EXPECT_EQ(S[32], 221);
  EXPECT_EQ(S[48], 255);
  EXPECT_EQ(S[80], 128);
  EXPECT_EQ(S[96], 0);
  for (int I = 0; I <= 96; ++I) {
    EXPECT_EQ(S[static_cast<size_t>(I)], S[static_cast<size_t>(96 - I)]) << I;
    EXPECT_LE(std::abs(S[static_cast<size_t>(I)] - 255.0 * std::sin(I * 3.14159265358979 / 96)), 0.5 + 1e-6) << I;
  }
}

TEST_F(OutroTest, WaitRunsItsFramesUnlessSpaceIsHeld) {
  Outro.Wait(5);
  EXPECT_EQ(Outro.Frames, 5);

  Outro.Frames = 0;
  VX_SDL::Keys[VXKey::Space] = true;
  Outro.Wait(420);
  EXPECT_EQ(Outro.Frames, 1);

  // Space pressed in the middle stops the wait at that frame.
  Outro.Frames = 0;
  VX_SDL::ClearKeys();
  Outro.AfterEvents = [this] {
    if (Outro.Frames == 3) VX_SDL::Keys[VXKey::Space] = true;
  };
  Outro.Wait(60);
  EXPECT_EQ(Outro.Frames, 3);
}

TEST_F(OutroTest, WalkShowsEachStepAndLeavesTheBackdropBehind) {
  Outro.Images = std::make_unique<TImageCollection>();
  Outro.Images->AddImage(Solid(4, 4, 255, 255, 255), "Dot");
  Outro.Backdrop = std::make_unique<TImage>(640, 480);
  // Walking up and left: the steps truncate toward zero (7, not 6, after one third).
  std::vector<std::pair<int, int>> Seen;
  Outro.AfterEvents = [&] {
    for (int Y = 0; Y < 20; ++Y)
      for (int X = 0; X < 20; ++X)
        if (std::get<0>(ScreenPixel(X, Y)) == 255) {
          Seen.emplace_back(X, Y);
          return;
        }
  };
  Outro.Walk("Dot", 10, 10, 0, 7, 3);
  EXPECT_EQ(Outro.Frames, 3);
  EXPECT_EQ(Seen, (std::vector<std::pair<int, int>>{{7, 9}, {4, 8}, {0, 7}}));
  EXPECT_EQ(BackPixel(1, 8), std::make_tuple(0, 0, 0)) << "the figure was not erased";

  Outro.Frames = 0;
  HoldSpaceAlways();
  Outro.Walk("Dot", -32, 240, 128, 240, 160);
  EXPECT_EQ(Outro.Frames, 1);
}

TEST_F(OutroTest, TheClosingScreenWaitsForAFreshSpace) {
  // The Space held to skip the scene is released first; the screen ends on
  // the next press.
  VX_SDL::Keys[VXKey::Space] = true;
  Outro.AfterEvents = [this] {
    if (Outro.Frames == 4) VX_SDL::Keys[VXKey::Space] = true;
  };
  Outro.ClosingScreen();
  EXPECT_EQ(Outro.Frames, 4);
}

TEST_F(OutroTest, HoldingSpaceRunsTheWholeSceneInAFewFrames) {
  HoldSpaceAlways();
  Outro.Run();
  EXPECT_TRUE(Captured.Contains("No outro images: controls.ini not found"));
  // Every wait, walk and animation takes one frame; about thirty in all.
  EXPECT_GT(Outro.Frames, 20);
  EXPECT_LT(Outro.Frames, 40);
  EXPECT_FALSE(Outro.Images);
  EXPECT_FALSE(Outro.Backdrop);
  EXPECT_EQ(BackPixel(320, 240), std::make_tuple(0, 0, 0));
}

TEST_F(OutroTest, TheStreamAndTheFamilyEndOnTheirOwn) {
  Outro.Images = std::make_unique<TImageCollection>();
  for (const char* Name : {"Diam1", "Diam2", "Diam3", "Diam4"}) Outro.Images->AddImage(Solid(16, 16, 0, 0, 255), Name);
  Outro.Backdrop = std::make_unique<TImage>(640, 480);
  // The last diamond starts after 4 * 99 frames and falls 96 rows.
  Outro.DiamondStream();
  EXPECT_EQ(Outro.Frames, 4 * 99 + 96);
  EXPECT_EQ(BackPixel(360, 200), std::make_tuple(0, 0, 0));

  Outro.Frames = 0;
  // The last walker waits 8 + 10 * 15 frames, then walks 672 pixels at two a frame.
  Outro.FamilyLeaving();
  EXPECT_EQ(Outro.Frames, 8 + 10 * 15 + 672 / 2);
}

TEST_F(OutroTest, TheSceneDrawsOnlyTheKnownTiles) {
  std::string Hall = "MAPT\r\nWI20\r\nHE12\r\n";
  for (int Y = 0; Y < 12; ++Y) {
    std::string Row(20, ' ');
    if (Y == 0) Row = "#x.                 ";
    if (Y == 5) Row = "     1    b         ";
    Hall += "MP" + Row + "\r\n";
  }
  WriteFileText(Dir.File("outro.mpt"), Hall + "XX\r\n");
  Outro.Images = std::make_unique<TImageCollection>();
  Outro.Images->AddImage(Solid(32, 32, 200, 0, 0), "Wall");
  Outro.Images->AddImage(Solid(32, 32, 0, 200, 0), "Grass");
  Outro.Images->AddImage(Solid(32, 32, 0, 0, 200), "ElfBad2");
  Outro.Images->AddImage(Solid(32, 32, 200, 200, 0), "ElfBoss1");
  Outro.DrawScene();
  EXPECT_EQ(BackPixel(10, 60), std::make_tuple(200, 0, 0));
  EXPECT_EQ(BackPixel(42, 60), std::make_tuple(0, 0, 0)) << "an unknown tile is drawn";
  EXPECT_EQ(BackPixel(74, 60), std::make_tuple(0, 200, 0));
  // A watching guard stands four pixels up and left of his cell.
  EXPECT_EQ(BackPixel(160 - 4, 208 - 4), std::make_tuple(0, 0, 200));
  EXPECT_EQ(BackPixel(160 + 28, 208 + 28), std::make_tuple(0, 0, 0));
  EXPECT_EQ(BackPixel(320, 208), std::make_tuple(200, 200, 0));
  // The play screen's frame: the brightest border line just above the field.
  EXPECT_EQ(BackPixel(5, 47), std::make_tuple(255, 255, 255));
}

}  // namespace
