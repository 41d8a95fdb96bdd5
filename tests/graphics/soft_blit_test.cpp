// The browser build's software surfaces must draw exactly what SDL 1.2's
// own blitters draw on the desktop: each case runs both on the same pixels
// and compares every byte and the rectangle handed back.
#include "graphics/soft_blit.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {
struct TFree {
  void operator()(SDL_Surface* S) const { SDL_FreeSurface(S); }
};
using TSurface = std::unique_ptr<SDL_Surface, TFree>;

TSurface Make(int Width, int Height, int Depth, uint32_t Seed) {
  TSurface S(SDL_CreateRGBSurface(SDL_SWSURFACE, Width, Height, Depth, 0, 0, 0, 0));
  std::mt19937 Random(Seed);
  auto* P = static_cast<uint8_t*>(S->pixels);
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < S->pitch; ++X) {
      // The engine's 32-bit surfaces leave the unused top byte 0; a few
      // pixels repeat so that colour keys hit.
      const bool Unused = Depth == 32 && X % 4 == 3;
      P[Y * S->pitch + X] = Unused ? 0 : static_cast<uint8_t>(Random() % 4 == 0 ? 0x40 : Random());
    }
  return S;
}

TSurface Copy(SDL_Surface* S) {
  TSurface C(SDL_CreateRGBSurface(SDL_SWSURFACE, S->w, S->h, S->format->BitsPerPixel, S->format->Rmask,
                                  S->format->Gmask, S->format->Bmask, S->format->Amask));
  std::memcpy(C->pixels, S->pixels, static_cast<size_t>(S->pitch) * S->h);
  return C;
}

struct TView {
  VXSoftBlit::TFormat Format;
  VXSoftBlit::TPixels Pixels;
};

TView View(SDL_Surface* S) {
  TView V;
  const SDL_PixelFormat* F = S->format;
  V.Format = VXSoftBlit::MakeFormat(F->BitsPerPixel, F->Rmask, F->Gmask, F->Bmask, F->Amask);
  V.Pixels = {static_cast<uint8_t*>(S->pixels),
              S->pitch,
              S->w,
              S->h,
              nullptr,
              {S->clip_rect.x, S->clip_rect.y, S->clip_rect.w, S->clip_rect.h}};
  return V;
}

bool SameBytes(SDL_Surface* A, SDL_Surface* B) {
  return std::memcmp(A->pixels, B->pixels, static_cast<size_t>(A->pitch) * A->h) == 0;
}

struct TBlitCase {
  int SrcDepth, DstDepth;
  bool Key;
  int Alpha;  // -1: no surface alpha
};

// Source rectangles and destinations that cross every edge, with and
// without a clip rectangle on the destination.
struct TPlace {
  bool WholeSource;
  SDL_Rect Src;
  int X, Y;
};
const TPlace kPlaces[] = {{true, {}, 0, 0},
                          {true, {}, 5, 3},
                          {true, {}, -7, -4},
                          {true, {}, 30, 20},
                          {false, {3, 2, 10, 6}, 1, 1},
                          {false, {-4, -3, 12, 9}, 2, 2},
                          {false, {14, 9, 20, 20}, -2, 5},
                          {false, {0, 0, 0, 5}, 1, 1},
                          {false, {2, 2, 5, 5}, 40, 1}};

void ExpectSameBlits(const TBlitCase& C) {
  for (int Clip = 0; Clip < 2; ++Clip)
    for (const TPlace& P : kPlaces) {
      TSurface Src = Make(17, 11, C.SrcDepth, 1);
      TSurface Sdl = Make(33, 24, C.DstDepth, 2);
      TSurface Ours = Copy(Sdl.get());
      if (C.Key) SDL_SetColorKey(Src.get(), SDL_SRCCOLORKEY, SDL_MapRGB(Src->format, 0x40, 0x40, 0x40));
      if (C.Alpha >= 0) SDL_SetAlpha(Src.get(), SDL_SRCALPHA, static_cast<uint8_t>(C.Alpha));
      if (Clip) {
        SDL_Rect R{4, 3, 20, 15};
        SDL_SetClipRect(Sdl.get(), &R);
        SDL_SetClipRect(Ours.get(), &R);
      }
      SDL_Rect SrcRect = P.Src, Dst{static_cast<Sint16>(P.X), static_cast<Sint16>(P.Y), 0, 0};
      SDL_BlitSurface(Src.get(), P.WholeSource ? nullptr : &SrcRect, Sdl.get(), &Dst);

      TView S = View(Src.get()), D = View(Ours.get());
      S.Pixels.Format = &S.Format;
      D.Pixels.Format = &D.Format;
      VXSoftBlit::TBlitMode Mode;
      Mode.KeyOn = C.Key;
      Mode.Key = SDL_MapRGB(Src->format, 0x40, 0x40, 0x40);
      Mode.AlphaOn = C.Alpha >= 0;
      Mode.Alpha = static_cast<uint8_t>(C.Alpha < 0 ? 255 : C.Alpha);
      const VXSoftBlit::TRect R{P.Src.x, P.Src.y, P.Src.w, P.Src.h};
      const VXSoftBlit::TRect Done = VXSoftBlit::Blit(S.Pixels, P.WholeSource ? nullptr : &R, Mode, D.Pixels, P.X, P.Y);

      SCOPED_TRACE(testing::Message() << C.SrcDepth << "->" << C.DstDepth << " key " << C.Key << " alpha " << C.Alpha
                                      << " clip " << Clip << " at " << P.X << "," << P.Y);
      EXPECT_TRUE(SameBytes(Sdl.get(), Ours.get()));
      if (Dst.w && Dst.h) {
        EXPECT_EQ(Done.X, Dst.x);
        EXPECT_EQ(Done.Y, Dst.y);
      }
      EXPECT_EQ(Done.W, Dst.w);
      EXPECT_EQ(Done.H, Dst.h);
    }
}
}  // namespace

TEST(SoftBlit, CopiesAndConvertsAsSdlDoes) {
  for (int From : {24, 32})
    for (int To : {24, 32}) ExpectSameBlits({From, To, false, -1});
}

TEST(SoftBlit, LeavesTheColourKeyOutAsSdlDoes) {
  for (int From : {24, 32})
    for (int To : {24, 32}) ExpectSameBlits({From, To, true, -1});
}

TEST(SoftBlit, BlendsASurfaceAlphaAsSdlDoes) {
  for (int Alpha : {0, 1, 64, 128, 200, 255}) {
    ExpectSameBlits({32, 32, false, Alpha});
    ExpectSameBlits({24, 32, false, Alpha});
    ExpectSameBlits({32, 32, true, Alpha});
  }
}

TEST(SoftBlit, FillsWithinTheClipAsSdlDoes) {
  for (int Depth : {24, 32})
    for (const SDL_Rect& R : {SDL_Rect{0, 0, 33, 24}, SDL_Rect{-5, -5, 10, 10}, SDL_Rect{30, 20, 10, 10},
                              SDL_Rect{3, 4, 0, 7}, SDL_Rect{2, 2, 28, 3}}) {
      TSurface Sdl = Make(33, 24, Depth, 3);
      TSurface Ours = Copy(Sdl.get());
      SDL_Rect Clip{1, 2, 25, 18};
      SDL_SetClipRect(Sdl.get(), &Clip);
      SDL_SetClipRect(Ours.get(), &Clip);
      const uint32_t Color = SDL_MapRGB(Sdl->format, 0x12, 0x34, 0x56);
      SDL_Rect Asked = R;
      SDL_FillRect(Sdl.get(), &Asked, Color);
      TView D = View(Ours.get());
      D.Pixels.Format = &D.Format;
      const VXSoftBlit::TRect Ask{R.x, R.y, R.w, R.h};
      VXSoftBlit::Fill(D.Pixels, &Ask, Color);
      SCOPED_TRACE(testing::Message() << Depth << " bits, rect " << R.x << "," << R.y << " " << R.w << "x" << R.h);
      EXPECT_TRUE(SameBytes(Sdl.get(), Ours.get()));
    }
}

TEST(SoftBlit, MapsAndReadsColoursAsSdlDoes) {
  TSurface Rgb565(SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 16, 0xF800, 0x07E0, 0x001F, 0));
  TSurface Bgr24(SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 24, 0x0000FF, 0x00FF00, 0xFF0000, 0));
  TSurface Rgb32 = Make(1, 1, 32, 4);
  for (SDL_Surface* S : {Rgb565.get(), Bgr24.get(), Rgb32.get()}) {
    const SDL_PixelFormat* F = S->format;
    const VXSoftBlit::TFormat Ours = VXSoftBlit::MakeFormat(F->BitsPerPixel, F->Rmask, F->Gmask, F->Bmask, F->Amask);
    for (int V = 0; V < 256; V += 17) {
      const auto C = static_cast<uint8_t>(V);
      const uint32_t Pixel = SDL_MapRGB(F, C, static_cast<uint8_t>(255 - C), static_cast<uint8_t>(C / 2));
      EXPECT_EQ(VXSoftBlit::Map(Ours, C, static_cast<uint8_t>(255 - C), static_cast<uint8_t>(C / 2)), Pixel);
      uint8_t R1, G1, B1, R2, G2, B2;
      SDL_GetRGB(Pixel, F, &R1, &G1, &B1);
      VXSoftBlit::Unmap(Pixel, Ours, R2, G2, B2);
      EXPECT_EQ(R1, R2);
      EXPECT_EQ(G1, G2);
      EXPECT_EQ(B1, B2);
    }
  }
}
