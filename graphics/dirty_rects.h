#pragma once
// The parts of a surface drawn on since they were last sent to the window.
// The video layer keeps one for its back surface and updates only these
// parts of the window, so a frame in which few cells change costs little.
#include <cstddef>
#include <vector>

struct TDirtyRect {
  int X = 0, Y = 0, W = 0, H = 0;
  bool operator==(const TDirtyRect&) const = default;
};

class TDirtyRects {
 public:
  // More separate parts than this are sent as their common bounding box:
  // past that, one large update is cheaper than many small ones.
  static constexpr size_t kMaxRects = 48;

  // The surface's size; forgets everything marked.
  void SetBounds(int Width, int Height);
  // Marks a part, clipped to the bounds. Overlapping parts are joined into
  // their bounding box, so no pixel is sent twice.
  void Add(int X, int Y, int Width, int Height);
  void AddAll() { Add(0, 0, FWidth, FHeight); }
  bool Empty() const { return FRects.empty(); }
  const std::vector<TDirtyRect>& Rects() const { return FRects; }
  void Clear() { FRects.clear(); }

 private:
  int FWidth = 0, FHeight = 0;
  std::vector<TDirtyRect> FRects;
};
