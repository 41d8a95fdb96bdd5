#pragma once
// Block images whose animation carries meaning: the one-way tunnels, the
// explosion and the three states of the exit.
#include "tools/artmaker/art_kit.h"

namespace Art {

// Direction +1 passes left to right (">"), -1 right to left ("<").
std::vector<TCanvas> TunnelTile(const TPalette& P, int Direction, bool WithElf, int Frames);
std::vector<TCanvas> ExplosionTile(const TPalette& P, int Frames);
// State 0 closed, 1 opening, 2 open.
std::vector<TCanvas> ExitTile(const TPalette& P, int State, int Frames);

void MakeAnimatedBlockImages(const TArtContext& A);

}  // namespace Art
