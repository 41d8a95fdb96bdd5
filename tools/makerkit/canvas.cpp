#include "tools/makerkit/canvas.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "tools/makerkit/tga_writer.h"

namespace Maker {

TRgb operator+(TRgb A, TRgb B) { return {A.R + B.R, A.G + B.G, A.B + B.B}; }
TRgb operator*(TRgb A, float K) { return {A.R * K, A.G * K, A.B * K}; }
TRgb Mix(TRgb A, TRgb B, float T) { return A * (1 - T) + B * T; }
TRgb Clamp(TRgb A) { return {std::clamp(A.R, 0.f, 255.f), std::clamp(A.G, 0.f, 255.f), std::clamp(A.B, 0.f, 255.f)}; }
TRgb Shade(TRgb A, float K) { return Clamp(A * K); }

TCanvas::TCanvas(int Width, int Height)
    : FWidth(Width),
      FHeight(Height),
      FColor(static_cast<size_t>(Width) * Height),
      FAlpha(static_cast<size_t>(Width) * Height, 0.f) {
  if (Width <= 0 || Height <= 0) throw std::invalid_argument("empty canvas");
}

void TCanvas::Set(int X, int Y, TRgb Color, float Alpha) {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return;
  FColor[Index(X, Y)] = Color;
  FAlpha[Index(X, Y)] = Alpha;
}

void TCanvas::Fill(const TShape& Shape, const TShader& Shader, float Opacity) {
  constexpr float Step = 1.f / kSamples;
  for (int Y = 0; Y < FHeight; ++Y)
    for (int X = 0; X < FWidth; ++X) {
      int Inside = 0;
      TRgb Sum;
      for (int SY = 0; SY < kSamples; ++SY)
        for (int SX = 0; SX < kSamples; ++SX) {
          const float PX = X + (SX + 0.5f) * Step, PY = Y + (SY + 0.5f) * Step;
          if (!Shape(PX, PY)) continue;
          ++Inside;
          Sum = Sum + Shader(PX, PY);
        }
      if (Inside == 0) continue;
      const float A = Opacity * Inside / (kSamples * kSamples);
      const TRgb Src = Clamp(Sum * (1.f / Inside));
      const size_t I = Index(X, Y);
      // Colour kept non-premultiplied: blend towards the source by its share.
      const float OutA = A + FAlpha[I] * (1 - A);
      FColor[I] = OutA > 0 ? (Src * A + FColor[I] * (FAlpha[I] * (1 - A))) * (1 / OutA) : Src;
      FAlpha[I] = OutA;
    }
}

void TCanvas::Fill(const TShape& Shape, TRgb Color, float Opacity) {
  Fill(
      Shape, [Color](float, float) { return Color; }, Opacity);
}

void TCanvas::Draw(const TCanvas& Source, int X0, int Y0, float Opacity) {
  for (int Y = 0; Y < Source.FHeight; ++Y)
    for (int X = 0; X < Source.FWidth; ++X) {
      const int TX = X0 + X, TY = Y0 + Y;
      if (TX < 0 || TY < 0 || TX >= FWidth || TY >= FHeight) continue;
      const float A = Source.AlphaAt(X, Y) * Opacity;
      if (A <= 0) continue;
      const size_t I = Index(TX, TY);
      const float OutA = A + FAlpha[I] * (1 - A);
      FColor[I] = (Source.ColorAt(X, Y) * A + FColor[I] * (FAlpha[I] * (1 - A))) * (1 / OutA);
      FAlpha[I] = OutA;
    }
}

void TCanvas::Outline(TRgb Color, float Threshold) {
  std::vector<size_t> Edge;
  for (int Y = 0; Y < FHeight; ++Y)
    for (int X = 0; X < FWidth; ++X) {
      if (FAlpha[Index(X, Y)] >= Threshold) continue;
      bool Touch = false;
      for (int DY = -1; DY <= 1 && !Touch; ++DY)
        for (int DX = -1; DX <= 1; ++DX) {
          const int NX = X + DX, NY = Y + DY;
          if (NX < 0 || NY < 0 || NX >= FWidth || NY >= FHeight) continue;
          if (FAlpha[Index(NX, NY)] >= Threshold) {
            Touch = true;
            break;
          }
        }
      if (Touch) Edge.push_back(Index(X, Y));
    }
  for (size_t I : Edge) {
    // Keep what little coverage the pixel had on top of the outline colour.
    FColor[I] = Mix(Color, FColor[I], FAlpha[I]);
    FAlpha[I] = 1;
  }
}

void TCanvas::Modulate(const std::function<float(float X, float Y)>& Factor) {
  for (int Y = 0; Y < FHeight; ++Y)
    for (int X = 0; X < FWidth; ++X) FColor[Index(X, Y)] = Shade(FColor[Index(X, Y)], Factor(X + 0.5f, Y + 0.5f));
}

std::vector<uint8_t> TCanvas::ToBgr() const {
  std::vector<uint8_t> Out(static_cast<size_t>(FWidth) * FHeight * 3);
  for (size_t I = 0; I < FColor.size(); ++I) {
    const TRgb C = Clamp(FColor[I] * FAlpha[I]);
    uint8_t B = static_cast<uint8_t>(std::lround(C.B)), G = static_cast<uint8_t>(std::lround(C.G)),
            R = static_cast<uint8_t>(std::lround(C.R));
    if (B == 0 && G == 0 && R == 0 && FAlpha[I] >= 0.5f) B = G = R = 1;
    Out[I * 3] = B;
    Out[I * 3 + 1] = G;
    Out[I * 3 + 2] = R;
  }
  return Out;
}

std::vector<uint8_t> StripBgr(const std::vector<TCanvas>& Frames) {
  if (Frames.empty()) throw std::invalid_argument("no frames");
  const int W = Frames[0].Width(), H = Frames[0].Height(), N = static_cast<int>(Frames.size());
  std::vector<uint8_t> Out(static_cast<size_t>(W) * N * H * 3);
  for (int K = 0; K < N; ++K) {
    if (Frames[K].Width() != W || Frames[K].Height() != H) throw std::invalid_argument("frames differ in size");
    const std::vector<uint8_t> F = Frames[K].ToBgr();
    for (int Y = 0; Y < H; ++Y)
      std::copy_n(F.begin() + static_cast<ptrdiff_t>(Y) * W * 3, W * 3,
                  Out.begin() + (static_cast<ptrdiff_t>(Y) * W * N + static_cast<ptrdiff_t>(K) * W) * 3);
  }
  return Out;
}

void SaveFrames(const std::string& Path, const std::vector<TCanvas>& Frames, bool Animated, uint8_t Flags) {
  const int N = static_cast<int>(Frames.size());
  const std::vector<uint8_t> Id = Animated ? FrameId(N, Flags) : std::vector<uint8_t>{};
  SaveBytes(Path, EncodeTgaBgr(Frames.at(0).Width() * N, Frames[0].Height(), StripBgr(Frames), Id));
}

namespace Shapes {
TShape Circle(float CX, float CY, float R) {
  return [=](float X, float Y) { return (X - CX) * (X - CX) + (Y - CY) * (Y - CY) <= R * R; };
}
TShape Ellipse(float CX, float CY, float RX, float RY) {
  return [=](float X, float Y) {
    const float DX = (X - CX) / RX, DY = (Y - CY) / RY;
    return DX * DX + DY * DY <= 1;
  };
}
TShape Rect(float X0, float Y0, float X1, float Y1) {
  return [=](float X, float Y) { return X >= X0 && X < X1 && Y >= Y0 && Y < Y1; };
}
TShape RoundRect(float X0, float Y0, float X1, float Y1, float Radius) {
  return [=](float X, float Y) {
    if (X < X0 || X >= X1 || Y < Y0 || Y >= Y1) return false;
    const float CX = std::clamp(X, X0 + Radius, X1 - Radius), CY = std::clamp(Y, Y0 + Radius, Y1 - Radius);
    return (X - CX) * (X - CX) + (Y - CY) * (Y - CY) <= Radius * Radius;
  };
}
TShape Polygon(std::vector<std::pair<float, float>> Points) {
  return [P = std::move(Points)](float X, float Y) {
    bool In = false;
    for (size_t I = 0, J = P.size() - 1; I < P.size(); J = I++) {
      const auto [XI, YI] = P[I];
      const auto [XJ, YJ] = P[J];
      if ((YI > Y) != (YJ > Y) && X < (XJ - XI) * (Y - YI) / (YJ - YI) + XI) In = !In;
    }
    return In;
  };
}
TShape Capsule(float X0, float Y0, float X1, float Y1, float Radius) {
  return [=](float X, float Y) {
    const float DX = X1 - X0, DY = Y1 - Y0, L2 = DX * DX + DY * DY;
    float T = L2 > 0 ? ((X - X0) * DX + (Y - Y0) * DY) / L2 : 0;
    T = std::clamp(T, 0.f, 1.f);
    const float PX = X0 + T * DX - X, PY = Y0 + T * DY - Y;
    return PX * PX + PY * PY <= Radius * Radius;
  };
}
TShape Union(TShape A, TShape B) {
  return [A = std::move(A), B = std::move(B)](float X, float Y) { return A(X, Y) || B(X, Y); };
}
TShape Intersect(TShape A, TShape B) {
  return [A = std::move(A), B = std::move(B)](float X, float Y) { return A(X, Y) && B(X, Y); };
}
TShape Subtract(TShape A, TShape B) {
  return [A = std::move(A), B = std::move(B)](float X, float Y) { return A(X, Y) && !B(X, Y); };
}
TShape Everywhere() {
  return [](float, float) { return true; };
}
}  // namespace Shapes

TVec3 LightDir() {
  const float X = -0.55f, Y = -0.65f, Z = 0.52f;
  const float L = std::sqrt(X * X + Y * Y + Z * Z);
  return {X / L, Y / L, Z / L};
}

TRgb Light(TRgb Base, TVec3 N, float Ambient, float Specular, float Shininess) {
  const TVec3 L = LightDir();
  const float Diffuse = std::max(0.f, N.X * L.X + N.Y * L.Y + N.Z * L.Z);
  // Half vector between the light and a viewer straight in front.
  TVec3 H{L.X, L.Y, L.Z + 1};
  const float HL = std::sqrt(H.X * H.X + H.Y * H.Y + H.Z * H.Z);
  const float Gloss = std::pow(std::max(0.f, (N.X * H.X + N.Y * H.Y + N.Z * H.Z) / HL), Shininess);
  const TRgb Lit = Base * (Ambient + (1 - Ambient) * 1.25f * Diffuse);
  return Clamp(Lit + TRgb{255, 255, 255} * (Specular * Gloss));
}

TShader Ball(TRgb Base, float CX, float CY, float RX, float RY, float Specular) {
  return [=](float X, float Y) {
    const float DX = (X - CX) / RX, DY = (Y - CY) / RY;
    const float D2 = std::min(1.f, DX * DX + DY * DY);
    return Light(Base, {DX, DY, std::sqrt(1 - D2)}, 0.4f, Specular);
  };
}

float Hash(int X, int Y, int Seed) {
  uint32_t H = static_cast<uint32_t>(X) * 374761393u + static_cast<uint32_t>(Y) * 668265263u +
               static_cast<uint32_t>(Seed) * 2246822519u;
  H = (H ^ (H >> 13)) * 1274126177u;
  H ^= H >> 16;
  return (H & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}

float ValueNoise(float X, float Y, int Seed) {
  const int IX = static_cast<int>(std::floor(X)), IY = static_cast<int>(std::floor(Y));
  const float FX = X - IX, FY = Y - IY;
  const float SX = FX * FX * (3 - 2 * FX), SY = FY * FY * (3 - 2 * FY);
  const float A = Hash(IX, IY, Seed), B = Hash(IX + 1, IY, Seed), C = Hash(IX, IY + 1, Seed),
              D = Hash(IX + 1, IY + 1, Seed);
  return (A * (1 - SX) + B * SX) * (1 - SY) + (C * (1 - SX) + D * SX) * SY;
}

float Fbm(float X, float Y, int Seed, int Octaves) {
  float Sum = 0, Amp = 0.5f, Norm = 0;
  for (int O = 0; O < Octaves; ++O) {
    Sum += Amp * ValueNoise(X, Y, Seed + O * 17);
    Norm += Amp;
    X *= 2;
    Y *= 2;
    Amp *= 0.5f;
  }
  return Sum / Norm;
}

}  // namespace Maker
