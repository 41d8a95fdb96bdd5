#include "graphics/dirty_rects.h"

#include <algorithm>

namespace {
bool Overlap(const TDirtyRect& A, const TDirtyRect& B) {
  return A.X < B.X + B.W && B.X < A.X + A.W && A.Y < B.Y + B.H && B.Y < A.Y + A.H;
}

TDirtyRect Join(const TDirtyRect& A, const TDirtyRect& B) {
  const int X = std::min(A.X, B.X), Y = std::min(A.Y, B.Y);
  return {X, Y, std::max(A.X + A.W, B.X + B.W) - X, std::max(A.Y + A.H, B.Y + B.H) - Y};
}
}  // namespace

void TDirtyRects::SetBounds(int Width, int Height) {
  FWidth = std::max(Width, 0);
  FHeight = std::max(Height, 0);
  FRects.clear();
}

void TDirtyRects::Add(int X, int Y, int Width, int Height) {
  // 64-bit sums: far-off coordinates from the drawing calls must not wrap.
  const long long X1 = std::max<long long>(X, 0), Y1 = std::max<long long>(Y, 0);
  const long long X2 = std::min<long long>(static_cast<long long>(X) + Width, FWidth);
  const long long Y2 = std::min<long long>(static_cast<long long>(Y) + Height, FHeight);
  if (X2 <= X1 || Y2 <= Y1) return;
  TDirtyRect R{static_cast<int>(X1), static_cast<int>(Y1), static_cast<int>(X2 - X1), static_cast<int>(Y2 - Y1)};
  // A joined box may now overlap parts it did not before: join until none does.
  for (bool Joined = true; Joined;) {
    Joined = false;
    for (size_t I = 0; I < FRects.size(); ++I) {
      if (!Overlap(FRects[I], R)) continue;
      R = Join(FRects[I], R);
      FRects[I] = FRects.back();
      FRects.pop_back();
      Joined = true;
      break;
    }
  }
  FRects.push_back(R);
  if (FRects.size() > kMaxRects) {
    TDirtyRect All = FRects.front();
    for (const TDirtyRect& Each : FRects) All = Join(All, Each);
    FRects.assign(1, All);
  }
}
