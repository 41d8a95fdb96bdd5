// On the desktop the browser's hooks do nothing and a sliced task is just a
// call: the game behaves as it always has.
#include "shell/web_bridge.h"

#include <gtest/gtest.h>

TEST(WebBridge, OnTheDesktopASlicedTaskRunsWholeOnceAtItsFirstResume) {
  EXPECT_FALSE(VXWeb::InBrowser());
  int Runs = 0, Pauses = 0;
  VXWeb::TSlicedTask Task([&] {
    ++Runs;
    // A search's checkpoints return at once: there is no frame to go back to.
    for (int I = 0; I < 1000; ++I) {
      VXWeb::TSlicedTask::Pause();
      ++Pauses;
    }
  });
  EXPECT_FALSE(Task.Finished());
  EXPECT_EQ(Runs, 0);
  EXPECT_TRUE(Task.Resume());
  EXPECT_TRUE(Task.Finished());
  EXPECT_EQ(Pauses, 1000);
  EXPECT_TRUE(Task.Resume());
  EXPECT_EQ(Runs, 1);
}
