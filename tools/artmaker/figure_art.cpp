#include "tools/artmaker/figure_art.h"

#include <cmath>

#include "tools/makerkit/tga_writer.h"

namespace Art {

using namespace Maker;

namespace {

// Profile views are drawn facing right and mirrored for the left.
void DrawLegs(TCanvas& C, const TPen& Pen, const TFigureLook& L, bool Profile) {
  if (L.Dress) return;
  if (Profile) {
    const float S = 2.6f * L.Stride;
    C.Fill(Pen.Capsule(16 - S * 0.6f, 24, 16 - S, 28.5f, 1.6f), Shade(L.Legs, 0.75f));
    C.Fill(Pen.Ellipse(16 - S - 0.3f, 29.6f, 3.2f, 1.9f),
           Pen.Ball(Shade(L.Boots, 0.8f), 16 - S, 29.2f, 3.2f, 2.2f, 0.15f));
    C.Fill(Pen.Capsule(16 + S * 0.6f, 24, 16 + S, 28.5f, 1.6f), L.Legs);
    C.Fill(Pen.Ellipse(16 + S + 0.9f, 29.6f, 3.4f, 1.9f), Pen.Ball(L.Boots, 16 + S + 0.9f, 29.2f, 3.4f, 2.2f, 0.2f));
    return;
  }
  for (float X : {12.5f, 19.5f}) {
    C.Fill(Pen.Rect(X - 1.6f, 23, X + 1.6f, 29), Pen.Cylinder(L.Legs, X, 1.6f));
    C.Fill(Pen.Ellipse(X, 29.5f, 3.1f, 2), Pen.Ball(L.Boots, X, 29.1f, 3.1f, 2.3f, 0.2f));
  }
}

void DrawBody(TCanvas& C, const TPen& Pen, const TFigureLook& L, TFacing F, const TPalette& P) {
  const bool Profile = F == TFacing::Left || F == TFacing::Right;
  const float Half = Profile ? 5.5f : 7;
  const float Hem = L.Dress ? 30.5f : 25.5f;
  const float HemHalf = L.Dress ? Half + 4 : Half + 1.5f;
  const auto Body = Pen.Poly({{16 - Half + 1, 16}, {16 + Half - 1, 16}, {16 + HemHalf, Hem}, {16 - HemHalf, Hem}});
  C.Fill(Body, Pen.Cylinder(L.Tunic, 16, HemHalf));
  if (L.Armour) {
    C.Fill(Pen.Poly(
               {{16 - Half + 1.5f, 16.5f}, {16 + Half - 1.5f, 16.5f}, {16 + Half - 0.5f, 22}, {16 - Half + 0.5f, 22}}),
           Pen.Cylinder(P("guard_armour"), 16, Half, 0.5f));
  }
  // Belt with a buckle in front.
  C.Fill(Shapes::Intersect(Body, Pen.Rect(0, 21, 32, 22.8f)), Pen.Cylinder(L.Belt, 16, HemHalf));
  if (F == TFacing::Down) C.Fill(Pen.Rect(15, 20.8f, 17, 23), TRgb{230, 190, 70});
  if (F == TFacing::Right || F == TFacing::Left) C.Fill(Pen.Rect(19.5f, 20.8f, 21, 23), TRgb{230, 190, 70});
  if (L.Dress) {
    // A lighter apron down the front or a hem line at the back.
    if (F != TFacing::Up)
      C.Fill(Pen.Poly({{16 - 2.5f + (Profile ? 3 : 0), 23},
                       {16 + 2.5f + (Profile ? 3 : 0), 23},
                       {16 + 3.5f + (Profile ? 3.5f : 0), 30},
                       {16 - 3.5f + (Profile ? 3.5f : 0), 30}}),
             Shade(L.Tunic, 1.35f));
  }
}

void DrawArms(TCanvas& C, const TPen& Pen, const TFigureLook& L, TFacing F) {
  const TRgb Sleeve = Shade(L.Tunic, 0.85f);
  if (F == TFacing::Left || F == TFacing::Right) {
    // One arm swings forward, or reaches out to hold a spear upright.
    const float HX = L.Spear ? 23.2f : 20, HY = L.Spear ? 21.5f : 23;
    C.Fill(Pen.Capsule(16, 17.5f, HX - 0.5f, HY - 0.3f, 1.6f), Sleeve);
    C.Fill(Pen.Circle(HX, HY, 1.5f), Pen.Ball(L.Skin, HX, HY, 1.5f, 1.5f));
    return;
  }
  for (int Side : {-1, 1}) {
    C.Fill(Pen.Capsule(16 + Side * 6.8f, 17, 16 + Side * 8.6f, 22.5f, 1.6f), Sleeve);
    C.Fill(Pen.Circle(16 + Side * 8.8f, 23.2f, 1.5f), Pen.Ball(L.Skin, 16 + Side * 8.8f, 23.2f, 1.5f, 1.5f));
  }
}

void DrawSpear(TCanvas& C, const TPen& Pen, TFacing F, const TPalette& P) {
  const float X = (F == TFacing::Down || F == TFacing::Up) ? 25 : 24.2f;
  C.Fill(Pen.Rect(X - 0.6f, 4, X + 0.6f, 31), P("spear_shaft"));
  C.Fill(Pen.Poly({{X, -0.5f}, {X + 1.8f, 4.5f}, {X - 1.8f, 4.5f}}), Pen.Ball(P("spear_tip"), X, 2, 1.8f, 2.5f, 0.5f));
}

void DrawHead(TCanvas& C, const TPen& Pen, const TFigureLook& L, TFacing F, const TPalette& P) {
  const bool Profile = F == TFacing::Left || F == TFacing::Right;
  const float HX = Profile ? 16.5f : 16, HY = 11.5f, R = 6;
  // Pointed ears: both from the front and back, one behind the face in profile.
  const TRgb Ear = Shade(L.Skin, 0.95f);
  if (Profile) {
    C.Fill(Pen.Poly({{13, 10.5f}, {8.2f, 7.6f}, {12.6f, 13.4f}}), Ear);
  } else {
    C.Fill(Pen.Poly({{10.8f, 10.5f}, {6.2f, 8}, {10.6f, 13.6f}}), Ear);
    C.Fill(Pen.Poly({{21.2f, 10.5f}, {25.8f, 8}, {21.4f, 13.6f}}), Shade(Ear, 0.85f));
  }
  C.Fill(Pen.Circle(HX, HY, R), Pen.Ball(L.Skin, HX, HY, R, R, 0.15f));
  if (F == TFacing::Up) {
    // The back of the head is hair.
    C.Fill(Shapes::Intersect(Pen.Circle(HX, HY, R), Pen.Rect(0, 8, 32, 20)), Pen.Ball(L.Hair, HX, HY, R, R, 0.1f));
  } else if (Profile) {
    C.Fill(Shapes::Intersect(Pen.Circle(HX, HY, R), Pen.Poly({{0, 6}, {15, 6}, {14.5f, 18}, {0, 18}})),
           Pen.Ball(L.Hair, HX, HY, R, R, 0.1f));
    C.Fill(Pen.Ellipse(19.4f, 11.8f, 0.9f, 1.3f), P("eye"));
    C.Fill(Pen.Circle(22.4f, 13.2f, 1.2f), Pen.Ball(L.Skin, 22.4f, 13.2f, 1.2f, 1.2f));
    C.Fill(Pen.Capsule(19.5f, 15.3f, 21, 15.1f, 0.35f), Shade(L.Skin, 0.6f));
  } else {
    for (float X : {13.7f, 18.3f}) {
      C.Fill(Pen.Ellipse(X, 12, 0.9f, 1.3f), P("eye"));
      C.Fill(Pen.Circle(X - 0.3f, 11.5f, 0.35f), TRgb{255, 255, 255});
    }
    C.Fill(Pen.Circle(15.4f, 14, 0.9f), Shade(L.Skin, 0.85f));
    C.Fill(Pen.Capsule(14.5f, 15.8f, 17.5f, 15.8f, 0.35f), Shade(L.Skin, 0.55f));
    if (L.Beard)
      C.Fill(Pen.Poly({{11.5f, 14.5f}, {20.5f, 14.5f}, {16, 21.5f}}),
             Pen.Ball(TRgb{235, 235, 230}, 16, 16, 5, 5, 0.1f));
  }
  if (L.Beard && Profile)
    C.Fill(Pen.Poly({{17.5f, 14.2f}, {21.8f, 15}, {19, 20.5f}, {16.8f, 17}}),
           Pen.Ball(TRgb{235, 235, 230}, 19, 16, 4, 5, 0.1f));

  switch (L.Head) {
    case TFigureLook::PointedHat: {
      // The tip flops backwards in profile and leans to the side otherwise.
      const float TipX = Profile ? 6.5f : 20.5f, TipY = Profile ? 3.5f : 0.8f;
      C.Fill(Pen.Poly({{HX - 6.6f, 8.8f}, {HX + 6.6f, 8.8f}, {HX + 3, 3.5f}, {TipX, TipY}, {HX - 3.5f, 4}}),
             Pen.Ball(L.Hat, HX - 1, 5.5f, 8, 6, 0.15f));
      C.Fill(Pen.Capsule(HX - 6.4f, 8.9f, HX + 6.4f, 8.9f, 1.1f), Pen.Cylinder(Shade(L.Hat, 0.7f), HX, 7));
      C.Fill(Pen.Circle(TipX, TipY, 1.3f), Pen.Ball(TRgb{240, 220, 120}, TipX, TipY, 1.3f, 1.3f, 0.3f));
      break;
    }
    case TFigureLook::Helmet:
      C.Fill(Shapes::Intersect(Pen.Circle(HX, HY - 0.5f, R + 1), Pen.Rect(0, 0, 32, 10.5f)),
             Pen.Ball(P("guard_armour"), HX, HY - 0.5f, R + 1, R + 1, 0.5f));
      C.Fill(Pen.Rect(HX - 7, 9.5f, HX + 7, 11), Pen.Cylinder(Shade(P("guard_armour"), 0.8f), HX, 7, 0.4f));
      C.Fill(Pen.Poly({{HX - 1, 1.5f}, {HX + 1, 1.5f}, {HX + 0.5f, 5}, {HX - 0.5f, 5}}), P("guard_tunic"));
      if (F == TFacing::Down) C.Fill(Pen.Rect(HX - 0.6f, 10.5f, HX + 0.6f, 14), Shade(P("guard_armour"), 0.9f));
      break;
    case TFigureLook::Crown: {
      C.Fill(Shapes::Intersect(Pen.Circle(HX, HY, R + 0.3f), Pen.Rect(0, 0, 32, 8.5f)),
             Pen.Ball(L.Hair, HX, HY, R, R, 0.1f));
      const std::vector<std::pair<float, float>> Crown = {{HX - 6, 8.5f}, {HX - 6.5f, 2}, {HX - 3.5f, 5}, {HX, 0.5f},
                                                          {HX + 3.5f, 5}, {HX + 6.5f, 2}, {HX + 6, 8.5f}};
      C.Fill(Pen.Poly(Crown), Pen.Cylinder(P("crown"), HX, 6.5f, 0.6f));
      C.Fill(Pen.Circle(HX, 6.2f, 1.1f), Pen.Ball(TRgb{220, 40, 60}, HX, 6.2f, 1.1f, 1.1f, 0.6f));
      break;
    }
    case TFigureLook::Bun:
      C.Fill(Shapes::Intersect(Pen.Circle(HX, HY, R + 0.4f), Pen.Rect(0, 0, 32, Profile ? 9.5f : 9)),
             Pen.Ball(L.Hair, HX, HY, R, R, 0.15f));
      C.Fill(Pen.Circle(Profile ? 11.5f : HX, Profile ? 7 : 4.8f, 2.8f),
             Pen.Ball(L.Hair, Profile ? 11.5f : HX, Profile ? 7 : 4.8f, 2.8f, 2.8f, 0.2f));
      if (F != TFacing::Up)
        for (int Side : {-1, 1})
          if (!Profile || Side < 0)
            C.Fill(Pen.Capsule(HX + Side * 5.6f, 9, HX + Side * 6.2f, 17, 1.3f), Pen.Ball(L.Hair, HX, 12, 7, 7, 0.1f));
      break;
  }
}

}  // namespace

void DrawFigure(TCanvas& C, const TPen& Pen0, const TFigureLook& L, TFacing F, const TPalette& P) {
  TPen Pen = Pen0;
  Pen.Mirror = Pen0.Mirror != (F == TFacing::Left);
  const bool Profile = F == TFacing::Left || F == TFacing::Right;
  if (L.Pack && F != TFacing::Down) {
    // The satchel shows behind the body from the back and the side.
    if (Profile)
      C.Fill(Pen.Ellipse(10.5f, 19.5f, 3.2f, 4.2f), Pen.Ball(P("elf_belt"), 10.5f, 19.5f, 3.2f, 4.2f, 0.15f));
  }
  DrawLegs(C, Pen, L, Profile);
  DrawBody(C, Pen, L, F, P);
  if (L.Pack && F == TFacing::Up) {
    C.Fill(Pen.Poly({{11.5f, 15}, {20.5f, 15}, {21, 23}, {11, 23}}), Pen.Ball(P("elf_belt"), 16, 18, 6, 6, 0.15f));
    C.Fill(Pen.Rect(11.5f, 17.5f, 20.5f, 18.7f), Shade(P("elf_belt"), 0.6f));
  }
  DrawHead(C, Pen, L, F, P);
  DrawArms(C, Pen, L, F);
  // The spear goes over the hand that holds it.
  if (L.Spear) DrawSpear(C, Pen, F, P);
  if (L.Pack && F == TFacing::Down) C.Fill(Pen.Capsule(11, 16.5f, 19.5f, 21, 0.55f), Shade(P("elf_belt"), 0.8f));
}

TFigureLook ElfLook(const TPalette& P) {
  TFigureLook L;
  L.Hat = P("elf_hat");
  L.Tunic = P("elf_tunic");
  L.Belt = P("elf_belt");
  L.Legs = Shade(P("boots"), 1.2f);
  L.Boots = P("boots");
  L.Skin = P("skin");
  L.Hair = P("hair_brown");
  L.Pack = true;
  return L;
}

std::vector<TCanvas> ElfFrames(const TPalette& P) {
  std::vector<TCanvas> Out;
  for (TFacing F : {TFacing::Up, TFacing::Right, TFacing::Down, TFacing::Left}) {
    TCanvas C(32, 32);
    DrawFigure(C, TPen{}, ElfLook(P), F, P);
    C.Outline(P("outline"));
    Out.push_back(C);
  }
  return Out;
}

void MakeFigureImages(const TArtContext& A) { SaveFrames(A.Path("elf.tga"), ElfFrames(A.P), true, 0); }

}  // namespace Art
