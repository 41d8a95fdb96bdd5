#include "tools/artmaker/block_anim_art.h"

#include <cmath>

#include "tools/artmaker/figure_art.h"
#include "tools/makerkit/tga_writer.h"

namespace Art {

using namespace Maker;
namespace {
constexpr float kPi = 3.14159265f;
}

std::vector<TCanvas> TunnelTile(const TPalette& P, int Direction, bool WithElf, int Frames) {
  std::vector<TCanvas> Out;
  const TRgb Stone = P("tunnel_stone");
  for (int F = 0; F < Frames; ++F) {
    TCanvas C(32, 32);
    // A dark bore between two stone lips; the bore runs off both sides so
    // tunnel parts in a row join up.
    C.Fill(Shapes::Rect(0, 7, 32, 25),
           [=](float, float Y) { return Shade(P("tunnel_dark"), 0.7f + 0.6f * std::sin((Y - 7) / 18 * kPi)); });
    // Chevrons slide along the direction of travel, one period per loop.
    const float Shift = Direction * 16.f * F / Frames;
    for (int K = -1; K <= 2; ++K) {
      const float CX = K * 16 + 8 + Shift;
      const float D = static_cast<float>(Direction);
      const TShape Chevron = Shapes::Polygon({{CX - 3 * D, 10.5f},
                                              {CX + 3 * D, 16},
                                              {CX - 3 * D, 21.5f},
                                              {CX - 6 * D, 21.5f},
                                              {CX, 16},
                                              {CX - 6 * D, 10.5f}});
      C.Fill(
          Shapes::Intersect(Chevron, Shapes::Rect(0, 0, 32, 32)),
          [=](float X, float) {
            return Mix(P("arrow"), P("arrow_hot"), std::clamp((X - CX + 3 * D) * D / 6 + 0.5f, 0.f, 1.f));
          },
          WithElf ? 0.45f : 1.f);
    }
    if (WithElf) {
      // The elf rides inside, walking the way the tunnel carries it.
      TPen Pen{0.62f, 6.1f, 6.8f};
      DrawFigure(C, Pen, ElfLook(P), Direction > 0 ? TFacing::Right : TFacing::Left, P);
    }
    for (const auto& [Y0, Y1] : std::vector<std::pair<float, float>>{{0, 7}, {25, 32}}) {
      C.Fill(Shapes::Rect(0, Y0, 32, Y1),
             Bevel(Grain(Stone, 2.5f, 0.2f, static_cast<int>(Y0) + 5), -4, Y0, 36, Y1, 2.5f));
    }
    // Arrow heads cut into both lips show the way even while the bore is busy.
    for (float Y : {3.5f, 28.5f}) {
      const float D = static_cast<float>(Direction);
      C.Fill(Shapes::Polygon({{16 - 3 * D, Y - 2.2f}, {16 + 3 * D, Y}, {16 - 3 * D, Y + 2.2f}}),
             Shade(P("tunnel_dark"), 0.9f));
      C.Fill(Shapes::Polygon({{16 - 3 * D, Y - 1.4f}, {16 + 1.6f * D, Y}, {16 - 3 * D, Y + 1.4f}}), P("arrow"), 0.8f);
    }
    Out.push_back(C);
  }
  return Out;
}

std::vector<TCanvas> ExplosionTile(const TPalette& P, int Frames) {
  std::vector<TCanvas> Out;
  const TRgb White = P("fire_white"), Yellow = P("fire_yellow"), Orange = P("fire_orange"), Red = P("fire_red"),
             Smoke = P("smoke");
  for (int F = 0; F < Frames; ++F) {
    const float T = static_cast<float>(F) / (Frames - 1);  // 0..1
    TCanvas C(32, 32);
    // The ball grows fast, then burns out into smoke that thins away.
    const float Grow = 1 - std::pow(1 - std::min(1.f, T * 2.2f), 2.f);
    const float R = 4 + 12.5f * Grow;
    const float Heat = std::clamp(1.2f - T * 1.4f, 0.f, 1.f);
    const float Fade = T < 0.55f ? 1 : std::clamp(1 - (T - 0.55f) / 0.45f, 0.25f, 1.f);
    const int Seed = 900 + F;
    const TShape Ball = [=](float X, float Y) {
      const float DX = X - 16, DY = Y - 16;
      const float D = std::sqrt(DX * DX + DY * DY);
      return D < R * (0.78f + 0.35f * Fbm(X / 4 + T * 3, Y / 4, 901));
    };
    C.Fill(
        Ball,
        [=](float X, float Y) {
          const float DX = X - 16, DY = Y - 16;
          const float D = std::sqrt(DX * DX + DY * DY) / R;
          const float N = Fbm(X / 3.5f, Y / 3.5f, Seed);
          const float K = std::clamp(Heat * (1.25f - D) + 0.35f * (N - 0.5f), 0.f, 1.f);
          TRgb Col = K > 0.75f
                         ? Mix(Yellow, White, (K - 0.75f) / 0.25f)
                         : (K > 0.45f ? Mix(Orange, Yellow, (K - 0.45f) / 0.3f)
                                      : (K > 0.2f ? Mix(Red, Orange, (K - 0.2f) / 0.25f) : Mix(Smoke, Red, K / 0.2f)));
          // Smoke is lit from the top left like everything else.
          return Shade(Col, 1.05f - 0.25f * (DX + DY) / (2 * R) + 0.2f * (N - 0.5f));
        },
        Fade);
    // Sparks fly out in the first frames.
    if (T > 0.05f && T < 0.7f)
      for (int K = 0; K < 9; ++K) {
        const float A = Hash(K, 0, 77) * 2 * kPi;
        const float Dist = R * (0.9f + 0.5f * Hash(K, 1, 77)) * (0.6f + T);
        const float SX = 16 + Dist * std::cos(A), SY = 16 + Dist * std::sin(A);
        C.Fill(Shapes::Capsule(SX, SY, SX - 2 * std::cos(A), SY - 2 * std::sin(A), 0.55f), Yellow, 1 - T);
      }
    Out.push_back(C);
  }
  return Out;
}

std::vector<TCanvas> ExitTile(const TPalette& P, int State, int Frames) {
  std::vector<TCanvas> Out;
  const TRgb Frame = P("frame_stone");
  for (int F = 0; F < Frames; ++F) {
    const float T = static_cast<float>(F) / Frames;
    TCanvas C(32, 32);
    // Stone frame with an arched opening.
    const TShape Opening = Shapes::Union(Shapes::Rect(7, 12, 25, 31), Shapes::Circle(16, 12, 9));
    C.Fill(Shapes::Subtract(Shapes::Rect(0, 0, 32, 32), Opening), Bevel(Grain(Frame, 3, 0.2f, 41), 0, 0, 32, 32, 2.5f));
    C.Fill(Shapes::Subtract(Shapes::Union(Shapes::Rect(5.5f, 12, 26.5f, 31), Shapes::Circle(16, 12, 10.5f)), Opening),
           Shade(Frame, 0.55f));
    // What fills the opening: a portal of light behind the door.
    const float Open = State == 0 ? 0 : (State == 1 ? static_cast<float>(F + 1) / Frames : 1);
    if (Open > 0) {
      const float Swirl = State == 2 ? T * 2 * kPi : T * kPi;
      C.Fill(Opening, [=](float X, float Y) {
        const float DX = X - 16, DY = Y - 19;
        const float D = std::sqrt(DX * DX + DY * DY);
        const float Rays = 0.5f + 0.5f * std::sin(std::atan2(DY, DX) * 6 + Swirl + D * 0.35f);
        const float K = std::clamp(1.15f - D / 14 + 0.25f * Rays, 0.f, 1.f);
        return Mix(P("portal_deep"), P("portal"), K);
      });
    } else {
      C.Fill(Opening, P("door_dark"));
    }
    // The door: planks and iron bands, sliding up into the frame as it opens.
    const float Lift = Open * 21;
    const TShape Door = Shapes::Intersect(Opening, Shapes::Rect(0, 0, 32, 31 - Lift));
    if (Lift < 20.5f) {
      C.Fill(Door, [=](float X, float Y) {
        const float Plank = std::fmod(X - 7, 4.5f);
        const TRgb Wood = Shade(P("door_wood"), 0.85f + 0.25f * Fbm(X / 2, (Y + Lift) / 7, 43));
        return Plank < 0.7f ? Shade(Wood, 0.55f) : Wood;
      });
      for (float BY : {16.f, 26.f}) {
        const float Y = BY - Lift;
        C.Fill(Shapes::Intersect(Door, Shapes::Rect(0, Y - 1, 32, Y + 1)),
               Bevel([=](float, float) { return P("hoop"); }, 7, Y - 1, 25, Y + 1, 0.8f));
      }
      if (State == 0) C.Fill(Shapes::Circle(21.5f, 22, 1.2f), Ball(P("boss_trim"), 21.5f, 22, 1.2f, 1.2f, 0.5f));
    }
    // The lamp above the arch: red and pulsing while shut, green once open.
    const bool Green = State == 2 || (State == 1 && F >= Frames - 2);
    const float Pulse = State == 0 ? 0.55f + 0.45f * std::cos(T * 2 * kPi) : 1;
    const TRgb Lamp = Green ? P("lamp_green") : P("lamp_red");
    C.Fill(Shapes::Circle(16, 2.6f, 4.2f), Lamp, 0.25f * Pulse);
    C.Fill(Shapes::Circle(16, 2.6f, 2.2f), Ball(Shade(Lamp, 0.5f + 0.5f * Pulse), 16, 2.6f, 2.2f, 2.2f, 0.6f));
    Out.push_back(C);
  }
  return Out;
}

void MakeAnimatedBlockImages(const TArtContext& A) {
  const TPalette& P = A.P;
  SaveFrames(A.Path("tunnelright.tga"), TunnelTile(P, 1, false, 4), true, kLooping);
  SaveFrames(A.Path("tunnelleft.tga"), TunnelTile(P, -1, false, 4), true, kLooping);
  SaveFrames(A.Path("tunnelright2.tga"), TunnelTile(P, 1, true, 4), true, kLooping);
  SaveFrames(A.Path("tunnelleft2.tga"), TunnelTile(P, -1, true, 4), true, kLooping);
  SaveFrames(A.Path("explosion.tga"), ExplosionTile(P, 8), true, 0);
  SaveFrames(A.Path("exit.tga"), ExitTile(P, 0, 8), true, kLooping);
  SaveFrames(A.Path("exitopening.tga"), ExitTile(P, 1, 8), true, 0);
  SaveFrames(A.Path("exitopen.tga"), ExitTile(P, 2, 8), true, kLooping);
}

}  // namespace Art
