// The browser's SDL 1.2 keeps its surfaces as canvases and leaves 24-bit
// surfaces, colour keys and surface alpha unfinished. The engine draws in
// software, as on the desktop: in the browser build the surface calls it
// makes are answered here, in memory, the way SDL 1.2's own software
// blitters answer them, and the screen is copied onto the page's canvas
// when it is updated. Events, timers and sound stay with the browser's SDL.
#ifdef __EMSCRIPTEN__
#include <SDL.h>
#include <emscripten.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "graphics/soft_blit.h"

namespace {
// What SDL 1.2 keeps per surface beyond the public fields.
struct TSurfaceExtra {
  VXSoftBlit::TFormat Format;
  VXSoftBlit::TBlitMode Mode;
  bool OwnsPixels = true;
};

// SDL 1.2 numbers the colour key flag 0x1000; callers written for it pass that.
constexpr uint32_t kOldColorKey = 0x1000;

TSurfaceExtra& Extra(SDL_Surface* S) { return *static_cast<TSurfaceExtra*>(S->userdata); }

VXSoftBlit::TPixels View(SDL_Surface* S) {
  const SDL_Rect& C = S->clip_rect;
  return {static_cast<uint8_t*>(S->pixels), S->pitch, S->w, S->h, &Extra(S).Format, {C.x, C.y, C.w, C.h}};
}

// The engine asks with a surface's own format.
VXSoftBlit::TFormat Plain(const SDL_PixelFormat* F) {
  VXSoftBlit::TFormat M;
  M.BytesPerPixel = F->BytesPerPixel;
  M.Rmask = F->Rmask, M.Gmask = F->Gmask, M.Bmask = F->Bmask, M.Amask = F->Amask;
  M.Rshift = F->Rshift, M.Gshift = F->Gshift, M.Bshift = F->Bshift, M.Ashift = F->Ashift;
  M.Rloss = F->Rloss, M.Gloss = F->Gloss, M.Bloss = F->Bloss, M.Aloss = F->Aloss;
  return M;
}

SDL_Surface* MakeSurface(int Width, int Height, int Depth, uint32_t R, uint32_t G, uint32_t B, uint32_t A, void* Pixels,
                         int Pitch) {
  if (Width < 0 || Height < 0 || (Depth != 24 && Depth != 32 && Depth != 16 && Depth != 8)) return nullptr;
  auto* X = new TSurfaceExtra;
  X->Format = VXSoftBlit::MakeFormat(Depth, R, G, B, A);
  auto* F = static_cast<SDL_PixelFormat*>(std::calloc(1, sizeof(SDL_PixelFormat)));
  const VXSoftBlit::TFormat& M = X->Format;
  F->BitsPerPixel = static_cast<Uint8>(Depth);
  F->BytesPerPixel = static_cast<Uint8>(M.BytesPerPixel);
  F->Rmask = M.Rmask, F->Gmask = M.Gmask, F->Bmask = M.Bmask, F->Amask = M.Amask;
  F->Rshift = M.Rshift, F->Gshift = M.Gshift, F->Bshift = M.Bshift, F->Ashift = M.Ashift;
  F->Rloss = M.Rloss, F->Gloss = M.Gloss, F->Bloss = M.Bloss, F->Aloss = M.Aloss;
  F->refcount = 1;
  auto* S = static_cast<SDL_Surface*>(std::calloc(1, sizeof(SDL_Surface)));
  S->format = F;
  S->w = Width;
  S->h = Height;
  S->userdata = X;
  if (Pixels) {
    S->pixels = Pixels;
    S->pitch = Pitch;
    X->OwnsPixels = false;
  } else {
    // Rows start on four bytes, as SDL 1.2 lays them out.
    S->pitch = (Width * M.BytesPerPixel + 3) & ~3;
    S->pixels = std::calloc(static_cast<size_t>(S->pitch) * static_cast<size_t>(std::max(Height, 1)), 1);
  }
  S->clip_rect = SDL_Rect{0, 0, Width, Height};
  S->refcount = 1;
  return S;
}

// The page's canvas, updated from the screen surface's pixels (0x00RRGGBB,
// rows on four bytes) as opaque RGBA words.
// clang-format off
EM_JS(void, sq_web_present, (const uint8_t* Pixels, int Pitch, int Width, int Height, int X, int Y, int W, int H), {
  var canvas = Module["canvas"];
  if (canvas.width != Width || canvas.height != Height) { canvas.width = Width; canvas.height = Height; }
  if (!Module.sqContext) Module.sqContext = canvas.getContext("2d", { alpha: false });
  var image = Module.sqImage;
  if (!image || image.width != Width || image.height != Height) image = Module.sqImage = Module.sqContext.createImageData(Width, Height);
  if (!Module.sqWords || Module.sqWords.buffer != image.data.buffer) Module.sqWords = new Uint32Array(image.data.buffer);
  var words = Module.sqWords;
  for (var row = Y; row < Y + H; ++row) {
    var s = (Pixels + row * Pitch) / 4 + X, d = row * Width + X;
    for (var col = 0; col < W; ++col) {
      var p = HEAPU32[s + col];
      words[d + col] = 0xff000000 | (p & 0xff) << 16 | (p & 0xff00) | (p >>> 16) & 0xff;
    }
  }
  Module.sqContext.putImageData(image, 0, 0, X, Y, W, H);
});

// The mouse reaches the browser's SDL as its own video mode would have
// arranged; the pointer shows or hides over the canvas.
EM_JS(void, sq_web_listen_mouse, (), {
  if (Module.sqMouse) return;
  Module.sqMouse = true;
  ["mousedown", "mouseup", "mousemove", "mouseout"].forEach(function(name) {
    Module["canvas"].addEventListener(name, SDL.receiveEvent, true);
  });
});

EM_JS(int, sq_web_show_cursor, (int Toggle), {
  var canvas = Module["canvas"];
  var shown = canvas.style.cursor != "none";
  if (Toggle == 0) canvas.style.cursor = "none";
  else if (Toggle == 1) canvas.style.cursor = "default";
  return shown ? 1 : 0;
});
// clang-format on

SDL_Surface* Screen = nullptr;
}  // namespace

extern "C" {
SDL_Surface* SDL_CreateRGBSurface(Uint32, int Width, int Height, int Depth, Uint32 R, Uint32 G, Uint32 B, Uint32 A) {
  return MakeSurface(Width, Height, Depth, R, G, B, A, nullptr, 0);
}

SDL_Surface* SDL_CreateRGBSurfaceFrom(void* Pixels, int Width, int Height, int Depth, int Pitch, Uint32 R, Uint32 G,
                                      Uint32 B, Uint32 A) {
  return MakeSurface(Width, Height, Depth, R, G, B, A, Pixels, Pitch);
}

void SDL_FreeSurface(SDL_Surface* S) {
  if (!S || S == Screen) return;
  if (Extra(S).OwnsPixels) std::free(S->pixels);
  delete &Extra(S);
  std::free(S->format);
  std::free(S);
}

int SDL_LockSurface(SDL_Surface*) { return 0; }
void SDL_UnlockSurface(SDL_Surface*) {}

int SDL_SetColorKey(SDL_Surface* S, int Flag, Uint32 Key) {
  if (!S) return -1;
  VXSoftBlit::TBlitMode& E = Extra(S).Mode;
  E.KeyOn = (static_cast<uint32_t>(Flag) & (SDL_SRCCOLORKEY | kOldColorKey)) != 0;
  E.Key = Key;
  return 0;
}

int SDL_SetAlpha(SDL_Surface* S, Uint32 Flag, Uint8 Alpha) {
  if (!S) return -1;
  VXSoftBlit::TBlitMode& E = Extra(S).Mode;
  E.AlphaOn = (Flag & SDL_SRCALPHA) != 0;
  E.Alpha = Alpha;
  return 0;
}

Uint32 SDL_MapRGB(const SDL_PixelFormat* F, Uint8 R, Uint8 G, Uint8 B) { return VXSoftBlit::Map(Plain(F), R, G, B); }

void SDL_GetRGB(Uint32 Pixel, const SDL_PixelFormat* F, Uint8* R, Uint8* G, Uint8* B) {
  VXSoftBlit::Unmap(Pixel, Plain(F), *R, *G, *B);
}

int SDL_FillRect(SDL_Surface* Dst, const SDL_Rect* Rect, Uint32 Color) {
  if (!Dst) return -1;
  VXSoftBlit::TPixels D = View(Dst);
  const VXSoftBlit::TRect R = Rect ? VXSoftBlit::TRect{Rect->x, Rect->y, Rect->w, Rect->h} : VXSoftBlit::TRect{};
  VXSoftBlit::Fill(D, Rect ? &R : nullptr, Color);
  return 0;
}

int SDL_UpperBlit(SDL_Surface* Src, const SDL_Rect* SrcRect, SDL_Surface* Dst, SDL_Rect* DstRect) {
  if (!Src || !Dst) return -1;
  VXSoftBlit::TPixels D = View(Dst);
  const VXSoftBlit::TRect R =
      SrcRect ? VXSoftBlit::TRect{SrcRect->x, SrcRect->y, SrcRect->w, SrcRect->h} : VXSoftBlit::TRect{};
  const VXSoftBlit::TRect Done = VXSoftBlit::Blit(View(Src), SrcRect ? &R : nullptr, Extra(Src).Mode, D,
                                                  DstRect ? DstRect->x : 0, DstRect ? DstRect->y : 0);
  if (DstRect) *DstRect = SDL_Rect{Done.X, Done.Y, Done.W, Done.H};
  return 0;
}

SDL_Surface* SDL_SetVideoMode(int Width, int Height, int Depth, Uint32 Flags) {
  (void)Depth;
  if (Screen && (Screen->w != Width || Screen->h != Height)) {
    SDL_Surface* Old = std::exchange(Screen, nullptr);
    SDL_FreeSurface(Old);
  }
  if (!Screen) Screen = MakeSurface(Width, Height, 32, 0, 0, 0, 0, nullptr, 0);
  sq_web_listen_mouse();
  Screen->flags = Flags & ~SDL_FULLSCREEN;
  sq_web_present(static_cast<const uint8_t*>(Screen->pixels), Screen->pitch, Width, Height, 0, 0, Width, Height);
  return Screen;
}

void SDL_UpdateRects(SDL_Surface* S, int Count, SDL_Rect* Rects) {
  if (!S || S != Screen) return;
  for (int I = 0; I < Count; ++I) {
    const int X0 = std::max(Rects[I].x, 0), Y0 = std::max(Rects[I].y, 0);
    const int X1 = std::min(Rects[I].x + Rects[I].w, S->w), Y1 = std::min(Rects[I].y + Rects[I].h, S->h);
    if (X1 > X0 && Y1 > Y0)
      sq_web_present(static_cast<const uint8_t*>(S->pixels), S->pitch, S->w, S->h, X0, Y0, X1 - X0, Y1 - Y0);
  }
}

void SDL_UpdateRect(SDL_Surface* S, Sint32 X, Sint32 Y, Uint32 W, Uint32 H) {
  if (!S) return;
  SDL_Rect R{X, Y, static_cast<int>(W), static_cast<int>(H)};
  if (!X && !Y && !W && !H) R = SDL_Rect{0, 0, S->w, S->h};
  SDL_UpdateRects(S, 1, &R);
}

int SDL_Flip(SDL_Surface* S) {
  SDL_UpdateRect(S, 0, 0, 0, 0);
  return 0;
}

int SDL_ShowCursor(int Toggle) { return sq_web_show_cursor(Toggle); }

// Pictures are not saved from the page.
int SDL_SaveBMP_RW(SDL_Surface*, SDL_RWops*, int) { return -1; }
}
#endif
