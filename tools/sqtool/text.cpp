// sqtool text: a preview of text drawn with the fonts of an INI section.
#include <algorithm>
#include <cctype>

#include "graphics/font_collection.h"
#include "graphics/image.h"
#include "graphics/ppm_writer.h"
#include "shell/toolbox.h"
#include "tools/sqtool/command.h"
#include "tools/sqtool/game_data.h"

namespace {
const char* kUsage =
    "usage: sqtool text INIFILE SECTION TEXT OUTFILE\n"
    "\n"
    "Loads the fonts of SECTION of INIFILE (a file on disk or a member of the\n"
    "game's archive) and writes TEXT drawn left-aligned at (0, 0) on black, as\n"
    "wide as the text and as high as the tallest font used, as a binary PPM.\n"
    "\\0 to \\15 in TEXT switch to that font number; \\\\ is a backslash.\n";

// "\5" -> code 5; a backslash not followed by a number stays as it is.
std::string Unescape(const std::string& Text) {
  std::string Out;
  for (size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] == '\\' && I + 1 < Text.size()) {
      if (Text[I + 1] == '\\') {
        Out += '\\';
        ++I;
        continue;
      }
      size_t J = I + 1;
      int Code = 0;
      while (J < Text.size() && J < I + 3 && std::isdigit(static_cast<unsigned char>(Text[J])))
        Code = Code * 10 + (Text[J++] - '0');
      if (J > I + 1 && Code < 16) {
        Out += static_cast<char>(Code);
        I = J - 1;
        continue;
      }
    }
    Out += Text[I];
  }
  return Out;
}

int Run(const TArgs& Args) {
  if (Args.size() != 4) return SqFail("usage: sqtool text INIFILE SECTION TEXT OUTFILE");
  MountGameData("");  // optional: lets INIFILE and its fonts come from the archive
  TFontCollection Fonts;
  Fonts.LoadFromFile(Args[0], Args[1]);
  if (Fonts.Count() == 0) return SqFail("no font loaded from section '" + Args[1] + "' of '" + Args[0] + "'");
  const std::string Text = Unescape(Args[2]);
  const int W = std::max<int>(1, static_cast<int16_t>(Fonts.TextWidth(Text)));
  const int H = std::max(1, Fonts.TextHeight(Text));
  TImage Image(W, H);
  Fonts.DrawTextOn(Image, Text, 0, 0, 0);
  if (!SaveImagePPM(Image, Args[3])) return SqFail("cannot write '" + Args[3] + "'");
  return 0;
}

TSqCommand Command({"text", "preview text drawn with the game's fonts", kUsage, Run});
}  // namespace
