#pragma once
// Owning handle for SDL software surfaces, a scoped surface lock, and the
// one place that creates surfaces, so size limits are checked once.
#include <cstdint>
#include <memory>

// SDL's own type, declared here so that includers need not see SDL's headers.
struct SDL_Surface;

struct TSurfaceDeleter {
  void operator()(SDL_Surface* Surface) const;
};
using TSurfacePtr = std::unique_ptr<SDL_Surface, TSurfaceDeleter>;

// Largest surface side we create: SDL 1.2 keeps the pitch in 16 bits and
// rectangle coordinates in signed 16 bits.
inline constexpr int kMaxSurfaceSide = 16384;
// Largest pixel buffer we create: the biggest picture a reader accepts fits
// at 32 bits per pixel.
inline constexpr int64_t kMaxSurfaceBytes = 512ll * 1024 * 1024;

// A software surface at Depth bits with SDL's default colour masks (for 24
// and 32 bits: red 0xFF0000, green 0x00FF00, blue 0x0000FF). Null when SDL
// refuses or the size is out of range (non-positive, beyond kMaxSurfaceSide
// or kMaxSurfaceBytes, or a row that does not fit SDL's 16-bit pitch).
TSurfacePtr CreateSurface(int Width, int Height, int Depth);

// A surface over caller-owned 24-bit pixels (blue, green, red per pixel, no
// row padding). The pixels must outlive the surface.
TSurfacePtr WrapBGR24(uint8_t* Pixels, int Width, int Height);

// Locks a surface for direct pixel access when SDL requires it (RLE-coded
// colour keys do), unlocks when it goes.
class TSurfaceLock {
 public:
  explicit TSurfaceLock(SDL_Surface* Surface);
  ~TSurfaceLock();
  TSurfaceLock(const TSurfaceLock&) = delete;
  TSurfaceLock& operator=(const TSurfaceLock&) = delete;
  // False when the surface needed a lock and SDL refused it.
  bool Ok() const { return FOk; }

 private:
  SDL_Surface* FSurface;
  bool FLocked = false;
  bool FOk = true;
};

// The raw pixel value at (X, Y) by the surface's bytes per pixel (3 bytes
// read as b0 + b1*256 + b2*65536); 0 outside the surface. The caller locks.
uint32_t ReadRawPixel(const SDL_Surface* Surface, int X, int Y);
