#include "graphics/dirty_rects.h"

#include <gtest/gtest.h>

#include <climits>

TEST(DirtyRectsTest, PartsAreClippedAndOverlapsJoined) {
  TDirtyRects D;
  D.SetBounds(640, 480);
  EXPECT_TRUE(D.Empty());
  D.Add(-10, -10, 20, 20);
  D.Add(630, 470, 50, 50);
  D.Add(700, 10, 5, 5);               // wholly outside
  D.Add(10, 10, 0, 5);                // empty
  D.Add(INT_MAX - 1, 0, INT_MAX, 1);  // no wrap past the bounds
  EXPECT_EQ(D.Rects(), (std::vector<TDirtyRect>{{0, 0, 10, 10}, {630, 470, 10, 10}}));

  // Cells side by side stay apart; an overlapping part joins them, and the
  // joined box takes in what it now overlaps too.
  D.Clear();
  D.Add(0, 48, 32, 32);
  D.Add(32, 48, 32, 32);
  D.Add(100, 48, 32, 32);
  EXPECT_EQ(D.Rects().size(), 3u);
  D.Add(20, 60, 90, 4);
  EXPECT_EQ(D.Rects(), (std::vector<TDirtyRect>{{0, 48, 132, 32}}));
}

TEST(DirtyRectsTest, ManyPartsBecomeTheirBoundingBox) {
  TDirtyRects D;
  D.SetBounds(640, 480);
  for (size_t I = 0; I <= TDirtyRects::kMaxRects; ++I) D.Add(static_cast<int>(I) * 12, 100, 4, 4);
  ASSERT_EQ(D.Rects().size(), 1u);
  EXPECT_EQ(D.Rects()[0], (TDirtyRect{0, 100, static_cast<int>(TDirtyRects::kMaxRects) * 12 + 4, 4}));
  D.AddAll();
  EXPECT_EQ(D.Rects(), (std::vector<TDirtyRect>{{0, 0, 640, 480}}));
  D.SetBounds(10, 10);
  EXPECT_TRUE(D.Empty());
}
