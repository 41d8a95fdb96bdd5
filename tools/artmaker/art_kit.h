#pragma once
// Drawing helpers shared by the picture makers: bevels, pebbles, stars and a
// pen that places and mirrors figure parts while keeping the light top left.
#include <string>
#include <vector>

#include "tools/makerkit/canvas.h"
#include "tools/makerkit/palette.h"

namespace Art {

using Maker::TCanvas;
using Maker::TPalette;
using Maker::TRgb;
using Maker::TShader;
using Maker::TShape;

// Where the made files go and which colours they use.
struct TArtContext {
  const TPalette& P;
  std::string OutDir;
  std::string FontPath;  // DejaVu Sans Bold, for the title pictures
  std::string Path(const std::string& Name) const { return OutDir + "/" + Name; }
};

// A flat colour lit as a raised block: the edges within Width of the border
// tilt towards it, so the top and left catch the light.
TShader Bevel(TShader Inner, float X0, float Y0, float X1, float Y1, float Width);
// Texture: Base darkened and lightened by noise of the given scale.
TShader Grain(TRgb Base, float Scale, float Amount, int Seed);
// A small lit stone with its shadow down and right.
void Pebble(TCanvas& C, float CX, float CY, float RX, float RY, TRgb Color);
// A four-pointed glint of the given size.
void Glint(TCanvas& C, float CX, float CY, float Size, TRgb Color, float Opacity = 1);

// Places figure parts: local coordinates scaled, offset and optionally
// mirrored left-right; shading stays in screen space.
struct TPen {
  float Scale = 1, OX = 0, OY = 0;
  bool Mirror = false;
  float Width = 32;  // local width mirrored about
  float X(float LX) const { return OX + Scale * (Mirror ? Width - LX : LX); }
  float Y(float LY) const { return OY + Scale * LY; }
  float S(float L) const { return Scale * L; }
  TShape Circle(float CX, float CY, float R) const;
  TShape Ellipse(float CX, float CY, float RX, float RY) const;
  TShape Poly(std::vector<std::pair<float, float>> Points) const;
  TShape Capsule(float X0, float Y0, float X1, float Y1, float R) const;
  TShape Rect(float X0, float Y0, float X1, float Y1) const;
  TShader Ball(TRgb Base, float CX, float CY, float RX, float RY, float Gloss = 0.3f) const;
  // Lit like a vertical cylinder of half-width HalfW around local x = CX.
  TShader Cylinder(TRgb Base, float CX, float HalfW, float Gloss = 0.2f) const;
};

}  // namespace Art
