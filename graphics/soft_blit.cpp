#include "graphics/soft_blit.h"

#include <algorithm>
#include <cstring>

namespace VXSoftBlit {
namespace {
uint8_t MaskShift(uint32_t Mask) {
  uint8_t Shift = 0;
  if (!Mask) return 0;
  for (; !(Mask & 1u); Mask >>= 1) ++Shift;
  return Shift;
}

uint8_t MaskLoss(uint32_t Mask) {
  int Bits = 0;
  for (Mask >>= MaskShift(Mask); Mask & 1u; Mask >>= 1) ++Bits;
  return static_cast<uint8_t>(8 - std::min(Bits, 8));
}

uint32_t Read(const uint8_t* P, int Bpp) {
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

void Write(uint8_t* P, int Bpp, uint32_t V) {
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

// Narrows R to Bounds; false when nothing is left.
bool Intersect(const TRect& Bounds, TRect& R) {
  const int X0 = std::max(R.X, Bounds.X), Y0 = std::max(R.Y, Bounds.Y);
  const int X1 = std::min(R.X + R.W, Bounds.X + Bounds.W), Y1 = std::min(R.Y + R.H, Bounds.Y + Bounds.H);
  if (X1 <= X0 || Y1 <= Y0) return false;
  R = TRect{X0, Y0, X1 - X0, Y1 - Y0};
  return true;
}

// SDL 1.2's surface alpha on 0xRRGGBB pixels of four bytes: two channels
// at a time, the unused byte set, and 128 as the mean of both.
uint32_t BlendRgb888(uint32_t S, uint32_t D, uint32_t Alpha) {
  if (Alpha == 128) return ((((S & 0x00fefefe) + (D & 0x00fefefe)) >> 1) + (S & D & 0x00010101)) | 0xff000000;
  uint32_t S1 = S & 0xff00ff, D1 = D & 0xff00ff;
  D1 = (D1 + ((S1 - D1) * Alpha >> 8)) & 0xff00ff;
  S &= 0xff00;
  D &= 0xff00;
  D = (D + ((S - D) * Alpha >> 8)) & 0xff00;
  return D1 | D | 0xff000000;
}

// SDL 1.2's general surface alpha: per channel in unsigned arithmetic, the
// channels put together unmasked (what spills over lands where it lands).
uint32_t BlendGeneral(uint32_t S, uint32_t D, uint32_t Alpha, const TFormat& SF, const TFormat& DF) {
  const auto Part = [](uint32_t P, uint32_t Mask, uint8_t Shift, uint8_t Loss) {
    return ((P & Mask) >> Shift) << Loss;
  };
  const auto Mix = [Alpha](uint32_t SC, uint32_t DC) { return (((SC - DC) * Alpha + 255) >> 8) + DC; };
  const uint32_t R = Mix(Part(S, SF.Rmask, SF.Rshift, SF.Rloss), Part(D, DF.Rmask, DF.Rshift, DF.Rloss));
  const uint32_t G = Mix(Part(S, SF.Gmask, SF.Gshift, SF.Gloss), Part(D, DF.Gmask, DF.Gshift, DF.Gloss));
  const uint32_t B = Mix(Part(S, SF.Bmask, SF.Bshift, SF.Bloss), Part(D, DF.Bmask, DF.Bshift, DF.Bloss));
  const uint32_t A = DF.Amask ? 255u : 0u;
  return ((R >> DF.Rloss) << DF.Rshift) | ((G >> DF.Gloss) << DF.Gshift) | ((B >> DF.Bloss) << DF.Bshift) |
         ((A >> DF.Aloss) << DF.Ashift);
}

bool SameFormat(const TFormat& A, const TFormat& B) {
  return A.BytesPerPixel == B.BytesPerPixel && A.Rmask == B.Rmask && A.Gmask == B.Gmask && A.Bmask == B.Bmask;
}

void BlitRows(const TPixels& Src, const TRect& S, const TBlitMode& Mode, TPixels& Dst, int DX, int DY) {
  const TFormat& SF = *Src.Format;
  const TFormat& DF = *Dst.Format;
  const int SB = SF.BytesPerPixel, DB = DF.BytesPerPixel;
  const bool Alpha = Mode.AlphaOn && Mode.Alpha != 255;
  const bool Same = SameFormat(SF, DF);
  // SDL 1.2 takes its own path for four-byte 0xRRGGBB to the same without a key.
  const bool Rgb888 = Alpha && !Mode.KeyOn && Same && SB == 4 && (SF.Rmask | SF.Gmask | SF.Bmask) == 0xffffff;
  // Its other alpha blits draw nothing at alpha 0.
  if (Alpha && !Rgb888 && Mode.Alpha == 0) return;
  for (int Y = 0; Y < S.H; ++Y) {
    const uint8_t* SP = Src.Data + static_cast<size_t>(S.Y + Y) * Src.Pitch + static_cast<size_t>(S.X) * SB;
    uint8_t* DP = Dst.Data + static_cast<size_t>(DY + Y) * Dst.Pitch + static_cast<size_t>(DX) * DB;
    if (Same && !Mode.KeyOn && !Alpha) {
      std::memmove(DP, SP, static_cast<size_t>(S.W) * SB);
      continue;
    }
    for (int X = 0; X < S.W; ++X, SP += SB, DP += DB) {
      const uint32_t P = Read(SP, SB);
      if (Mode.KeyOn && (P & ~SF.Amask) == (Mode.Key & ~SF.Amask)) continue;
      if (Rgb888) {
        Write(DP, DB, BlendRgb888(P, Read(DP, DB), Mode.Alpha));
      } else if (Alpha) {
        Write(DP, DB, BlendGeneral(P, Read(DP, DB), Mode.Alpha, SF, DF));
      } else if (Same) {
        Write(DP, DB, P);
      } else {
        uint8_t R, G, B;
        Unmap(P, SF, R, G, B);
        Write(DP, DB, Map(DF, R, G, B));
      }
    }
  }
}
}  // namespace

TFormat MakeFormat(int Depth, uint32_t R, uint32_t G, uint32_t B, uint32_t A) {
  if (!R && !G && !B && Depth >= 24) {
    R = 0x00FF0000;
    G = 0x0000FF00;
    B = 0x000000FF;
  }
  TFormat F;
  F.BytesPerPixel = (Depth + 7) / 8;
  F.Rmask = R, F.Gmask = G, F.Bmask = B, F.Amask = A;
  F.Rshift = MaskShift(R), F.Gshift = MaskShift(G), F.Bshift = MaskShift(B), F.Ashift = MaskShift(A);
  F.Rloss = MaskLoss(R), F.Gloss = MaskLoss(G), F.Bloss = MaskLoss(B), F.Aloss = A ? MaskLoss(A) : 8;
  return F;
}

uint32_t Map(const TFormat& F, uint8_t R, uint8_t G, uint8_t B) {
  return (static_cast<uint32_t>(R >> F.Rloss) << F.Rshift) | (static_cast<uint32_t>(G >> F.Gloss) << F.Gshift) |
         (static_cast<uint32_t>(B >> F.Bloss) << F.Bshift) | F.Amask;
}

void Unmap(uint32_t Pixel, const TFormat& F, uint8_t& R, uint8_t& G, uint8_t& B) {
  const auto Channel = [Pixel](uint32_t Mask, uint8_t Shift, uint8_t Loss) {
    const uint32_t V = ((Pixel & Mask) >> Shift) << Loss;
    // Widened as SDL 1.2 widens: the top bits repeated below.
    return static_cast<uint8_t>(Loss ? V | (V >> (8 - Loss)) : V);
  };
  R = Channel(F.Rmask, F.Rshift, F.Rloss);
  G = Channel(F.Gmask, F.Gshift, F.Gloss);
  B = Channel(F.Bmask, F.Bshift, F.Bloss);
}

void Fill(TPixels& Dst, const TRect* Rect, uint32_t Color) {
  TRect R = Rect ? *Rect : TRect{0, 0, Dst.Width, Dst.Height};
  if (!Intersect(Dst.Clip, R)) return;
  const int Bpp = Dst.Format->BytesPerPixel;
  for (int Row = R.Y; Row < R.Y + R.H; ++Row) {
    uint8_t* P = Dst.Data + static_cast<size_t>(Row) * Dst.Pitch + static_cast<size_t>(R.X) * Bpp;
    for (int Col = 0; Col < R.W; ++Col, P += Bpp) Write(P, Bpp, Color);
  }
}

TRect Blit(const TPixels& Src, const TRect* SrcRect, const TBlitMode& Mode, TPixels& Dst, int DX, int DY) {
  // The source part first, then the destination's clip rectangle, each
  // moving the other side along.
  TRect S = SrcRect ? *SrcRect : TRect{0, 0, Src.Width, Src.Height};
  const int SX0 = S.X, SY0 = S.Y;
  if (!Intersect(TRect{0, 0, Src.Width, Src.Height}, S)) return TRect{DX, DY, 0, 0};
  TRect D{DX + S.X - SX0, DY + S.Y - SY0, S.W, S.H};
  const int DX0 = D.X, DY0 = D.Y;
  if (!Intersect(Dst.Clip, D)) return TRect{DX, DY, 0, 0};
  S = TRect{S.X + D.X - DX0, S.Y + D.Y - DY0, D.W, D.H};
  BlitRows(Src, S, Mode, Dst, D.X, D.Y);
  return D;
}

}  // namespace VXSoftBlit
