#pragma once
// A TGA font page: glyphs side by side on one greyscale strip, their
// rectangles in a table whose presence set travels in the TGA image-ID field
// and whose records follow the pixels.
#include <cstdint>
#include <string>
#include <vector>

namespace Maker {
class TFontFace;
}

namespace FontMaker {

struct TGlyphRect {
  uint8_t Code = 0;
  int Left = 0, Top = 0, Right = 0, Bottom = 0;  // inclusive, page pixels
};

struct TFontPage {
  int Width = 0, Height = 0;
  std::vector<uint8_t> Pixels;     // Width*Height intensities
  std::vector<TGlyphRect> Glyphs;  // ascending codes

  // The 32-byte presence set followed by nothing; the records go in Trailer().
  std::vector<uint8_t> PresenceSet() const;
  std::vector<uint8_t> Trailer() const;
  std::vector<uint8_t> EncodeTga() const;
};

// The characters of the game's font: every printable ASCII character but the
// space, so whatever a player can type can be shown.
std::string GameFontCharacters();

// Renders Characters (ascending, no repeats) into a page PageHeight pixels
// high; letters fade slightly towards their foot and cast a one-pixel shadow.
TFontPage RenderFontPage(Maker::TFontFace& Face, const std::string& Characters, int PageHeight);

}  // namespace FontMaker
