#pragma once
// The still and looping block images of the playfield, 32x32 per frame.
#include "tools/artmaker/art_kit.h"

namespace Art {

// Each returns the frames of one image; Variant picks a look of the same block.
std::vector<TCanvas> GrassTile(const TPalette& P, int Variant);
std::vector<TCanvas> WallTile(const TPalette& P);
std::vector<TCanvas> SteelTile(const TPalette& P);
std::vector<TCanvas> PlasmaTile(const TPalette& P, int Frames);
std::vector<TCanvas> BoulderTile(const TPalette& P, int Variant);
std::vector<TCanvas> DiamondTile(const TPalette& P, int Variant, int Frames);
std::vector<TCanvas> BarrelTile(const TPalette& P, int Variant);
std::vector<TCanvas> BalloonTile(const TPalette& P, int Variant);

// A faceted gem filling the box (X0, Y0)-(X0+W, Y0+H), for tiles and the outro.
void DrawGem(TCanvas& C, TRgb Tint, float X0, float Y0, float W, float H);

void MakeBlockImages(const TArtContext& A);

}  // namespace Art
