#pragma once
// Software surfaces as SDL 1.2 draws them: pixel formats by their channel
// masks, fills, and blits with a colour key and a surface alpha, clipped the
// way SDL_BlitSurface clips. The browser build answers SDL's surface calls
// with these (its SDL keeps surfaces elsewhere); the desktop uses SDL's own.
#include <cstdint>

namespace VXSoftBlit {

struct TFormat {
  int BytesPerPixel = 4;
  uint32_t Rmask = 0, Gmask = 0, Bmask = 0, Amask = 0;
  uint8_t Rshift = 0, Gshift = 0, Bshift = 0, Ashift = 0;
  uint8_t Rloss = 8, Gloss = 8, Bloss = 8, Aloss = 8;
};

// A depth of 24 or 32 without masks gets SDL 1.2's defaults (0xRRGGBB).
TFormat MakeFormat(int Depth, uint32_t R, uint32_t G, uint32_t B, uint32_t A);

struct TRect {
  int X = 0, Y = 0, W = 0, H = 0;
};

struct TPixels {
  uint8_t* Data = nullptr;
  int Pitch = 0, Width = 0, Height = 0;
  const TFormat* Format = nullptr;
  TRect Clip;  // where drawing may land
};

struct TBlitMode {
  bool KeyOn = false;
  uint32_t Key = 0;
  bool AlphaOn = false;
  uint8_t Alpha = 255;
};

uint32_t Map(const TFormat& F, uint8_t R, uint8_t G, uint8_t B);
void Unmap(uint32_t Pixel, const TFormat& F, uint8_t& R, uint8_t& G, uint8_t& B);

// Fills Rect (the whole surface when null) within the clip rectangle.
void Fill(TPixels& Dst, const TRect* Rect, uint32_t Color);

// Blits SrcRect of Src (all of it when null) to (DX, DY) of Dst; the part
// that landed is returned (W and H 0 when none), as SDL writes it back.
TRect Blit(const TPixels& Src, const TRect* SrcRect, const TBlitMode& Mode, TPixels& Dst, int DX, int DY);

}  // namespace VXSoftBlit
