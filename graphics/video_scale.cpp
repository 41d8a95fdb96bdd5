#include "graphics/video_scale.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "graphics/surface.h"

namespace {
// One source row of R into Scale destination rows. The first destination
// row is built pixel by pixel, the others are copies of it.
template <int Bpp>
void ScaleRow(const uint8_t* S, uint8_t* D, int Width, int Scale, int Pitch) {
  uint8_t* Out = D;
  for (int X = 0; X < Width; ++X, S += Bpp)
    for (int I = 0; I < Scale; ++I, Out += Bpp) std::memcpy(Out, S, Bpp);
  const size_t Bytes = static_cast<size_t>(Width) * Scale * Bpp;
  for (int I = 1; I < Scale; ++I) std::memcpy(D + static_cast<size_t>(I) * Pitch, D, Bytes);
}

template <int Bpp>
void ScaleRect(SDL_Surface* Source, SDL_Surface* Dest, int Scale, const TDirtyRect& R) {
  for (int Y = R.Y; Y < R.Y + R.H; ++Y) {
    const uint8_t* S = static_cast<const uint8_t*>(Source->pixels) + static_cast<size_t>(Y) * Source->pitch +
                       static_cast<size_t>(R.X) * Bpp;
    uint8_t* D = static_cast<uint8_t*>(Dest->pixels) + static_cast<size_t>(Y) * Scale * Dest->pitch +
                 static_cast<size_t>(R.X) * Scale * Bpp;
    ScaleRow<Bpp>(S, D, R.W, Scale, Dest->pitch);
  }
}

// Three-byte pixels: only the colour bytes of each destination pixel are
// written, so rows are never copied whole.
void ScaleRect3(SDL_Surface* Source, SDL_Surface* Dest, int Scale, const TDirtyRect& R) {
  for (int Y = R.Y; Y < R.Y + R.H; ++Y) {
    const uint8_t* S = static_cast<const uint8_t*>(Source->pixels) + static_cast<size_t>(Y) * Source->pitch;
    for (int I = 0; I < Scale; ++I) {
      uint8_t* D = static_cast<uint8_t*>(Dest->pixels) + (static_cast<size_t>(Y) * Scale + I) * Dest->pitch;
      for (int X = R.X; X < R.X + R.W; ++X)
        for (int J = 0; J < Scale; ++J) std::memcpy(D + (static_cast<size_t>(X) * Scale + J) * 3, S + X * 3, 3);
    }
  }
}
}  // namespace

void CopyScaled(SDL_Surface* Source, SDL_Surface* Dest, int Scale, const TDirtyRect& R, int OffsetX, int OffsetY) {
  if (!Source || !Dest || Scale < 1 || OffsetX < 0 || OffsetY < 0) return;
  if (Dest->w < OffsetX + Source->w * Scale || Dest->h < OffsetY + Source->h * Scale) return;
  const int Bpp = Source->format->BytesPerPixel;
  if (Bpp < 1 || Bpp > 4 || Dest->format->BytesPerPixel != Bpp) return;
  if (R.X < 0 || R.Y < 0 || R.W <= 0 || R.H <= 0 || R.X + R.W > Source->w || R.Y + R.H > Source->h) return;
  TSurfaceLock LockSource(Source), LockDest(Dest);
  if (!LockSource.Ok() || !LockDest.Ok()) return;
  // The rectangle's rows are written from the picture's corner on: the
  // destination seen from there is the same surface, its pixels moved.
  SDL_Surface Shifted = *Dest;
  Shifted.pixels = static_cast<uint8_t*>(Dest->pixels) + static_cast<size_t>(OffsetY) * Dest->pitch +
                   static_cast<size_t>(OffsetX) * Bpp;
  switch (Bpp) {
    case 1: ScaleRect<1>(Source, &Shifted, Scale, R); break;
    case 2: ScaleRect<2>(Source, &Shifted, Scale, R); break;
    case 3: ScaleRect3(Source, &Shifted, Scale, R); break;
    default: ScaleRect<4>(Source, &Shifted, Scale, R); break;
  }
}

int FitScale(int Width, int Height, int DesktopWidth, int DesktopHeight, int MaxScale) {
  if (Width <= 0 || Height <= 0 || DesktopWidth <= 0 || DesktopHeight <= 0) return 1;
  int Scale = 1;
  while (Scale < MaxScale && Width * (Scale + 1) <= DesktopWidth && Height * (Scale + 1) <= DesktopHeight) ++Scale;
  return Scale;
}

TWindowFit ChooseWindow(int Width, int Height, int Requested, bool FullScreen, int DesktopWidth, int DesktopHeight) {
  TWindowFit Fit;
  Fit.Scale = Requested >= 1 && Requested <= kMaxWindowScale ? Requested : 1;
  const bool Known = DesktopWidth > 0 && DesktopHeight > 0;
  if (FullScreen && Known) {
    // The desktop's own mode: no mode switch, and every pixel stays square.
    Fit.Scale = FitScale(Width, Height, DesktopWidth, DesktopHeight, DesktopWidth / std::max(1, Width));
    Fit.Width = std::max(DesktopWidth, Width * Fit.Scale);
    Fit.Height = std::max(DesktopHeight, Height * Fit.Scale);
    Fit.OffsetX = (Fit.Width - Width * Fit.Scale) / 2;
    Fit.OffsetY = (Fit.Height - Height * Fit.Scale) / 2;
    return Fit;
  }
  if (Known) Fit.Scale = std::min(Fit.Scale, FitScale(Width, Height, DesktopWidth, DesktopHeight, kMaxWindowScale));
  Fit.Width = Width * Fit.Scale;
  Fit.Height = Height * Fit.Scale;
  return Fit;
}
