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

namespace {
// What SDL 1.2 keeps per surface beyond the public fields.
struct TSurfaceExtra {
  bool KeyOn = false;
  uint32_t Key = 0;
  bool AlphaOn = false;
  uint8_t Alpha = 255;
  bool OwnsPixels = true;
};

// SDL 1.2 numbers the colour key flag 0x1000; callers written for it pass that.
constexpr uint32_t kOldColorKey = 0x1000;

TSurfaceExtra& Extra(SDL_Surface* S) { return *static_cast<TSurfaceExtra*>(S->userdata); }

uint8_t MaskShift(uint32_t Mask) {
  uint8_t Shift = 0;
  if (!Mask) return 0;
  while (!(Mask & 1u)) {
    Mask >>= 1;
    ++Shift;
  }
  return Shift;
}

uint8_t MaskLoss(uint32_t Mask) {
  int Bits = 0;
  for (Mask >>= MaskShift(Mask); Mask & 1u; Mask >>= 1) ++Bits;
  return static_cast<uint8_t>(8 - std::min(Bits, 8));
}

SDL_Surface* MakeSurface(int Width, int Height, int Depth, uint32_t R, uint32_t G, uint32_t B, uint32_t A, void* Pixels,
                         int Pitch) {
  if (Width < 0 || Height < 0 || (Depth != 24 && Depth != 32 && Depth != 16 && Depth != 8)) return nullptr;
  if (!R && !G && !B && Depth >= 24) {
    R = 0x00FF0000;
    G = 0x0000FF00;
    B = 0x000000FF;
  }
  auto* F = static_cast<SDL_PixelFormat*>(std::calloc(1, sizeof(SDL_PixelFormat)));
  auto* S = static_cast<SDL_Surface*>(std::calloc(1, sizeof(SDL_Surface)));
  F->BitsPerPixel = static_cast<Uint8>(Depth);
  F->BytesPerPixel = static_cast<Uint8>((Depth + 7) / 8);
  F->Rmask = R, F->Gmask = G, F->Bmask = B, F->Amask = A;
  F->Rshift = MaskShift(R), F->Gshift = MaskShift(G), F->Bshift = MaskShift(B), F->Ashift = MaskShift(A);
  F->Rloss = MaskLoss(R), F->Gloss = MaskLoss(G), F->Bloss = MaskLoss(B), F->Aloss = A ? MaskLoss(A) : 8;
  F->refcount = 1;
  S->format = F;
  S->w = Width;
  S->h = Height;
  auto* X = new TSurfaceExtra;
  S->userdata = X;
  if (Pixels) {
    S->pixels = Pixels;
    S->pitch = Pitch;
    X->OwnsPixels = false;
  } else {
    // Rows start on four bytes, as SDL 1.2 lays them out.
    S->pitch = (Width * F->BytesPerPixel + 3) & ~3;
    S->pixels = std::calloc(static_cast<size_t>(S->pitch) * static_cast<size_t>(std::max(Height, 1)), 1);
  }
  S->clip_rect = SDL_Rect{0, 0, Width, Height};
  S->refcount = 1;
  return S;
}

uint32_t ReadPixel(const uint8_t* P, int Bpp) {
  switch (Bpp) {
    case 1: return P[0];
    case 2: return static_cast<uint32_t>(P[0] | P[1] << 8);
    case 3: return static_cast<uint32_t>(P[0] | P[1] << 8 | P[2] << 16);
    default: {
      uint32_t V;
      std::memcpy(&V, P, 4);
      return V;
    }
  }
}

void WritePixel(uint8_t* P, int Bpp, uint32_t V) {
  switch (Bpp) {
    case 1: P[0] = static_cast<uint8_t>(V); break;
    case 2:
      P[0] = static_cast<uint8_t>(V);
      P[1] = static_cast<uint8_t>(V >> 8);
      break;
    case 3:
      P[0] = static_cast<uint8_t>(V);
      P[1] = static_cast<uint8_t>(V >> 8);
      P[2] = static_cast<uint8_t>(V >> 16);
      break;
    default: std::memcpy(P, &V, 4); break;
  }
}

void Unmap(uint32_t Pixel, const SDL_PixelFormat* F, uint8_t& R, uint8_t& G, uint8_t& B) {
  const auto Channel = [Pixel](uint32_t Mask, uint8_t Shift, uint8_t Loss) {
    const uint32_t V = ((Pixel & Mask) >> Shift) << Loss;
    // Widened as SDL 1.2 widens: the top bits repeated below.
    return static_cast<uint8_t>(Loss ? V | (V >> (8 - Loss)) : V);
  };
  R = Channel(F->Rmask, F->Rshift, F->Rloss);
  G = Channel(F->Gmask, F->Gshift, F->Gloss);
  B = Channel(F->Bmask, F->Bshift, F->Bloss);
}

uint32_t Map(const SDL_PixelFormat* F, uint8_t R, uint8_t G, uint8_t B) {
  return (static_cast<uint32_t>(R >> F->Rloss) << F->Rshift) | (static_cast<uint32_t>(G >> F->Gloss) << F->Gshift) |
         (static_cast<uint32_t>(B >> F->Bloss) << F->Bshift) | F->Amask;
}

// Clips Rect to the surface's clip rectangle; false when nothing is left.
bool Clip(const SDL_Rect& Bounds, int& X, int& Y, int& W, int& H) {
  const int X0 = std::max(X, static_cast<int>(Bounds.x)), Y0 = std::max(Y, static_cast<int>(Bounds.y));
  const int X1 = std::min(X + W, Bounds.x + Bounds.w), Y1 = std::min(Y + H, Bounds.y + Bounds.h);
  if (X1 <= X0 || Y1 <= Y0) return false;
  X = X0, Y = Y0, W = X1 - X0, H = Y1 - Y0;
  return true;
}

uint8_t Blend(uint8_t S, uint8_t D, uint8_t A) { return static_cast<uint8_t>((((S - D) * A + 255) >> 8) + D); }

void Blit(SDL_Surface* Src, int SX, int SY, SDL_Surface* Dst, int DX, int DY, int W, int H) {
  const SDL_PixelFormat* SF = Src->format;
  const SDL_PixelFormat* DF = Dst->format;
  const int SB = SF->BytesPerPixel, DB = DF->BytesPerPixel;
  const TSurfaceExtra& E = Extra(Src);
  const bool Alpha = E.AlphaOn && E.Alpha != 255;
  const bool Same = SB == DB && SF->Rmask == DF->Rmask && SF->Gmask == DF->Gmask && SF->Bmask == DF->Bmask;
  for (int Y = 0; Y < H; ++Y) {
    const uint8_t* S = static_cast<const uint8_t*>(Src->pixels) + static_cast<size_t>(SY + Y) * Src->pitch + SX * SB;
    uint8_t* D = static_cast<uint8_t*>(Dst->pixels) + static_cast<size_t>(DY + Y) * Dst->pitch + DX * DB;
    if (Same && !E.KeyOn && !Alpha) {
      std::memmove(D, S, static_cast<size_t>(W) * SB);
      continue;
    }
    for (int X = 0; X < W; ++X, S += SB, D += DB) {
      const uint32_t P = ReadPixel(S, SB);
      if (E.KeyOn && (P & ~SF->Amask) == (E.Key & ~SF->Amask)) continue;
      uint8_t R, G, B;
      Unmap(P, SF, R, G, B);
      if (Alpha) {
        uint8_t DR, DG, DBl;
        Unmap(ReadPixel(D, DB), DF, DR, DG, DBl);
        R = Blend(R, DR, E.Alpha), G = Blend(G, DG, E.Alpha), B = Blend(B, DBl, E.Alpha);
      }
      WritePixel(D, DB, Same && !Alpha ? P : Map(DF, R, G, B));
    }
  }
}

// The page's canvas, updated from the screen surface's pixels (0x00RRGGBB).
// clang-format off
EM_JS(void, sq_web_present, (const uint8_t* Pixels, int Pitch, int Width, int Height, int X, int Y, int W, int H), {
  var canvas = Module["canvas"];
  if (canvas.width != Width || canvas.height != Height) { canvas.width = Width; canvas.height = Height; }
  if (!Module.sqContext) Module.sqContext = canvas.getContext("2d", { alpha: false });
  var image = Module.sqImage;
  if (!image || image.width != Width || image.height != Height) image = Module.sqImage = Module.sqContext.createImageData(Width, Height);
  var data = image.data;
  for (var row = Y; row < Y + H; ++row) {
    var s = Pixels + row * Pitch + X * 4, d = (row * Width + X) * 4;
    for (var col = 0; col < W; ++col, s += 4, d += 4) {
      data[d] = HEAPU8[s + 2]; data[d + 1] = HEAPU8[s + 1]; data[d + 2] = HEAPU8[s]; data[d + 3] = 255;
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
  TSurfaceExtra& E = Extra(S);
  E.KeyOn = (static_cast<uint32_t>(Flag) & (SDL_SRCCOLORKEY | kOldColorKey)) != 0;
  E.Key = Key;
  return 0;
}

int SDL_SetAlpha(SDL_Surface* S, Uint32 Flag, Uint8 Alpha) {
  if (!S) return -1;
  TSurfaceExtra& E = Extra(S);
  E.AlphaOn = (Flag & SDL_SRCALPHA) != 0;
  E.Alpha = Alpha;
  return 0;
}

Uint32 SDL_MapRGB(const SDL_PixelFormat* F, Uint8 R, Uint8 G, Uint8 B) { return Map(F, R, G, B); }

void SDL_GetRGB(Uint32 Pixel, const SDL_PixelFormat* F, Uint8* R, Uint8* G, Uint8* B) { Unmap(Pixel, F, *R, *G, *B); }

int SDL_FillRect(SDL_Surface* Dst, const SDL_Rect* Rect, Uint32 Color) {
  if (!Dst) return -1;
  int X = Rect ? Rect->x : 0, Y = Rect ? Rect->y : 0, W = Rect ? Rect->w : Dst->w, H = Rect ? Rect->h : Dst->h;
  if (!Clip(Dst->clip_rect, X, Y, W, H)) return 0;
  const int Bpp = Dst->format->BytesPerPixel;
  for (int Row = Y; Row < Y + H; ++Row) {
    uint8_t* P = static_cast<uint8_t*>(Dst->pixels) + static_cast<size_t>(Row) * Dst->pitch + X * Bpp;
    for (int Col = 0; Col < W; ++Col, P += Bpp) WritePixel(P, Bpp, Color);
  }
  return 0;
}

int SDL_UpperBlit(SDL_Surface* Src, const SDL_Rect* SrcRect, SDL_Surface* Dst, SDL_Rect* DstRect) {
  if (!Src || !Dst) return -1;
  int SX = SrcRect ? SrcRect->x : 0, SY = SrcRect ? SrcRect->y : 0;
  int W = SrcRect ? SrcRect->w : Src->w, H = SrcRect ? SrcRect->h : Src->h;
  int DX = DstRect ? DstRect->x : 0, DY = DstRect ? DstRect->y : 0;
  // The source part first, then the destination's clip rectangle, moving
  // the other side along.
  const int SX0 = SX, SY0 = SY;
  if (!Clip(SDL_Rect{0, 0, Src->w, Src->h}, SX, SY, W, H)) {
    if (DstRect) DstRect->w = DstRect->h = 0;
    return 0;
  }
  DX += SX - SX0, DY += SY - SY0;
  const int DX0 = DX, DY0 = DY;
  if (!Clip(Dst->clip_rect, DX, DY, W, H)) {
    if (DstRect) DstRect->w = DstRect->h = 0;
    return 0;
  }
  SX += DX - DX0, SY += DY - DY0;
  Blit(Src, SX, SY, Dst, DX, DY, W, H);
  if (DstRect) *DstRect = SDL_Rect{DX, DY, W, H};
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
    int X = Rects[I].x, Y = Rects[I].y, W = Rects[I].w, H = Rects[I].h;
    if (Clip(SDL_Rect{0, 0, S->w, S->h}, X, Y, W, H))
      sq_web_present(static_cast<const uint8_t*>(S->pixels), S->pitch, S->w, S->h, X, Y, W, H);
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
