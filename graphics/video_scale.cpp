#include "graphics/video_scale.h"

#include <SDL.h>

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

void CopyScaled(SDL_Surface* Source, SDL_Surface* Dest, int Scale, const TDirtyRect& R) {
  if (!Source || !Dest || Scale < 1) return;
  if (Dest->w != Source->w * Scale || Dest->h != Source->h * Scale) return;
  const int Bpp = Source->format->BytesPerPixel;
  if (Bpp < 1 || Bpp > 4 || Dest->format->BytesPerPixel != Bpp) return;
  if (R.X < 0 || R.Y < 0 || R.W <= 0 || R.H <= 0 || R.X + R.W > Source->w || R.Y + R.H > Source->h) return;
  TSurfaceLock LockSource(Source), LockDest(Dest);
  if (!LockSource.Ok() || !LockDest.Ok()) return;
  switch (Bpp) {
    case 1: ScaleRect<1>(Source, Dest, Scale, R); break;
    case 2: ScaleRect<2>(Source, Dest, Scale, R); break;
    case 3: ScaleRect3(Source, Dest, Scale, R); break;
    default: ScaleRect<4>(Source, Dest, Scale, R); break;
  }
}
