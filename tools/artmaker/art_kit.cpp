#include "tools/artmaker/art_kit.h"

#include <algorithm>
#include <cmath>

namespace Art {

using namespace Maker;

TShader Bevel(TShader Inner, float X0, float Y0, float X1, float Y1, float Width) {
  return [=](float X, float Y) {
    float NX = 0, NY = 0;
    const float L = X - X0, R = X1 - X, T = Y - Y0, B = Y1 - Y;
    if (L < Width) NX -= 1 - L / Width;
    if (R < Width) NX += 1 - R / Width;
    if (T < Width) NY -= 1 - T / Width;
    if (B < Width) NY += 1 - B / Width;
    NX *= 0.8f;
    NY *= 0.8f;
    const float NZ = std::sqrt(std::max(0.05f, 1 - NX * NX - NY * NY));
    // Flat faces keep their own colour; tilted ones brighten or darken.
    const TRgb Flat = Light(Inner(X, Y), {0, 0, 1}, 0.45f, 0);
    const TRgb Lit = Light(Inner(X, Y), {NX, NY, NZ}, 0.45f, 0.1f);
    const TRgb Base = Inner(X, Y);
    return Clamp(Base + (Lit + Flat * -1.f) * 1.1f);
  };
}

TShader Grain(TRgb Base, float Scale, float Amount, int Seed) {
  return [=](float X, float Y) { return Shade(Base, 1 + Amount * (Fbm(X / Scale, Y / Scale, Seed) * 2 - 1)); };
}

void Pebble(TCanvas& C, float CX, float CY, float RX, float RY, TRgb Color) {
  C.Fill(Shapes::Ellipse(CX + 0.8f, CY + 0.9f, RX, RY), TRgb{10, 6, 4}, 0.55f);
  C.Fill(Shapes::Ellipse(CX, CY, RX, RY), Ball(Color, CX, CY, RX, RY, 0.25f));
}

void Glint(TCanvas& C, float CX, float CY, float Size, TRgb Color, float Opacity) {
  if (Size <= 0.2f) return;
  // A soft halo under a thin four-pointed star.
  for (int I = 4; I >= 1; --I) C.Fill(Shapes::Circle(CX, CY, Size * 0.22f * I), Color, Opacity * 0.12f);
  const float T = std::max(0.45f, Size * 0.16f);
  C.Fill(Shapes::Polygon({{CX - Size, CY},
                          {CX - T * 0.5f, CY - T * 0.5f},
                          {CX, CY - Size},
                          {CX + T * 0.5f, CY - T * 0.5f},
                          {CX + Size, CY},
                          {CX + T * 0.5f, CY + T * 0.5f},
                          {CX, CY + Size},
                          {CX - T * 0.5f, CY + T * 0.5f}}),
         Color, Opacity);
  C.Fill(Shapes::Circle(CX, CY, std::max(0.6f, Size * 0.2f)), Color, Opacity);
}

TShape TPen::Circle(float CX, float CY, float R) const { return Shapes::Circle(X(CX), Y(CY), S(R)); }
TShape TPen::Ellipse(float CX, float CY, float RX, float RY) const {
  return Shapes::Ellipse(X(CX), Y(CY), S(RX), S(RY));
}
TShape TPen::Poly(std::vector<std::pair<float, float>> Points) const {
  for (auto& [PX, PY] : Points) {
    PX = X(PX);
    PY = Y(PY);
  }
  return Shapes::Polygon(std::move(Points));
}
TShape TPen::Capsule(float X0, float Y0, float X1, float Y1, float R) const {
  return Shapes::Capsule(X(X0), Y(Y0), X(X1), Y(Y1), S(R));
}
TShape TPen::Rect(float X0, float Y0, float X1, float Y1) const {
  const float A = X(X0), B = X(X1);
  return Shapes::Rect(std::min(A, B), Y(Y0), std::max(A, B), Y(Y1));
}
TShader TPen::Ball(TRgb Base, float CX, float CY, float RX, float RY, float Gloss) const {
  return Maker::Ball(Base, X(CX), Y(CY), S(RX), S(RY), Gloss);
}
TShader TPen::Cylinder(TRgb Base, float CX, float HalfW, float Gloss) const {
  const float SX = X(CX), SW = S(HalfW);
  return [=](float PX, float) {
    const float NX = std::clamp((PX - SX) / SW, -0.95f, 0.95f);
    return Light(Base, {NX, -0.15f, std::sqrt(1 - NX * NX)}, 0.45f, Gloss);
  };
}

}  // namespace Art
