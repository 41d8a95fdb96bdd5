#include "graphics/surface.h"

#include <SDL.h>

#include <cstring>

namespace {
bool PitchFits(int Width, int Depth) {
  const int64_t Bytes = (static_cast<int64_t>(Width) * Depth + 7) / 8;
  return ((Bytes + 3) & ~int64_t{3}) <= 0xFFFF;
}

bool SizeFits(int Width, int Height, int Depth) {
  return Width > 0 && Height > 0 && Width <= kMaxSurfaceSide && Height <= kMaxSurfaceSide && Depth > 0 && Depth <= 32 &&
         PitchFits(Width, Depth) && static_cast<int64_t>(Width) * Height * ((Depth + 7) / 8) <= kMaxSurfaceBytes;
}
}  // namespace

void TSurfaceDeleter::operator()(SDL_Surface* Surface) const {
  if (Surface) SDL_FreeSurface(Surface);
}

TSurfacePtr CreateSurface(int Width, int Height, int Depth) {
  if (!SizeFits(Width, Height, Depth)) return nullptr;
  return TSurfacePtr(SDL_CreateRGBSurface(SDL_SWSURFACE, Width, Height, Depth, 0, 0, 0, 0));
}

TSurfacePtr WrapBGR24(uint8_t* Pixels, int Width, int Height) {
  if (!Pixels || !SizeFits(Width, Height, 24)) return nullptr;
  return TSurfacePtr(
      SDL_CreateRGBSurfaceFrom(Pixels, Width, Height, 24, Width * 3, 0x00FF0000, 0x0000FF00, 0x000000FF, 0));
}

TSurfaceLock::TSurfaceLock(SDL_Surface* Surface) : FSurface(Surface) {
  if (FSurface && SDL_MUSTLOCK(FSurface)) {
    FLocked = SDL_LockSurface(FSurface) == 0;
    FOk = FLocked;
  }
}

TSurfaceLock::~TSurfaceLock() {
  if (FLocked) SDL_UnlockSurface(FSurface);
}

uint32_t ReadRawPixel(const SDL_Surface* Surface, int X, int Y) {
  if (!Surface || !Surface->pixels || X < 0 || Y < 0 || X >= Surface->w || Y >= Surface->h) return 0;
  const uint8_t* P = static_cast<const uint8_t*>(Surface->pixels) + static_cast<size_t>(Y) * Surface->pitch;
  switch (Surface->format->BytesPerPixel) {
    case 1: return P[X];
    case 2: {
      uint16_t V;
      std::memcpy(&V, P + X * 2, 2);
      return V;
    }
    case 3: P += X * 3; return P[0] + P[1] * 256u + P[2] * 65536u;
    case 4: {
      uint32_t V;
      std::memcpy(&V, P + X * 4, 4);
      return V;
    }
    default: return 0;
  }
}
