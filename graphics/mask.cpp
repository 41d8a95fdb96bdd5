#include "graphics/mask.h"

#include "graphics/image.h"
#include "shell/logger.h"

TMask::TMask(const TImage& Image, uint8_t Value) {
  if (!Image.HasSurface()) return;
  Width = Image.Width();
  Height = Image.Height();
  Data.assign(static_cast<size_t>(Width) * Height, 0);
  TSurfaceLock Lock(Image.Surface());
  if (!Lock.Ok()) {
    Log->Warning("Can't lock surface", "MaskUnit, CreateFromImage");
    return;
  }
  uint8_t* P = Data.data();
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X) *P++ = Image.Pixel(X, Y) != 0 ? Value : 0;
}

uint8_t TMask::At(int X, int Y) const {
  if (X < 0 || Y < 0 || X >= Width || Y >= Height) return 0;
  return Data[static_cast<size_t>(Y) * Width + X];
}
