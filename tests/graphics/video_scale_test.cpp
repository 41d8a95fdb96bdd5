#include "graphics/video_scale.h"

#include <gtest/gtest.h>

namespace {

std::string Show(const TWindowFit& F) {
  return std::to_string(F.Width) + "x" + std::to_string(F.Height) + " scale " + std::to_string(F.Scale) + " at " +
         std::to_string(F.OffsetX) + "," + std::to_string(F.OffsetY);
}

TEST(WindowFit, FullScreenFillsTheDesktopAtTheLargestWholeScaleCentred) {
  EXPECT_EQ(Show(ChooseWindow(640, 480, 1, true, 1920, 1080)), "1920x1080 scale 2 at 320,60");
  EXPECT_EQ(Show(ChooseWindow(640, 480, 1, true, 1280, 1024)), "1280x1024 scale 2 at 0,32");
  EXPECT_EQ(Show(ChooseWindow(640, 480, 1, true, 1024, 768)), "1024x768 scale 1 at 192,144");
  EXPECT_EQ(Show(ChooseWindow(640, 480, 1, true, 640, 480)), "640x480 scale 1 at 0,0");
  // Past the window scales: a large desktop gets a large picture.
  EXPECT_EQ(Show(ChooseWindow(640, 480, 1, true, 3840, 2160)), "3840x2160 scale 4 at 640,120");
  EXPECT_EQ(Show(ChooseWindow(640, 480, 2, true, 7680, 4320)), "7680x4320 scale 9 at 960,0");
  // The scale asked for the window plays no part.
  EXPECT_EQ(Show(ChooseWindow(640, 480, 4, true, 1920, 1080)), "1920x1080 scale 2 at 320,60");
  // A desktop smaller than the picture: the picture whole, not cut.
  EXPECT_EQ(Show(ChooseWindow(640, 480, 1, true, 800, 400)), "800x480 scale 1 at 80,0");
  // Desktop unknown: the picture at the scale asked for.
  EXPECT_EQ(Show(ChooseWindow(640, 480, 2, true, 0, 0)), "1280x960 scale 2 at 0,0");
}

TEST(WindowFit, AWindowTakesTheScaleAskedForUntilItNoLongerFits) {
  EXPECT_EQ(Show(ChooseWindow(640, 480, 2, false, 1920, 1080)), "1280x960 scale 2 at 0,0");
  EXPECT_EQ(Show(ChooseWindow(640, 480, 3, false, 1920, 1080)), "1280x960 scale 2 at 0,0");
  EXPECT_EQ(Show(ChooseWindow(640, 480, 4, false, 2560, 1920)), "2560x1920 scale 4 at 0,0");
  EXPECT_EQ(Show(ChooseWindow(640, 480, 4, false, 1024, 768)), "640x480 scale 1 at 0,0");
  // Never below 1, never past 4; unknown desktops keep the scale.
  EXPECT_EQ(Show(ChooseWindow(640, 480, 2, false, 320, 240)), "640x480 scale 1 at 0,0");
  EXPECT_EQ(Show(ChooseWindow(640, 480, 9, false, 7680, 4320)), "640x480 scale 1 at 0,0");
  EXPECT_EQ(Show(ChooseWindow(640, 480, 3, false, 0, 0)), "1920x1440 scale 3 at 0,0");
}

TEST(WindowFit, FitScaleIsTheLargestThatFitsBothWays) {
  EXPECT_EQ(FitScale(640, 480, 1920, 1080, 4), 2);
  EXPECT_EQ(FitScale(640, 480, 1920, 1440, 4), 3);
  EXPECT_EQ(FitScale(640, 480, 1919, 1440, 4), 2);
  EXPECT_EQ(FitScale(640, 480, 5000, 5000, 4), 4);
  EXPECT_EQ(FitScale(640, 480, 100, 100, 4), 1);
  EXPECT_EQ(FitScale(640, 480, 0, 1080, 4), 1);
}

}  // namespace
