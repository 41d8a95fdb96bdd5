#include "game/play_notes.h"

#include "graphics/font.h"
#include "graphics/font_collection.h"
#include "graphics/video.h"

namespace PlayNotes {
namespace {
TFont* Small() {
  TFont* F = FontCollection ? FontCollection->Find("Anti") : nullptr;
  // The closing scene darkens this font for its own drawing.
  if (F) F->SetColor(255, 255, 255);
  return F;
}
}  // namespace

std::string Fit(const std::string& Text) {
  TFont* F = FontCollection ? FontCollection->Find("Anti") : nullptr;
  if (!F || F->TextWidth(Text) <= kRight - kLeft) return Text;
  std::string Cut = Text;
  while (!Cut.empty() && F->TextWidth(Cut + "..") > kRight - kLeft) Cut.pop_back();
  return Cut + "..";
}

void Draw(const std::string& Upper, const std::string& Lower) {
  VX_SDL::FillBox(kLeft, kTop, kRight, kBottom, 0, 0, 0);
  TFont* F = Small();
  if (!F) return;
  const int Middle = (kLeft + kRight) / 2;
  F->DrawText(Fit(Upper), Middle, kTopLine, kAlignCenter);
  F->DrawText(Fit(Lower), Middle, kBottomLine, kAlignCenter);
}

}  // namespace PlayNotes
