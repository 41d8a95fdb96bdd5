#pragma once
// A minimal PNG writer for the desktop icons: 8-bit RGBA, one IDAT chunk,
// no filtering. Desktops read PNG icons but not the TGA the game uses.
#include <cstdint>
#include <vector>

#include "tools/makerkit/canvas.h"

namespace Icon {

// Rgba holds Width*Height*4 bytes, rows top to bottom; raises
// std::invalid_argument when the size does not match.
std::vector<uint8_t> EncodePngRgba(int Width, int Height, const std::vector<uint8_t>& Rgba);

// The canvas's colour and coverage as RGBA bytes (not premultiplied).
std::vector<uint8_t> CanvasRgba(const Maker::TCanvas& Canvas);

}  // namespace Icon
