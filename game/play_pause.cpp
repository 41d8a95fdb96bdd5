#include "game/play_pause.h"

#include <memory>
#include <vector>

#include "game/songs.h"
#include "graphics/font_collection.h"
#include "graphics/image.h"
#include "graphics/key_codes.h"
#include "graphics/video.h"

namespace {
bool AnyKeyHeld() {
  for (bool Held : VX_SDL::Keys)
    if (Held) return true;
  return false;
}
}  // namespace

bool TPlayPause::Asked() {
  const bool Held = VX_SDL::Keys[VXKey::Letter(kKey)];
  const bool Fresh = Held && !FWasHeld;
  FWasHeld = Held;
  return Fresh;
}

void TPlayPause::Run(const std::string& Song, const std::function<void()>& AfterEvents) {
  TImage* Target = VX_SDL::DrawTarget();
  // The picture as it stands comes back whole when play goes on.
  std::unique_ptr<TImage> Saved;
  if (Target) {
    Saved = std::make_unique<TImage>(Target->Width(), Target->Height());
    VX_SDL::GrabImage(0, 0, *Saved);
    TImage Shade(Target->Width(), Target->Height());
    Shade.Bar(0, 0, Shade.Width(), Shade.Height(), 0, 0, 0);
    Shade.SetAlpha(static_cast<uint8_t>(255 - kDimAlpha));
    Target->Draw(0, 0, Shade);
  }
  if (FontCollection) {
    FontCollection->DrawText(std::string(1, '\5') + "Paused", 320, 212, kAlignCenter);
    FontCollection->DrawText(std::string(1, '\1') + "Any key plays on", 320, 250, kAlignCenter);
  }
  StopSong(Song);
  // A tap made just before the pause is still the next step's key.
  const std::vector<int> Earlier = VX_SDL::TakePresses();
  // The pause key itself is let go first: only a fresh press resumes.
  VX_SDL::ClearKeys();
  FFrames = 0;
  do {
    VX_SDL::Flip();
    VX_SDL::PollEvents();
    if (AfterEvents) AfterEvents();
    ++FFrames;
  } while (!AnyKeyHeld());
  // The key that resumed does nothing else.
  VX_SDL::ClearKeys();
  VX_SDL::RestorePresses(Earlier);
  FWasHeld = false;
  if (Saved) VX_SDL::PutImage(0, 0, *Saved);
  ResumeSong(Song);
}
