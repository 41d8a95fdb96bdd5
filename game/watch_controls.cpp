#include "game/watch_controls.h"

#include <algorithm>

#include "game/play_pause.h"
#include "graphics/font.h"
#include "graphics/font_collection.h"
#include "graphics/key_codes.h"
#include "graphics/video.h"

namespace WatchControls {
namespace {
std::string Switch(int Font) { return std::string(1, static_cast<char>(Font)); }
// The small lines at the strip's right end.
constexpr int kNotesRight = 632, kNotesWidth = 136, kGap = 12;
}  // namespace

bool IsControl(int Key) {
  return Key == VXKey::Right || Key == VXKey::Letter('f') || Key == VXKey::Letter(TPlayPause::kKey);
}

bool FastForwardHeld() { return VX_SDL::Keys[VXKey::Right] || VX_SDL::Keys[VXKey::Letter('f')]; }

void DrawFootStrip(const std::string& Player, int Steps, int Step) {
  VX_SDL::FillBox(0, 437, 639, 478, 0, 0, 0);
  if (!FontCollection) return;
  // Centred, unless it would reach the notes: then as far left as it must,
  // and a name too long for what is left is cut short.
  const int Room = kNotesRight - kNotesWidth - kGap;
  const std::string Tail = Switch(0) + ": " + Switch(1) + std::to_string(Steps) + Switch(0) + " steps";
  const std::string Head = Switch(0) + "Best run of ";
  const int NameRoom = Room - 8 - FontCollection->TextWidth(Head + Switch(1) + Tail);
  const std::string Line = Head + FontCollection->FitText(Switch(1) + Player, NameRoom) + Tail;
  const int Width = FontCollection->TextWidth(Line);
  const int Centre = std::max(8 + Width / 2, std::min(320, Room - Width / 2));
  FontCollection->DrawText(Line, Centre, 443, kAlignCenter);
  TFont* Small = FontCollection->Find("Anti");
  if (!Small) return;
  Small->SetColor(255, 255, 255);
  Small->DrawText("Step " + std::to_string(std::min(Step, Steps)), kNotesRight, 440, kAlignRight);
  Small->DrawText(FastForwardHeld() ? "Fast (x4)" : "F fast, P pause", kNotesRight, 459, kAlignRight);
}

}  // namespace WatchControls
