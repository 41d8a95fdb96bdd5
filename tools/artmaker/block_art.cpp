#include "tools/artmaker/block_art.h"

#include <cmath>

#include "tools/makerkit/tga_writer.h"

namespace Art {

using namespace Maker;
namespace {
constexpr float kPi = 3.14159265f;
}

std::vector<TCanvas> GrassTile(const TPalette& P, int Variant) {
  TCanvas C(32, 32);
  const int Seed = 100 + Variant * 7;
  const TRgb Soil = P("soil"), Moss = P("moss"), Deep = P("soil_deep");
  // Soil with moss creeping over it: noise decides the mix.
  C.Fill(Shapes::Everywhere(), Bevel(
                                   [=](float X, float Y) {
                                     const float N = Fbm(X / 7, Y / 7, Seed);
                                     const float G = Fbm(X / 3, Y / 3, Seed + 5);
                                     TRgb Base = Mix(Soil, Moss, std::clamp((N - 0.42f) * 3.f, 0.f, 0.85f));
                                     Base = Mix(Base, Deep, std::clamp((0.35f - G) * 2.5f, 0.f, 0.6f));
                                     return Shade(Base, 0.9f + 0.25f * G);
                                   },
                                   0, 0, 32, 32, 3));
  // A few pebbles, then tufts of blades leaning with the light.
  for (int K = 0; K < 3; ++K) {
    const float X = 4 + 24 * Hash(K, 1, Seed), Y = 5 + 22 * Hash(K, 2, Seed);
    const float R = 1.1f + 1.1f * Hash(K, 3, Seed);
    Pebble(C, X, Y, R * 1.2f, R, Mix(P("pebble"), P("soil_light"), Hash(K, 4, Seed)));
  }
  for (int T = 0; T < 4; ++T) {
    const float BX = 4 + 24 * Hash(T, 7, Seed), BY = 9 + 20 * Hash(T, 8, Seed);
    for (int B = 0; B < 4; ++B) {
      const float Lean = (B - 1.5f) * 1.3f + (Hash(T, B, Seed + 3) - 0.5f);
      const float Len = 4 + 3 * Hash(B, T, Seed + 9);
      const float X0 = BX + (B - 1.5f) * 0.9f;
      C.Fill(Shapes::Capsule(X0, BY, X0 + Lean, BY - Len, 0.45f), [=](float, float Y) {
        return Mix(P("moss_dark"), P("moss_light"), std::clamp((BY - Y) / Len, 0.f, 1.f));
      });
    }
  }
  return {C};
}

std::vector<TCanvas> WallTile(const TPalette& P) {
  TCanvas C(32, 32);
  C.Fill(Shapes::Everywhere(), P("mortar"));
  for (int Row = 0; Row < 4; ++Row) {
    const float Y0 = Row * 8.f;
    const float Offset = (Row % 2) ? -8.f : 0.f;
    for (int Col = 0; Col < 3; ++Col) {
      const float X0 = Offset + Col * 16.f;
      const float BX0 = std::max(0.f, X0 + 0.5f), BX1 = std::min(32.f, X0 + 15.5f);
      if (BX1 <= BX0) continue;
      const float Tint = 0.85f + 0.3f * Hash(Row, Col, 31);
      const TRgb Base = Shade(P("brick"), Tint);
      // Bricks cut by the tile edge keep their bevel on the inside only, so
      // neighbouring wall tiles join into one wall.
      const float Bx0 = X0 + 0.5f, Bx1 = X0 + 15.5f;
      C.Fill(Shapes::RoundRect(BX0, Y0 + 0.5f, BX1, Y0 + 7.5f, 1.2f),
             Bevel(Grain(Base, 2.5f, 0.18f, Row * 5 + Col), Bx0, Y0 + 0.5f, Bx1, Y0 + 7.5f, 2.2f));
    }
  }
  return {C};
}

std::vector<TCanvas> SteelTile(const TPalette& P) {
  TCanvas C(32, 32);
  const TRgb Steel = P("steel");
  C.Fill(Shapes::Everywhere(), P("steel_dark"));
  C.Fill(Shapes::RoundRect(0.5f, 0.5f, 31.5f, 31.5f, 2),
         Bevel(
             [=](float X, float Y) {
               // Brushed metal with a diagonal sheen.
               const float Sheen = std::exp(-std::pow((X + Y - 22) / 9.f, 2.f)) * 0.35f;
               const float Brush = 0.06f * (ValueNoise(X * 0.4f, Y * 6, 77) - 0.5f);
               return Shade(Steel, 0.92f + Sheen + Brush - (X + Y) * 0.004f);
             },
             0.5f, 0.5f, 31.5f, 31.5f, 3.5f));
  // A pressed cross plate in the middle marks it as armour.
  C.Fill(Shapes::RoundRect(9, 9, 23, 23, 2),
         Bevel([=](float, float) { return Shade(Steel, 0.95f); }, 9, 9, 23, 23, 2.2f));
  for (const auto& [X, Y] : std::vector<std::pair<float, float>>{{5, 5}, {27, 5}, {5, 27}, {27, 27}}) {
    C.Fill(Shapes::Circle(X + 0.7f, Y + 0.8f, 2.3f), P("steel_dark"), 0.8f);
    C.Fill(Shapes::Circle(X, Y, 2.2f), Ball(P("rivet"), X, Y, 2.2f, 2.2f, 0.6f));
  }
  return {C};
}

std::vector<TCanvas> PlasmaTile(const TPalette& P, int Frames) {
  std::vector<TCanvas> Out;
  const TRgb Deep = P("plasma_deep"), Mid = P("plasma_mid"), Hot = P("plasma_hot"), White = P("plasma_white");
  for (int F = 0; F < Frames; ++F) {
    const float T = 2 * kPi * F / Frames;
    TCanvas C(32, 32);
    C.Fill(Shapes::Everywhere(), [=](float X, float Y) {
      const float DX = X - 16, DY = Y - 16;
      float V = std::sin(X * 0.39f + T) + std::sin(Y * 0.33f - T) + std::sin((X + Y) * 0.22f + 2 * T) +
                std::sin(std::sqrt(DX * DX + DY * DY) * 0.55f - T);
      V = (V + 4) / 8;  // 0..1
      TRgb Col = V < 0.5f ? Mix(Deep, Mid, V * 2)
                          : (V < 0.8f ? Mix(Mid, Hot, (V - 0.5f) / 0.3f) : Mix(Hot, White, (V - 0.8f) / 0.2f));
      // Dimmer towards the rim so each cell reads as a contained block.
      const float Edge = std::min(std::min(X, 32 - X), std::min(Y, 32 - Y));
      return Shade(Col, 0.55f + 0.45f * std::clamp(Edge / 5, 0.f, 1.f));
    });
    Out.push_back(C);
  }
  return Out;
}

std::vector<TCanvas> BoulderTile(const TPalette& P, int Variant) {
  TCanvas C(32, 32);
  const int Seed = 300 + Variant * 11;
  const TRgb Base = Variant == 0 ? P("rock_red") : (Variant == 2 ? P("rock_grey") : P("rock"));
  const float CX = 16, CY = 16.8f, R = 14.2f;
  const float Phase = Hash(Variant, 0, Seed) * 6.28f;
  auto Radius = [=](float A) {
    return R * (1 + 0.03f * std::sin(3 * A + Phase) + 0.02f * std::sin(5 * A + 2 * Phase) + 0.012f * std::sin(7 * A));
  };
  const TShape Rock = [=](float X, float Y) {
    const float DX = X - CX, DY = Y - CY;
    return DX * DX + DY * DY <= Radius(std::atan2(DY, DX)) * Radius(std::atan2(DY, DX));
  };
  C.Fill(Rock, [=](float X, float Y) {
    const float DX = (X - CX) / R, DY = (Y - CY) / R;
    const float D2 = std::min(0.98f, DX * DX + DY * DY);
    // Bumpy surface: noise tilts the normal a little.
    const float NX = DX + 0.25f * (Fbm(X / 4, Y / 4, Seed) - 0.5f);
    const float NY = DY + 0.25f * (Fbm(X / 4, Y / 4, Seed + 1) - 0.5f);
    const TRgb Tex = Shade(Base, 0.85f + 0.3f * Fbm(X / 2.5f, Y / 2.5f, Seed + 2));
    // Darker towards the rim so the stone reads as a ball, not a disc.
    const float Rim = 0.7f + 0.3f * std::sqrt(1 - D2);
    return Shade(Light(Tex, {NX, NY, std::sqrt(1 - D2)}, 0.25f, 0.15f, 10), Rim);
  });
  // A few pits: shadowed on the lit side, with a bright lower lip.
  for (int K = 0; K < 3; ++K) {
    const float A = Hash(K, 5, Seed) * 6.28f, D = 3 + 6 * Hash(K, 6, Seed);
    const float PX = CX + D * std::cos(A), PY = CY + D * std::sin(A), PR = 0.8f + 0.4f * Hash(K, 7, Seed);
    C.Fill(Shapes::Intersect(Rock, Shapes::Circle(PX + 0.4f, PY + 0.4f, PR)), P("rock_light"), 0.5f);
    C.Fill(Shapes::Intersect(Rock, Shapes::Circle(PX, PY, PR)), P("rock_dark"), 0.55f);
  }
  // Cracks and a chip, in shadow, with a lit lip beside them.
  const float A0 = Hash(1, 1, Seed) * 6.28f;
  const float X1 = CX + 4 * std::cos(A0), Y1 = CY + 4 * std::sin(A0);
  const float X2 = CX + 11 * std::cos(A0 + 0.3f), Y2 = CY + 11 * std::sin(A0 + 0.3f);
  C.Fill(Shapes::Intersect(Rock, Shapes::Capsule(X1 - 0.6f, Y1 - 0.6f, X2 - 0.6f, Y2 - 0.6f, 0.5f)), P("rock_light"),
         0.6f);
  C.Fill(Shapes::Intersect(Rock, Shapes::Capsule(X1, Y1, X2, Y2, 0.55f)), P("rock_dark"));
  C.Fill(Shapes::Intersect(Rock, Shapes::Capsule(X1, Y1, X1 + 3 * std::cos(A0 + 2), Y1 + 3 * std::sin(A0 + 2), 0.45f)),
         P("rock_dark"));
  return {C};
}

void DrawGem(TCanvas& C, TRgb Tint, float X0, float Y0, float W, float H) {
  auto PX = [=](float U) { return X0 + U * W; };
  auto PY = [=](float V) { return Y0 + V * H; };
  // Girdle at 30% of the height, table on top, pavilion down to the tip.
  const float G = 0.3f;
  struct TFacet {
    std::vector<std::pair<float, float>> Pts;
    float Light;
  };
  const std::vector<TFacet> Facets = {
      {{{0, G}, {0.25f, 0}, {0.2f, G}}, 0.95f},    {{{0.25f, 0}, {0.5f, G}, {0.2f, G}}, 1.1f},
      {{{0.25f, 0}, {0.75f, 0}, {0.5f, G}}, 1.2f}, {{{0.75f, 0}, {0.8f, G}, {0.5f, G}}, 0.8f},
      {{{0.75f, 0}, {1, G}, {0.8f, G}}, 0.62f},    {{{0, G}, {0.2f, G}, {0.5f, 1}}, 0.85f},
      {{{0.2f, G}, {0.5f, G}, {0.5f, 1}}, 0.66f},  {{{0.5f, G}, {0.8f, G}, {0.5f, 1}}, 0.5f},
      {{{0.8f, G}, {1, G}, {0.5f, 1}}, 0.36f},
  };
  for (const TFacet& F : Facets) {
    std::vector<std::pair<float, float>> Pts;
    for (auto [U, V] : F.Pts) Pts.push_back({PX(U), PY(V)});
    const float L = F.Light;
    C.Fill(Shapes::Polygon(Pts), [=](float X, float Y) {
      // A gentle gradient inside each facet keeps it from looking flat.
      const float Gr = 1 + 0.15f * ((PX(0.5f) - X) / W + (PY(0.4f) - Y) / H);
      // Dark facets sink towards deep blue rather than grey, as cut stones do.
      const float K = std::clamp(L * Gr, 0.f, 1.3f);
      return Clamp(Tint * (0.85f * K) + TRgb{10, 25, 70} * std::max(0.f, 1 - K));
    });
  }
  // Bright facet edges along the girdle and table.
  C.Fill(Shapes::Capsule(PX(0.02f), PY(G), PX(0.98f), PY(G), std::max(0.3f, W * 0.012f)), Shade(Tint, 1.3f), 0.8f);
  C.Fill(Shapes::Capsule(PX(0.25f), PY(0.01f), PX(0.75f), PY(0.01f), std::max(0.3f, W * 0.012f)), TRgb{255, 255, 255},
         0.7f);
}

std::vector<TCanvas> DiamondTile(const TPalette& P, int Variant, int Frames) {
  static const char* Tints[] = {"gem_white", "gem_ice", "gem_green", "gem_violet", "gem_gold"};
  const TRgb Tint = P(Tints[Variant % 5]);
  std::vector<TCanvas> Out;
  // The glint wanders between facets; its size rises and falls once per loop.
  const float GX[] = {9, 23, 13, 21, 7};
  const float GY[] = {6, 8, 5, 6, 10};
  for (int F = 0; F < Frames; ++F) {
    TCanvas C(32, 32);
    DrawGem(C, Tint, 3, 5, 26, 23);
    const float Phase = static_cast<float>(F) / Frames;
    const float Size = std::max(0.f, std::sin(Phase * 2 * kPi)) * 7.5f;
    Glint(C, GX[Variant % 5], GY[Variant % 5], Size, P("glint"));
    const float Small = std::max(0.f, std::sin((Phase + 0.5f) * 2 * kPi)) * 3.2f;
    Glint(C, 16 + (Variant % 2 ? -6.f : 6.f), 18, Small, P("glint"), 0.85f);
    Out.push_back(C);
  }
  return Out;
}

std::vector<TCanvas> BarrelTile(const TPalette& P, int Variant) {
  TCanvas C(32, 32);
  const float CX = 16, Top = 3, Bottom = 30;
  auto HalfW = [=](float Y) { return 9.5f + 2.0f * std::sin(kPi * std::clamp((Y - Top) / (Bottom - Top), 0.f, 1.f)); };
  const TShape Body = [=](float X, float Y) { return Y >= Top && Y < Bottom && std::abs(X - CX) <= HalfW(Y); };
  const TRgb Paint = Variant == 1 ? P("barrel_wood") : P("barrel_red");
  auto Cyl = [=](TRgb Base, float Gloss) -> TShader {
    return [=](float X, float Y) {
      const float NX = std::clamp((X - CX) / HalfW(Y), -0.97f, 0.97f);
      return Light(Base, {NX, -0.1f, std::sqrt(1 - NX * NX)}, 0.4f, Gloss, 14);
    };
  };
  // Staves.
  C.Fill(Body, [=](float X, float Y) {
    const float U = (X - CX) / HalfW(Y);
    const float Stave = std::abs(std::sin(U * 5.5f));
    return Shade(Cyl(Paint, 0.15f)(X, Y), 0.82f + 0.18f * std::pow(Stave, 0.3f));
  });
  // Hazard band: yellow and black stripes around the middle.
  const TShape Band = Shapes::Intersect(Body, Shapes::Rect(0, 12.5f, 32, 20.5f));
  C.Fill(Band, [=](float X, float Y) {
    const bool Yellow = std::fmod(X + Y + 64, 6.f) < 3;
    return Cyl(Yellow ? P("hazard") : P("hazard_dark"), 0.2f)(X, Y);
  });
  if (Variant == 1) {
    // The wooden keg carries a warning triangle over the stripes.
    const TShape Tri = Shapes::Polygon({{16, 10.5f}, {23, 22.5f}, {9, 22.5f}});
    C.Fill(Shapes::Polygon({{16, 9}, {24.5f, 23.5f}, {7.5f, 23.5f}}), P("hazard_dark"));
    C.Fill(Tri, Cyl(P("hazard"), 0.2f));
    C.Fill(Shapes::RoundRect(15.2f, 13.5f, 16.8f, 19, 0.6f), P("hazard_dark"));
    C.Fill(Shapes::Circle(16, 20.6f, 0.9f), P("hazard_dark"));
  }
  // Iron hoops and the lid.
  for (float Y : {6.f, 26.f})
    C.Fill(Shapes::Intersect(Body, Shapes::Rect(0, Y - 1.2f, 32, Y + 1.2f)), Cyl(P("hoop"), 0.5f));
  C.Fill(Shapes::Ellipse(CX, Top + 0.6f, 9.3f, 1.8f), Shade(Paint, 0.45f));
  C.Fill(Shapes::Ellipse(CX, Top + 0.9f, 7.8f, 1.1f), Shade(Paint, 0.3f));
  return {C};
}

std::vector<TCanvas> BalloonTile(const TPalette& P, int Variant) {
  static const char* Colors[] = {"balloon_pink", "balloon_blue", "balloon_yellow"};
  const TRgb Base = P(Colors[Variant % 3]);
  TCanvas C(32, 32);
  // String first, so the knot covers its top.
  for (int I = 0; I < 8; ++I) {
    const float Y0 = 24 + I, Y1 = 25 + I;
    const float X0 = 16 + 1.2f * std::sin(Y0 * 0.9f), X1 = 16 + 1.2f * std::sin(Y1 * 0.9f);
    C.Fill(Shapes::Capsule(X0, Y0, X1, Y1, 0.5f), P("string"));
  }
  const float CX = 16, CY = 12.5f, RX = 10.5f, RY = 11.5f;
  C.Fill(Shapes::Ellipse(CX, CY, RX, RY), Ball(Base, CX, CY, RX, RY, 0.1f));
  // A sharp window-like reflection sells the shiny rubber.
  C.Fill(Shapes::Ellipse(11.8f, 7.5f, 2.6f, 3.6f), TRgb{255, 255, 255}, 0.55f);
  C.Fill(Shapes::Ellipse(11.3f, 6.8f, 1.2f, 1.8f), TRgb{255, 255, 255}, 0.85f);
  C.Fill(Shapes::Polygon({{16, 23.2f}, {18.2f, 25.6f}, {13.8f, 25.6f}}), Shade(Base, 0.7f));
  return {C};
}

void MakeBlockImages(const TArtContext& A) {
  const TPalette& P = A.P;
  SaveFrames(A.Path("grass.tga"), GrassTile(P, 0), false);
  for (int V = 1; V <= 3; ++V) SaveFrames(A.Path("grass" + std::to_string(V) + ".tga"), GrassTile(P, V), false);
  SaveFrames(A.Path("wall.tga"), WallTile(P), false);
  SaveFrames(A.Path("steel.tga"), SteelTile(P), false);
  SaveFrames(A.Path("plasma.tga"), PlasmaTile(P, 8), true, kLooping);
  SaveFrames(A.Path("boulder.tga"), BoulderTile(P, 0), false);
  for (int V = 1; V <= 2; ++V) SaveFrames(A.Path("boulder" + std::to_string(V) + ".tga"), BoulderTile(P, V), false);
  SaveFrames(A.Path("diamond.tga"), DiamondTile(P, 0, 8), true, kLooping | kRandomStart);
  for (int V = 1; V <= 4; ++V)
    SaveFrames(A.Path("diamond" + std::to_string(V) + ".tga"), DiamondTile(P, V, 8), true, kLooping | kRandomStart);
  SaveFrames(A.Path("keg.tga"), BarrelTile(P, 1), false);
  SaveFrames(A.Path("barrel.tga"), BarrelTile(P, 0), false);
  SaveFrames(A.Path("balloon.tga"), BalloonTile(P, 0), false);
  for (int V = 1; V <= 2; ++V) SaveFrames(A.Path("balloon" + std::to_string(V) + ".tga"), BalloonTile(P, V), false);
}

}  // namespace Art
