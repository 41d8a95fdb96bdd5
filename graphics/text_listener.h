#pragma once
// Hears every text just before it is drawn, with the box its glyphs will
// cover (what lies beneath is still to be seen then): layout
// checks walk the screens with it and look for texts that leave the screen
// or cover one another. The game itself installs none.
#include <functional>
#include <string_view>

class TImage;

// The part of the target the glyphs of one text cover; empty (zero width)
// when the text drew nothing.
struct TTextBox {
  int X = 0, Y = 0, Width = 0, Height = 0;
  bool Empty() const { return Width <= 0 || Height <= 0; }
  int Right() const { return X + Width; }
  int Bottom() const { return Y + Height; }
  // The smallest box holding both.
  TTextBox Union(const TTextBox& Other) const;
  bool Overlaps(const TTextBox& Other) const;
};

// Target: the image the text went onto (for screen drawing, the video
// layer's draw target, which may be null while no window is open).
using TTextListener = std::function<void(std::string_view Text, const TTextBox& Box, const TImage* Target)>;

// Installs Listener (empty: none) and answers the one it replaces.
TTextListener SetTextListener(TTextListener Listener);
// True when a listener is installed and no TTextListenerMute holds: only
// then is a text's box worth working out.
bool TextListenerHears();
// Tells the listener, if it hears.
void TellTextListener(std::string_view Text, const TTextBox& Box, const TImage* Target);

// While one lives the listener hears nothing: a text drawn character by
// character (with font switches) is told once as a whole, not once a glyph.
class TTextListenerMute {
 public:
  TTextListenerMute();
  ~TTextListenerMute();
  TTextListenerMute(const TTextListenerMute&) = delete;
  TTextListenerMute& operator=(const TTextListenerMute&) = delete;
};
