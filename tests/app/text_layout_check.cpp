#include "tests/app/text_layout_check.h"

#include <algorithm>
#include <utility>

#include "graphics/image.h"
#include "graphics/surface.h"

TTextLayoutCheck::TTextLayoutCheck()
    : FOld(SetTextListener(
          [this](std::string_view Text, const TTextBox& Box, const TImage* Target) { Heard(Text, Box, Target); })) {}

TTextLayoutCheck::~TTextLayoutCheck() { SetTextListener(std::move(FOld)); }

std::vector<uint32_t> TTextLayoutCheck::Grab(const TImage& Target, const TTextBox& Box) {
  std::vector<uint32_t> Pixels;
  if (!Target.HasSurface()) return Pixels;
  TSurfaceLock Lock(Target.Surface());
  const int X1 = std::max(Box.X, 0), Y1 = std::max(Box.Y, 0);
  const int X2 = std::min(Box.Right(), Target.Width()), Y2 = std::min(Box.Bottom(), Target.Height());
  for (int Y = Y1; Y < Y2; ++Y)
    for (int X = X1; X < X2; ++X) Pixels.push_back(Target.Pixel(X, Y));
  return Pixels;
}

std::string TTextLayoutCheck::Describe(const std::string& Text, const TTextBox& Box) {
  return "\"" + Text + "\" at " + std::to_string(Box.X) + "," + std::to_string(Box.Y) + " " +
         std::to_string(Box.Width) + "x" + std::to_string(Box.Height);
}

void TTextLayoutCheck::TakePending() {
  if (!FPending) return;
  FPending = false;
  TShown& Last = FShown.back();
  Last.Pixels = Grab(*Last.Target, Last.Box);
}

void TTextLayoutCheck::Heard(std::string_view Drawn, const TTextBox& Box, const TImage* Target) {
  TakePending();
  if (Box.Empty() || !Target) return;
  std::string Text;
  for (char C : Drawn)
    if (static_cast<uint8_t>(C) >= 16) Text += C;
  if (FTextsSeen.insert(Text).second) FTexts.push_back(Text);
  const std::string Where = FScene.empty() ? "" : FScene + ": ";
  if (Box.X < 0 || Box.Y < 0 || Box.Right() > Target->Width() || Box.Bottom() > Target->Height())
    FFaults.insert(Where + Describe(Text, Box) + " leaves the " + std::to_string(Target->Width()) + "x" +
                   std::to_string(Target->Height()) + " picture");
  // What has been drawn over since is no longer on show; the same text in
  // the same place is this one drawn again.
  const auto Same = [&](const TShown& S) {
    return S.Text == Text && S.Box.X == Box.X && S.Box.Y == Box.Y && S.Box.Width == Box.Width &&
           S.Box.Height == Box.Height;
  };
  std::erase_if(FShown,
                [&](const TShown& S) { return S.Target == Target && (Same(S) || Grab(*Target, S.Box) != S.Pixels); });
  for (const TShown& S : FShown)
    if (S.Target == Target && S.Box.Overlaps(Box))
      FFaults.insert(Where + Describe(Text, Box) + " is drawn over " + Describe(S.Text, S.Box));
  FShown.push_back({Text, Box, Target, {}});
  FPending = true;
}
