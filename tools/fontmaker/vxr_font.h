#pragma once
// The VXR one-bit font file: "VXAR", flags, glyph width and height, then
// every glyph's rows, most significant bit leftmost.
#include <array>
#include <cstdint>
#include <vector>

namespace Maker {
class TFontFace;
}

namespace FontMaker {

// One 8x16 glyph: a byte per row, bit 7 the leftmost pixel.
using TGlyph8x16 = std::array<uint8_t, 16>;

// The whole file for 256 glyphs of 8x16, no descender flag, no presence set.
std::vector<uint8_t> EncodeVxr8x16(const std::array<TGlyph8x16, 256>& Glyphs);

// The Unicode character drawn for each code: symbols for the low codes,
// Windows-1252 for 128-159, Latin-1 above; 0 where the code stays blank.
uint32_t VxrCodePoint(int Code);

// Renders every code with a monospaced face; glyphs that do not exist stay blank.
std::array<TGlyph8x16, 256> RenderVxrGlyphs(Maker::TFontFace& Face);

}  // namespace FontMaker
