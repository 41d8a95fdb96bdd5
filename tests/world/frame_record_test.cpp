// A scripted map run recorded frame by frame, once sending whole frames to
// the window and once only what changed: the back surface and what reached
// the window must be the same in every frame.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "graphics/image.h"
#include "graphics/image_collection.h"
#include "graphics/surface.h"
#include "graphics/video.h"
#include "shell/random.h"
#include "tests/world/world_fixture.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;

// The pixels of an image, row by row.
std::vector<uint32_t> Pixels(const TImage& Image) {
  std::vector<uint32_t> Out(static_cast<size_t>(kWidth) * kHeight);
  TSurfaceLock Lock(Image.Surface());
  for (int Y = 0; Y < kHeight; ++Y)
    for (int X = 0; X < kWidth; ++X) Out[static_cast<size_t>(Y) * kWidth + X] = Image.Pixel(X, Y);
  return Out;
}

uint64_t Hash(const std::vector<uint32_t>& P) {
  uint64_t H = 1469598103934665603ull;
  for (uint32_t V : P) H = (H ^ V) * 1099511628211ull;
  return H;
}

struct TRecording {
  std::vector<uint64_t> Back, Window;
};

class FrameRecordTest : public WorldTest {
 protected:
  void TearDown() override {
    VX_SDL::Finalize();
    VX_SDL::Stop();
    VX_SDL::Start();
    WorldTest::TearDown();
  }

  // Every block a colour of its own with a mark in one corner, so a cell
  // drawn in the wrong place or left out shows.
  void PaintBlocks() {
    const char* Names[] = {"#",  "%",  ".",  "$",  "@",  "&",  "0", "=",  "<",  ">",
                           "<2", ">2", "*U", "*D", "*L", "*R", "!", "!1", "!2", "X"};
    int I = 0;
    for (const char* Name : Names) {
      TImage* Image = Blocks->FindImage(Name);
      ASSERT_NE(Image, nullptr) << Name;
      ++I;
      Image->Bar(0, 0, Image->Width(), 32, static_cast<uint8_t>(40 * I), static_cast<uint8_t>(255 - 11 * I),
                 static_cast<uint8_t>(90 + 7 * I));
      for (int F = 0; F * 32 < Image->Width(); ++F) Image->Bar(F * 32 + F * 5, 3, 6, 6, 255, 255, 255);
    }
  }

  TRecording Record(bool WholeFrames) {
    TRecording R;
    VX_SDL::Start();
    VX_SDL::SetFrameRate(0);
    VX_SDL::SetWholeFrames(WholeFrames);
    VX_SDL::Initialize(kWidth, kHeight, 32, VX_SDL::kUseSecondary);
    TImage& Back = *VX_SDL::SecondaryImage();
    TImage& Screen = *VX_SDL::ScreenImage();
    // What the window shows: the parts of the screen sent at each flip.
    std::vector<uint32_t> Window(static_cast<size_t>(kWidth) * kHeight, 0);
    VX_SDL::SetPresentHook([&](const std::vector<TDirtyRect>& Rects) {
      TSurfaceLock Lock(Screen.Surface());
      for (const TDirtyRect& Part : Rects)
        for (int Y = Part.Y; Y < Part.Y + Part.H; ++Y)
          for (int X = Part.X; X < Part.X + Part.W; ++X)
            Window[static_cast<size_t>(Y) * kWidth + X] = Screen.Pixel(X, Y);
    });
    SetDefaultSpriteTarget(&Back);
    VXRandom::Seed(7);
    Load({"%%%%%%%%%%%%%%%%%%%%", "%*..@..$...@.. ....%", "%...   .   ....&...%", "%..$..@..  ..$..@..%",
          "%.....  .@.  ..$...%", "%..&...$...   .....%", "%.......@.....<...!%", "%..$...........@...%",
          "%....0.......$.....%", "%...........@......%", "%..$..........&....%", "%%%%%%%%%%%%%%%%%%%%"});
    VX_SDL::Clear(0, 0, 0);
    // Right along the top, down through the boulders, back left into the
    // barrels: pushes, falls, diamonds taken, explosions and a death.
    const std::string Script = "RRRRRR..DDDDLLLLL..UURRRRRRRRRRDDDDDD....LLLL........";
    size_t At = 0;
    for (int Frame = 0; Frame < static_cast<int>(Script.size()) * TMapRun::kFramesPerStep; ++Frame) {
      RunMapFrame(*World, Run, Back, [&] {
        // The counters as the play screen draws them, once per step.
        VX_SDL::FillBox(16, 443, 389, 470, 0, 0, 0);
        VX_SDL::FillRect(16, 450, 8 * World->DiamondsLeft, 12, 255, 200, 0);
        return ElfKeysFor(At < Script.size() ? Script[At++] : '.');
      });
      VX_SDL::Flip();
      const std::vector<uint32_t> Shown = Pixels(Back);
      R.Back.push_back(Hash(Shown));
      R.Window.push_back(Hash(Window));
      if (Window != Shown) ADD_FAILURE() << "frame " << Frame << ": the window differs from the back surface";
    }
    return R;
  }
};

}  // namespace

TEST_F(FrameRecordTest, SendingOnlyWhatChangedShowsTheSameFrames) {
  PaintBlocks();
  const TRecording Whole = Record(true);
  VX_SDL::Finalize();
  const TRecording Changed = Record(false);
  ASSERT_EQ(Whole.Back.size(), Changed.Back.size());
  for (size_t I = 0; I < Whole.Back.size(); ++I) {
    EXPECT_EQ(Whole.Back[I], Changed.Back[I]) << "back surface, frame " << I;
    EXPECT_EQ(Whole.Window[I], Changed.Window[I]) << "window, frame " << I;
  }
  // The run is not a still picture.
  EXPECT_GT(std::set<uint64_t>(Whole.Back.begin(), Whole.Back.end()).size(), 20u);
}
