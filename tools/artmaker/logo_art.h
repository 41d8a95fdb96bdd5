#pragma once
// The title pictures: the game's title for the splash and the head strip,
// and the engine's mark, lettered with DejaVu Sans Bold.
#include <string>

#include "tools/artmaker/art_kit.h"

namespace Art {

struct TTitleStyle {
  TRgb Top, Middle, Bottom;  // the letter fill from top to bottom
  TRgb Rim;                  // outline around the letters
  int RimWidth = 2;
  float Emboss = 1;  // how strongly the letter edges catch the light
  int Tracking = 2;
  bool Chrome = false;  // a sharp horizon through the middle
};

// Lettering no larger than MaxWidth x MaxHeight, as big as fits.
TCanvas Title(const std::string& FontPath, const std::string& Text, const TTitleStyle& Style, int MaxWidth,
              int MaxHeight);

void MakeLogoImages(const TArtContext& A);

}  // namespace Art
