#pragma once
// FreeType rendering of single glyphs and of text lines into coverage masks.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Maker {

struct TGlyphBitmap {
  int Width = 0, Height = 0;      // of the bitmap
  int Left = 0;                   // pen position to the bitmap's left column
  int Top = 0;                    // baseline to the bitmap's top row (up is positive)
  int Advance = 0;                // whole pixels
  std::vector<uint8_t> Coverage;  // Width*Height, 0..255 (0 or 255 when mono)
};

// A coverage mask of a laid-out text line; Baseline is the row of the baseline.
struct TTextMask {
  int Width = 0, Height = 0, Baseline = 0;
  std::vector<uint8_t> Coverage;
};

class TFontFace {
 public:
  // Raises std::runtime_error when FreeType cannot open the file.
  explicit TFontFace(const std::string& Path);
  ~TFontFace();
  TFontFace(const TFontFace&) = delete;
  TFontFace& operator=(const TFontFace&) = delete;

  void SetPixelSize(int Pixels);
  int Ascender() const;   // pixels above the baseline
  int Descender() const;  // pixels below the baseline (positive)
  bool HasGlyph(uint32_t CodePoint) const;
  // Mono renders one-bit glyphs with the font's hinting for small sizes.
  TGlyphBitmap Render(uint32_t CodePoint, bool Mono = false) const;
  // One line of ASCII text with extra Tracking pixels between letters and
  // Margin empty pixels on every side.
  TTextMask RenderLine(const std::string& Text, int Tracking = 0, int Margin = 0) const;

 private:
  struct TImpl;
  std::unique_ptr<TImpl> FImpl;
};

}  // namespace Maker
