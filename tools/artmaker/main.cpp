// sqartmaker: draws every picture of the game and writes the outro hall.
//   sqartmaker PALETTE HALL FONT OUTDIR
#include <exception>
#include <iostream>

#include "tools/artmaker/block_anim_art.h"
#include "tools/artmaker/block_art.h"
#include "tools/artmaker/figure_art.h"
#include "tools/artmaker/logo_art.h"
#include "tools/artmaker/scene_art.h"

int main(int Argc, char** Argv) {
  if (Argc != 5) {
    std::cerr << "usage: sqartmaker PALETTE HALL FONT OUTDIR\n";
    return 1;
  }
  try {
    // Both sources are checked before anything is drawn.
    const Maker::TPalette Palette = Maker::TPalette::Load(Argv[1]);
    const std::vector<std::string> Hall = Art::LoadHall(Argv[2]);
    const Art::TArtContext A{Palette, Argv[4], Argv[3]};
    Art::MakeBlockImages(A);
    Art::MakeAnimatedBlockImages(A);
    Art::MakeFigureImages(A);
    Art::MakeSceneImages(A);
    Art::MakeLogoImages(A);
    Art::MakeOutroMap(A, Hall);
  } catch (const std::exception& E) {
    std::cerr << "sqartmaker: " << E.what() << "\n";
    return 1;
  }
  return 0;
}
