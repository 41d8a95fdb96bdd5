// sqiconmaker: draws the desktop icon at the given sizes.
//   sqiconmaker PALETTE OUTDIR SIZE...
// writes OUTDIR/starquarry_SIZE.png for every SIZE.
#include <exception>
#include <iostream>
#include <string>

#include "tools/iconmaker/icon_art.h"
#include "tools/iconmaker/png_writer.h"
#include "tools/makerkit/tga_writer.h"

int main(int Argc, char** Argv) {
  if (Argc < 4) {
    std::cerr << "usage: sqiconmaker PALETTE OUTDIR SIZE...\n";
    return 1;
  }
  try {
    const Maker::TPalette Palette = Maker::TPalette::Load(Argv[1]);
    const std::string Dir = Argv[2];
    for (int I = 3; I < Argc; ++I) {
      const int Size = std::stoi(Argv[I]);
      const Maker::TCanvas Canvas = Icon::DrawIcon(Palette, Size);
      Maker::SaveBytes(Dir + "/starquarry_" + std::to_string(Size) + ".png",
                       Icon::EncodePngRgba(Size, Size, Icon::CanvasRgba(Canvas)));
    }
  } catch (const std::exception& E) {
    std::cerr << "sqiconmaker: " << E.what() << "\n";
    return 1;
  }
  return 0;
}
