#include "tools/iconmaker/icon_art.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace Icon {

using namespace Maker;

namespace {

constexpr float kDesign = 256;
using TPoints = std::vector<std::pair<float, float>>;

// Design units to pixels of one canvas.
struct TScale {
  float K;
  float operator()(float V) const { return V * K; }
  TShape Poly(TPoints Points) const {
    for (auto& [X, Y] : Points) {
      X *= K;
      Y *= K;
    }
    return Shapes::Polygon(std::move(Points));
  }
};

void DrawTile(TCanvas& C, const TPalette& P, const TScale& U) {
  const TShape Tile = Shapes::RoundRect(U(6), U(6), U(250), U(250), U(46));
  const TShape Inner = Shapes::RoundRect(U(16), U(16), U(240), U(240), U(38));
  // The rim: lit along the top left, in shadow along the bottom right.
  C.Fill(Tile, [=](float X, float Y) {
    const float T = std::clamp((X + Y) / U(2 * kDesign), 0.f, 1.f);
    return Mix(P("rock_light"), P("rock_dark"), T);
  });
  // The quarry wall: layered stone, darker towards the bottom.
  C.Fill(Inner, [=](float X, float Y) {
    const float DX = X / U.K, DY = Y / U.K;
    const float Layer = 0.5f + 0.5f * std::sin(DY / 11.f + 1.6f * Fbm(DX / 40, DY / 40, 7));
    const float Grain = Fbm(DX / 14, DY / 14, 11);
    TRgb Base = Mix(P("soil_light"), P("soil"), std::clamp(DY / kDesign * 1.2f, 0.f, 1.f));
    Base = Mix(Base, P("soil_deep"), 0.35f * Layer);
    return Shade(Base, 0.85f + 0.3f * Grain);
  });
  // Moss along the floor of the quarry.
  C.Fill(
      Shapes::Intersect(Inner,
                        [=](float X, float Y) {
                          const float DX = X / U.K, DY = Y / U.K;
                          return DY > 214 + 8 * std::sin(DX / 17.f) + 6 * Fbm(DX / 9, 3, 5);
                        }),
      [=](float, float Y) { return Mix(P("moss_light"), P("moss_dark"), std::clamp((Y / U.K - 205) / 35, 0.f, 1.f)); });
}

void DrawBoulder(TCanvas& C, const TPalette& P, const TScale& U) {
  const float CX = 186, CY = 194, R = 38;
  C.Fill(Shapes::Ellipse(U(CX + 4), U(CY + R - 4), U(R * 1.05f), U(9)), P("soil_deep"), 0.6f);
  const TShader Ball = Maker::Ball(P("rock"), U(CX), U(CY), U(R), U(R * 0.92f));
  C.Fill(Shapes::Ellipse(U(CX), U(CY), U(R), U(R * 0.92f)), [=](float X, float Y) {
    const float Speck = Fbm(X / U.K / 6, Y / U.K / 6, 23);
    return Shade(Ball(X, Y), 0.88f + 0.22f * Speck);
  });
}

void DrawGlint(TCanvas& C, float CX, float CY, float Size, TRgb Color, float Opacity) {
  for (int I = 4; I >= 1; --I) C.Fill(Shapes::Circle(CX, CY, Size * 0.2f * I), Color, Opacity * 0.1f);
  const float T = std::max(0.4f, Size * 0.14f);
  C.Fill(Shapes::Polygon({{CX - Size, CY},
                          {CX - T, CY - T},
                          {CX, CY - Size},
                          {CX + T, CY - T},
                          {CX + Size, CY},
                          {CX + T, CY + T},
                          {CX, CY + Size},
                          {CX - T, CY + T}}),
         Color, Opacity);
}

void DrawDiamond(TCanvas& C, const TPalette& P, const TScale& U) {
  // The table, the girdle and the tip of a brilliant seen from the side.
  const std::pair<float, float> A{86, 54}, B{170, 54};
  const std::pair<float, float> G[] = {{38, 96}, {83, 96}, {128, 96}, {173, 96}, {218, 96}};
  const std::pair<float, float> Tip{128, 226};
  const TRgb Gem = P("gem_ice"), White = P("gem_white");

  // A shadow falls on the wall behind the stone.
  C.Fill(U.Poly({{A.first + 8, A.second + 10},
                 {B.first + 8, B.second + 10},
                 {G[4].first + 8, G[4].second + 10},
                 {Tip.first + 8, Tip.second + 10},
                 {G[0].first + 8, G[0].second + 10}}),
         P("soil_deep"), 0.55f);

  struct TFacet {
    TPoints Corners;
    float Light;
  };
  // Light from the top left: the table brightest, the lower right darkest.
  const TFacet Facets[] = {
      {{G[0], A, G[1]}, 1.15f},  {{A, G[2], G[1]}, 1.0f},    {{A, B, G[2]}, 1.35f},
      {{B, G[3], G[2]}, 0.9f},   {{B, G[4], G[3]}, 0.75f},   {{G[0], G[1], Tip}, 0.95f},
      {{G[1], G[2], Tip}, 0.8f}, {{G[2], G[3], Tip}, 0.62f}, {{G[3], G[4], Tip}, 0.48f},
  };
  for (const TFacet& F : Facets) {
    const float Light = F.Light;
    C.Fill(U.Poly(F.Corners), [=](float X, float Y) {
      // A soft sheen across each facet keeps the flat colours alive.
      const float Sheen = 0.08f * std::sin((X - Y) / U.K / 18.f);
      const TRgb Base = Mix(Gem, White, std::clamp((Light - 0.9f) * 1.2f, 0.f, 0.7f));
      return Shade(Base, Light + Sheen);
    });
  }
  // Bright edges between the facets.
  const float Edge = std::max(0.5f, U(1.6f));
  auto Line = [&](std::pair<float, float> From, std::pair<float, float> To, float Opacity) {
    C.Fill(Shapes::Capsule(U(From.first), U(From.second), U(To.first), U(To.second), Edge), P("glint"), Opacity);
  };
  Line(G[0], G[4], 0.7f);
  Line(A, B, 0.8f);
  Line(G[0], A, 0.6f);
  Line(B, G[4], 0.35f);
  for (int I = 1; I <= 3; ++I) Line(G[I], Tip, 0.3f);
  Line(G[0], Tip, 0.45f);
  Line(G[4], Tip, 0.25f);
  Line(A, G[1], 0.3f);
  Line(A, G[2], 0.3f);
  Line(B, G[2], 0.3f);
  Line(B, G[3], 0.3f);

  DrawGlint(C, U(94), U(62), U(34), P("glint"), 0.95f);
  DrawGlint(C, U(150), U(140), U(13), P("glint"), 0.8f);
}

}  // namespace

TCanvas DrawIcon(const TPalette& P, int Size) {
  if (Size < 16) throw std::invalid_argument("icon size below 16 pixels");
  const TScale U{Size / kDesign};
  TCanvas C(Size, Size);
  DrawTile(C, P, U);
  DrawBoulder(C, P, U);
  DrawDiamond(C, P, U);
  return C;
}

}  // namespace Icon
