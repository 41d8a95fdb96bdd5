#include "tools/artmaker/logo_art.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "tools/artmaker/block_art.h"
#include "tools/makerkit/font_raster.h"
#include "tools/makerkit/tga_writer.h"

namespace Art {

using namespace Maker;

namespace {

// Coverage 0..1 with a border of Margin pixels.
struct TMask {
  int W = 0, H = 0;
  std::vector<float> V;
  float At(int X, int Y) const { return (X < 0 || Y < 0 || X >= W || Y >= H) ? 0 : V[static_cast<size_t>(Y) * W + X]; }
};

TMask Dilate(const TMask& M, int R) {
  TMask Out = M;
  for (int Y = 0; Y < M.H; ++Y)
    for (int X = 0; X < M.W; ++X) {
      float Best = 0;
      for (int DY = -R; DY <= R; ++DY)
        for (int DX = -R; DX <= R; ++DX) {
          const float D = std::sqrt(static_cast<float>(DX * DX + DY * DY));
          if (D > R + 0.5f) continue;
          Best = std::max(Best, M.At(X + DX, Y + DY) * std::clamp(R + 1 - D, 0.f, 1.f));
        }
      Out.V[static_cast<size_t>(Y) * M.W + X] = Best;
    }
  return Out;
}

TMask Blur(const TMask& M, int R) {
  TMask Out = M;
  for (int Y = 0; Y < M.H; ++Y)
    for (int X = 0; X < M.W; ++X) {
      float Sum = 0;
      int N = 0;
      for (int DY = -R; DY <= R; ++DY)
        for (int DX = -R; DX <= R; ++DX, ++N) Sum += M.At(X + DX, Y + DY);
      Out.V[static_cast<size_t>(Y) * M.W + X] = Sum / N;
    }
  return Out;
}

}  // namespace

TCanvas Title(const std::string& FontPath, const std::string& Text, const TTitleStyle& Style, int MaxWidth,
              int MaxHeight) {
  TFontFace Face(FontPath);
  const int Margin = Style.RimWidth + 1;
  TTextMask Text1;
  for (int Size = MaxHeight * 2; Size >= 6; --Size) {
    Face.SetPixelSize(Size);
    Text1 = Face.RenderLine(Text, Style.Tracking, Margin);
    if (Text1.Width <= MaxWidth && Text1.Height <= MaxHeight) break;
  }
  if (Text1.Width > MaxWidth || Text1.Height > MaxHeight) throw std::runtime_error("title does not fit: " + Text);
  TMask Ink{Text1.Width, Text1.Height, {}};
  for (uint8_t C : Text1.Coverage) Ink.V.push_back(C / 255.f);
  const TMask Rim = Dilate(Ink, Style.RimWidth);
  const TMask Soft = Blur(Ink, std::max(1, Text1.Height / 40));
  // Vertical extent of the ink, for the fill gradient.
  int Top = Ink.H, Bottom = 0;
  for (int Y = 0; Y < Ink.H; ++Y)
    for (int X = 0; X < Ink.W; ++X)
      if (Ink.At(X, Y) > 0.5f) {
        Top = std::min(Top, Y);
        Bottom = std::max(Bottom, Y);
      }
  // Measure the letters' cap line from a capital without overshoot.
  const float Span = std::max(1, Bottom - Top);
  TCanvas C(Ink.W, Ink.H);
  for (int Y = 0; Y < Ink.H; ++Y)
    for (int X = 0; X < Ink.W; ++X) {
      const float R = Rim.At(X, Y), I = Ink.At(X, Y);
      if (R <= 0) continue;
      const float T = std::clamp((Y - Top) / Span, 0.f, 1.f);
      TRgb Fill;
      if (Style.Chrome)
        Fill = T < 0.5f ? Mix(Style.Top, Style.Middle, T * 2)
                        : Mix(Shade(Style.Bottom, 0.6f), Style.Bottom, (T - 0.5f) * 2);
      else Fill = T < 0.5f ? Mix(Style.Top, Style.Middle, T * 2) : Mix(Style.Middle, Style.Bottom, (T - 0.5f) * 2);
      Fill = Shade(Fill, 0.92f + 0.16f * Fbm(X / 5.f, Y / 5.f, 7));
      // The blurred coverage's slope gives the letters a rounded, lit edge.
      const float GX = (Soft.At(X + 1, Y) - Soft.At(X - 1, Y)) * Style.Emboss * 2.5f;
      const float GY = (Soft.At(X, Y + 1) - Soft.At(X, Y - 1)) * Style.Emboss * 2.5f;
      const float NL = std::sqrt(GX * GX + GY * GY + 1);
      const TRgb Lit = Light(Fill, {-GX / NL, -GY / NL, 1 / NL}, 0.55f, 0.25f, 12);
      C.Set(X, Y, Mix(Style.Rim, Lit, I), R);
    }
  return C;
}

void MakeLogoImages(const TArtContext& A) {
  const TPalette& P = A.P;
  TTitleStyle Sand{P("portal"), P("fire_yellow"), P("brick"), P("outline"), 3, 1.2f, 3, false};
  // The title, with gems hung on both sides of it.
  TCanvas Text = Title(A.FontPath, "STARQUARRY", Sand, 520, 92);
  TCanvas Logo(Text.Width() + 80, 96);
  Logo.Draw(Text, 40, (96 - Text.Height()) / 2);
  DrawGem(Logo, P("gem_ice"), 4, 34, 30, 27);
  DrawGem(Logo, P("gem_green"), Logo.Width() - 34, 34, 30, 27);
  Glint(Logo, 12, 37, 7, P("glint"));
  Glint(Logo, Logo.Width() - 12, 41, 5, P("glint"));
  SaveFrames(A.Path("logo.tga"), {Logo}, false);

  TTitleStyle Small = Sand;
  Small.RimWidth = 1;
  Small.Emboss = 0.6f;
  Small.Tracking = 1;
  // The head strip puts it at x 240: full width keeps it centred.
  const TCanvas LiteText = Title(A.FontPath, "STARQUARRY", Small, 160, 36);
  TCanvas Lite(160, LiteText.Height());
  Lite.Draw(LiteText, (160 - LiteText.Width()) / 2, 0);
  SaveFrames(A.Path("logolite.tga"), {Lite}, false);

  TTitleStyle Chrome{P("rivet"), P("steel_light"), P("steel"), P("steel_dark"), 2, 0.9f, 6, true};
  TCanvas Mark = Title(A.FontPath, "VX ENGINE", Chrome, 440, 64);
  // Full width, so the mark sits centred where the splash puts it.
  TCanvas Vx(480, 76);
  Vx.Draw(Mark, (Vx.Width() - Mark.Width()) / 2, 0);
  // A ruled line under the lettering, bright at its centre.
  const float W = static_cast<float>(Vx.Width());
  Vx.Fill(Shapes::Rect(40, 68, W - 40, 70), [=](float X, float) {
    const float K = 1 - std::abs(X - W / 2) / (W / 2);
    return Mix(P("steel_dark"), P("arrow_hot"), K);
  });
  SaveFrames(A.Path("vxlogo.tga"), {Vx}, false);
}

}  // namespace Art
