#include "tools/fontmaker/vxr_font.h"

#include <algorithm>

#include "tools/makerkit/font_raster.h"

namespace FontMaker {

std::vector<uint8_t> EncodeVxr8x16(const std::array<TGlyph8x16, 256>& Glyphs) {
  std::vector<uint8_t> Out = {'V', 'X', 'A', 'R', 0x00, 8, 16};
  for (const TGlyph8x16& G : Glyphs) Out.insert(Out.end(), G.begin(), G.end());
  return Out;
}

uint32_t VxrCodePoint(int Code) {
  static const uint32_t Low[32] = {0,      0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022,
                                   0x25D8, 0x25CB, 0x25D9, 0x2642, 0x2640, 0x266A, 0x266B, 0x263C,
                                   0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC, 0x21A8,
                                   0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC};
  static const uint32_t Win1252[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                       0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  if (Code < 0 || Code > 255) return 0;
  if (Code < 32) return Low[Code];
  if (Code == 127) return 0x2302;
  if (Code >= 128 && Code < 160) return Win1252[Code - 128];
  if (Code == 160) return 0;  // no-break space: blank like a space
  return static_cast<uint32_t>(Code);
}

std::array<TGlyph8x16, 256> RenderVxrGlyphs(Maker::TFontFace& Face) {
  // The size whose advance is 8 pixels and whose ascent and descent fit 16 rows.
  int Size = 16;
  for (; Size > 6; --Size) {
    Face.SetPixelSize(Size);
    if (Face.Render('M', true).Advance <= 8 && Face.Ascender() + Face.Descender() <= 16) break;
  }
  const int Baseline = std::min(12, Face.Ascender());
  std::array<TGlyph8x16, 256> Glyphs{};
  for (int Code = 0; Code < 256; ++Code) {
    const uint32_t CP = VxrCodePoint(Code);
    if (CP == 0 || CP == ' ' || !Face.HasGlyph(CP)) continue;
    const Maker::TGlyphBitmap B = Face.Render(CP, true);
    // Centre the ink in the cell when it is narrower than the advance says.
    int OX = B.Left;
    if (OX < 0 || OX + B.Width > 8) OX = std::max(0, (8 - B.Width) / 2);
    int OY = Baseline - B.Top;
    if (OY < 0) OY = 0;
    if (OY + B.Height > 16) OY = std::max(0, 16 - B.Height);
    for (int Y = 0; Y < B.Height; ++Y)
      for (int X = 0; X < B.Width; ++X) {
        const int PX = OX + X, PY = OY + Y;
        if (PX < 0 || PX > 7 || PY < 0 || PY > 15) continue;
        if (B.Coverage[static_cast<size_t>(Y) * B.Width + X] >= 128)
          Glyphs[Code][PY] |= static_cast<uint8_t>(0x80 >> PX);
      }
  }
  return Glyphs;
}

}  // namespace FontMaker
