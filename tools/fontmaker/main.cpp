// sqfontmaker: renders the game's two fonts.
//   sqfontmaker SANS_BOLD MONO_BOLD OUTDIR
#include <exception>
#include <iostream>

#include "tools/fontmaker/font_page.h"
#include "tools/fontmaker/vxr_font.h"
#include "tools/makerkit/font_raster.h"
#include "tools/makerkit/tga_writer.h"

int main(int Argc, char** Argv) {
  if (Argc != 4) {
    std::cerr << "usage: sqfontmaker SANS_BOLD MONO_BOLD OUTDIR\n";
    return 1;
  }
  try {
    const std::string Out = Argv[3];
    Maker::TFontFace Sans(Argv[1]);
    const FontMaker::TFontPage Page = FontMaker::RenderFontPage(Sans, FontMaker::GameFontCharacters(), 28);
    Maker::SaveBytes(Out + "/font.tga", Page.EncodeTga());
    Maker::TFontFace Mono(Argv[2]);
    Maker::SaveBytes(Out + "/anti.vxr", FontMaker::EncodeVxr8x16(FontMaker::RenderVxrGlyphs(Mono)));
  } catch (const std::exception& E) {
    std::cerr << "sqfontmaker: " << E.what() << "\n";
    return 1;
  }
  return 0;
}
