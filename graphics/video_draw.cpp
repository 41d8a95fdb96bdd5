// The video layer's drawing operations: thin calls on the back surface (or
// the screen without one), and the grey copy of an image.
#include <SDL.h>

#include <vector>

#include "graphics/image.h"
#include "graphics/video.h"
#include "shell/memory_stream.h"

namespace VX_SDL {

void PutImage(int X, int Y, const TImage& Image) {
  if (TImage* T = DrawTarget()) T->Draw(X, Y, Image);
}

void GrabImage(int X, int Y, TImage& Image) {
  if (TImage* T = DrawTarget()) BlitClipped(T->Surface(), X, Y, Image.Width(), Image.Height(), Image.Surface(), 0, 0);
}

void DrawImagePart(int X, int Y, int SourceX, int SourceY, int Width, int Height, const TImage& Image) {
  if (TImage* T = DrawTarget()) T->DrawPart(X, Y, SourceX, SourceY, Width, Height, Image);
}

void DrawImageCorners(int X, int Y, int X1, int Y1, int X2, int Y2, const TImage& Image) {
  DrawImagePart(X, Y, X1, Y1, X2 - X1 + 1, Y2 - Y1 + 1, Image);
}

void ShowPictureFile(int X, int Y, const std::string& Name) {
  if (TImage* T = DrawTarget()) T->DrawNamed(X, Y, Name);
}

void FillBox(int X1, int Y1, int X2, int Y2, uint8_t Red, uint8_t Green, uint8_t Blue) {
  if (TImage* T = DrawTarget()) T->Bar(X1, Y1, X2 - X1 + 1, Y2 - Y1 + 1, Red, Green, Blue);
}

void FillBoxRaw(int X1, int Y1, int X2, int Y2, uint32_t Pixel) {
  if (TImage* T = DrawTarget()) T->FillRaw(X1, Y1, X2 - X1 + 1, Y2 - Y1 + 1, Pixel);
}

void FillRect(int X, int Y, int Width, int Height, uint8_t Red, uint8_t Green, uint8_t Blue) {
  if (TImage* T = DrawTarget()) T->Bar(X, Y, Width, Height, Red, Green, Blue);
}

void FrameRect(int X, int Y, int Width, int Height, uint8_t Red, uint8_t Green, uint8_t Blue) {
  if (TImage* T = DrawTarget()) T->FrameRect(X, Y, Width, Height, Red, Green, Blue);
}

void HorizontalLine(int X1, int Y, int X2, uint8_t Red, uint8_t Green, uint8_t Blue) {
  if (TImage* T = DrawTarget()) T->Bar(X1, Y, X2 - X1 + 1, 1, Red, Green, Blue);
}

void Clear(uint8_t Red, uint8_t Green, uint8_t Blue) {
  TImage* T = DrawTarget();
  if (T && T->Surface()) T->FillRaw(0, 0, T->Width(), T->Height(), SDL_MapRGB(T->Surface()->format, Red, Green, Blue));
}

std::unique_ptr<TMemoryStream> GrayscaleStream(const TImage& Image) {
  auto Stream = std::make_unique<TMemoryStream>();
  const int W = Image.Width(), H = Image.Height();
  Stream->WriteU16(static_cast<uint16_t>(W));
  Stream->WriteU16(static_cast<uint16_t>(H));
  std::vector<uint8_t> Row(static_cast<size_t>(W));
  TSurfaceLock Lock(Image.Surface());
  for (int Y = 0; Y < H; ++Y) {
    for (int X = 0; X < W; ++X) {
      const uint32_t P = Lock.Ok() ? Image.Pixel(X, Y) : 0;
      const uint32_t R = (P >> 16) & 0xFF, G = (P >> 8) & 0xFF, B = P & 0xFF;
      Row[static_cast<size_t>(X)] = static_cast<uint8_t>((R * 30 + G * 59 + B * 11) / 100);
    }
    Stream->WriteExact(Row.data(), Row.size());
  }
  Stream->Seek(0);
  return Stream;
}

}  // namespace VX_SDL
