#pragma once
// P on the play screen: the picture held and dimmed under "Paused", the
// song stopped where it was, until any key is pressed. That key only
// resumes: it is let go in the key table, so it does not also act. A tap
// made just before P still counts at the next step.
#include <functional>
#include <string>

class TPlayPause {
 public:
  // The key that pauses.
  static constexpr char kKey = 'p';
  // Shade of the dimmed picture (0 black to 255 unchanged).
  static constexpr int kDimAlpha = 144;

  // True when the pause key has just gone down (held now, not in the frame
  // before): a key held down pauses once.
  bool Asked();
  // Shows the pause until a key is pressed; the picture is then as before.
  // Song: the song playing (stopped and resumed). AfterEvents runs after the
  // events of every paused frame, as on the play screen.
  void Run(const std::string& Song, const std::function<void()>& AfterEvents);
  int FramesPaused() const { return FFrames; }

 private:
  bool FWasHeld = false;
  int FFrames = 0;
};
