#pragma once
// A small painting surface for the asset makers: shapes are given as
// inside-tests and colours as shader functions over continuous coordinates,
// sampled 4x4 per pixel so that edges come out smooth at 32x32.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace Maker {

struct TRgb {
  float R = 0, G = 0, B = 0;
};
TRgb operator+(TRgb A, TRgb B);
TRgb operator*(TRgb A, float K);
TRgb Mix(TRgb A, TRgb B, float T);
// Scales the colour, keeping it inside 0..255.
TRgb Shade(TRgb A, float K);
TRgb Clamp(TRgb A);

using TShape = std::function<bool(float X, float Y)>;
using TShader = std::function<TRgb(float X, float Y)>;

class TCanvas {
 public:
  static constexpr int kSamples = 4;

  TCanvas(int Width, int Height);
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

  // Paints Shader over the parts of each pixel inside Shape.
  void Fill(const TShape& Shape, const TShader& Shader, float Opacity = 1);
  void Fill(const TShape& Shape, TRgb Color, float Opacity = 1);
  // Composes another canvas over this one with its top-left corner at (X, Y).
  void Draw(const TCanvas& Source, int X, int Y, float Opacity = 1);
  // Sets every empty pixel that touches a covered one (8 neighbours) to Color.
  void Outline(TRgb Color, float Threshold = 0.5f);
  // Multiplies every pixel's colour by a function of its centre.
  void Modulate(const std::function<float(float X, float Y)>& Factor);

  TRgb ColorAt(int X, int Y) const { return FColor[Index(X, Y)]; }
  float AlphaAt(int X, int Y) const { return FAlpha[Index(X, Y)]; }
  void Set(int X, int Y, TRgb Color, float Alpha);

  // Blue, green, red bytes, composed over black. A visibly covered pixel never
  // comes out as pure black, which the game treats as transparent.
  std::vector<uint8_t> ToBgr() const;

 private:
  size_t Index(int X, int Y) const { return static_cast<size_t>(Y) * FWidth + X; }
  int FWidth, FHeight;
  std::vector<TRgb> FColor;
  std::vector<float> FAlpha;
};

// Frames side by side, blue-green-red bytes.
std::vector<uint8_t> StripBgr(const std::vector<TCanvas>& Frames);
// Writes frames as one TGA; with Animated the ID carries the frame count and Flags.
void SaveFrames(const std::string& Path, const std::vector<TCanvas>& Frames, bool Animated, uint8_t Flags = 0);

// Shapes.
namespace Shapes {
TShape Circle(float CX, float CY, float R);
TShape Ellipse(float CX, float CY, float RX, float RY);
TShape Rect(float X0, float Y0, float X1, float Y1);
TShape RoundRect(float X0, float Y0, float X1, float Y1, float Radius);
// Polygon by its corners, even-odd rule.
TShape Polygon(std::vector<std::pair<float, float>> Points);
// A thick line with round ends.
TShape Capsule(float X0, float Y0, float X1, float Y1, float Radius);
TShape Union(TShape A, TShape B);
TShape Intersect(TShape A, TShape B);
TShape Subtract(TShape A, TShape B);
TShape Everywhere();
}  // namespace Shapes

// Light comes from the top left, slightly in front.
struct TVec3 {
  float X, Y, Z;
};
TVec3 LightDir();
// Lambert and a small highlight for a surface normal.
TRgb Light(TRgb Base, TVec3 Normal, float Ambient = 0.45f, float Specular = 0.35f, float Shininess = 18);
// A ball centred at (CX, CY) seen from the front, radii RX, RY.
TShader Ball(TRgb Base, float CX, float CY, float RX, float RY, float Specular = 0.35f);

// Deterministic noise.
float Hash(int X, int Y, int Seed);
float ValueNoise(float X, float Y, int Seed);
float Fbm(float X, float Y, int Seed, int Octaves = 3);

}  // namespace Maker
