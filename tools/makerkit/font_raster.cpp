#include "tools/makerkit/font_raster.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <stdexcept>

namespace Maker {

struct TFontFace::TImpl {
  FT_Library Library = nullptr;
  FT_Face Face = nullptr;
};

TFontFace::TFontFace(const std::string& Path) : FImpl(std::make_unique<TImpl>()) {
  if (FT_Init_FreeType(&FImpl->Library) != 0) throw std::runtime_error("FreeType did not start");
  if (FT_New_Face(FImpl->Library, Path.c_str(), 0, &FImpl->Face) != 0) {
    FT_Done_FreeType(FImpl->Library);
    throw std::runtime_error("cannot open font " + Path);
  }
}

TFontFace::~TFontFace() {
  FT_Done_Face(FImpl->Face);
  FT_Done_FreeType(FImpl->Library);
}

void TFontFace::SetPixelSize(int Pixels) {
  if (FT_Set_Pixel_Sizes(FImpl->Face, 0, static_cast<FT_UInt>(Pixels)) != 0)
    throw std::runtime_error("font size not available");
}

int TFontFace::Ascender() const { return static_cast<int>(FImpl->Face->size->metrics.ascender >> 6); }
int TFontFace::Descender() const { return static_cast<int>(-(FImpl->Face->size->metrics.descender >> 6)); }

bool TFontFace::HasGlyph(uint32_t CodePoint) const { return FT_Get_Char_Index(FImpl->Face, CodePoint) != 0; }

TGlyphBitmap TFontFace::Render(uint32_t CodePoint, bool Mono) const {
  const FT_Int32 Flags = FT_LOAD_RENDER | (Mono ? (FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) : FT_LOAD_DEFAULT);
  if (FT_Load_Char(FImpl->Face, CodePoint, Flags) != 0) throw std::runtime_error("glyph did not render");
  const FT_GlyphSlot Slot = FImpl->Face->glyph;
  const FT_Bitmap& B = Slot->bitmap;
  TGlyphBitmap G;
  G.Width = static_cast<int>(B.width);
  G.Height = static_cast<int>(B.rows);
  G.Left = Slot->bitmap_left;
  G.Top = Slot->bitmap_top;
  G.Advance = static_cast<int>((Slot->advance.x + 32) >> 6);
  G.Coverage.assign(static_cast<size_t>(G.Width) * G.Height, 0);
  for (int Y = 0; Y < G.Height; ++Y) {
    const unsigned char* Row = B.buffer + static_cast<ptrdiff_t>(Y) * B.pitch;
    for (int X = 0; X < G.Width; ++X) {
      uint8_t V;
      if (B.pixel_mode == FT_PIXEL_MODE_MONO) V = (Row[X >> 3] & (0x80 >> (X & 7))) ? 255 : 0;
      else V = Row[X];
      G.Coverage[static_cast<size_t>(Y) * G.Width + X] = V;
    }
  }
  return G;
}

TTextMask TFontFace::RenderLine(const std::string& Text, int Tracking, int Margin) const {
  std::vector<TGlyphBitmap> Glyphs;
  std::vector<int> Pens;
  int Pen = 0, MinX = 0, MaxX = 0, MaxTop = 0, MaxBelow = 0;
  for (size_t I = 0; I < Text.size(); ++I) {
    Glyphs.push_back(Render(static_cast<unsigned char>(Text[I])));
    const TGlyphBitmap& G = Glyphs.back();
    Pens.push_back(Pen);
    if (G.Width > 0) {
      MinX = std::min(MinX, Pen + G.Left);
      MaxX = std::max(MaxX, Pen + G.Left + G.Width);
      MaxTop = std::max(MaxTop, G.Top);
      MaxBelow = std::max(MaxBelow, G.Height - G.Top);
    }
    Pen += G.Advance + Tracking;
  }
  TTextMask M;
  M.Width = MaxX - MinX + 2 * Margin;
  M.Height = MaxTop + MaxBelow + 2 * Margin;
  M.Baseline = MaxTop + Margin;
  M.Coverage.assign(static_cast<size_t>(std::max(0, M.Width)) * std::max(0, M.Height), 0);
  for (size_t I = 0; I < Glyphs.size(); ++I) {
    const TGlyphBitmap& G = Glyphs[I];
    const int X0 = Pens[I] + G.Left - MinX + Margin, Y0 = M.Baseline - G.Top;
    for (int Y = 0; Y < G.Height; ++Y)
      for (int X = 0; X < G.Width; ++X) {
        uint8_t& D = M.Coverage[static_cast<size_t>(Y0 + Y) * M.Width + X0 + X];
        D = std::max(D, G.Coverage[static_cast<size_t>(Y) * G.Width + X]);
      }
  }
  return M;
}

}  // namespace Maker
