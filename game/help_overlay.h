#pragma once
// The help overlay: the keys of the screen behind, one line each, drawn in a
// box over the dimmed screen (on the play screen also what every tile does,
// on the map selection what the list's colours mean). H again or Escape
// closes it and the screen behind is put back exactly as it was.
#include <memory>
#include <vector>

#include "game/help_keys.h"

class TFont;
class TImage;

class THelpOverlay {
 public:
  explicit THelpOverlay(THelpScreen Screen);
  ~THelpOverlay();
  THelpOverlay(const THelpOverlay&) = delete;
  THelpOverlay& operator=(const THelpOverlay&) = delete;

  // Until closed; the keys that closed it are let go.
  void Run();
  // Run in its parts: Begin draws the help over the screen, each Step is
  // one frame (false once closed), End puts the screen back.
  void Begin();
  bool Step();
  void End();

  // Opened by this process so far: a player who has opened the help no
  // longer needs to be told where it is.
  static int OpenCount();

 private:
  void DrawPage();
  int DrawKeys(int Y);
  void DrawLegend(int Y);
  void DrawColours(int Y);

  THelpScreen FScreen;
  std::unique_ptr<TImage> FSaved;
  // Small print in two colours, made from the collection's small font.
  std::unique_ptr<TFont> FNameFont, FTextFont;
  bool FReleased = false;  // H let go since it opened the help
};

// When H is held: shows the help of Screen until it is closed and returns
// true; the caller then clears what it reads, so that the key that closed
// the help does nothing on the screen behind.
bool HelpOnH(THelpScreen Screen);

// The prompt that tells a new player where the help is.
inline constexpr const char* kHelpPrompt = "H: help";
