#pragma once
// The elf and the people of the outro scene, drawn from one figure model so
// that they share proportions and light.
#include "tools/artmaker/art_kit.h"

namespace Art {

enum class TFacing { Down, Left, Up, Right };

struct TFigureLook {
  TRgb Hat, Tunic, Belt, Legs, Boots, Skin, Hair;
  enum THead { PointedHat, Helmet, Crown, Bun } Head = PointedHat;
  bool Dress = false;  // long skirt instead of legs
  bool Pack = false;   // a satchel on the back
  bool Spear = false;
  bool Beard = false;
  bool Armour = false;
  float Stride = 1;  // how far apart the feet are in profile
};

// Draws the figure in a 32-unit box scaled by Pen.
void DrawFigure(TCanvas& C, const TPen& Pen, const TFigureLook& Look, TFacing Facing, const TPalette& P);

TFigureLook ElfLook(const TPalette& P);
// The elf in a 32x32 frame facing each way, in the order up, right, down, left.
std::vector<TCanvas> ElfFrames(const TPalette& P);

void MakeFigureImages(const TArtContext& A);

}  // namespace Art
