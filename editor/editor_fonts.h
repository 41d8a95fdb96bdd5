#pragma once
// The editor's small print. Its header holds the map, the pack and a status
// line in the 44 pixels above the field, where the game's tall fonts fit one
// line only: it writes with the narrow fixed-width font instead, in colours
// of its own, kept apart from the game's fonts so theirs stay as they are.
#include <string>

#include "graphics/font_collection.h"

class TEditorFonts {
 public:
  // Font switches of the editor's texts.
  static constexpr char kLabel = 0;    // gold
  static constexpr char kValue = 1;    // blue
  static constexpr char kProblem = 2;  // red
  static constexpr char kPack = 3;     // bluish green
  static constexpr char kPlain = 4;    // white
  // The height of a line, and the tops of the header's two lines.
  static constexpr int kLineHeight = 16;
  static constexpr int kFirstLineY = 4;
  static constexpr int kSecondLineY = 24;

  // Takes the game's narrow font ("Anti") file, anti.vxr when there is none.
  TEditorFonts();

  const TFontCollection& Fonts() const { return FFonts; }
  void Draw(const std::string& Text, int X, int Y, int Align) const { FFonts.DrawText(Text, X, Y, Align); }
  int Width(const std::string& Text) const;
  std::string Fit(const std::string& Text, int Width) const { return FFonts.FitText(Text, Width); }

  // The game's own narrow font, white, for the edit box of the status line;
  // -1 when the game has none.
  static int GameFontForEditing();

 private:
  TFontCollection FFonts;
};

// A font switch as a one-character text.
inline std::string FontSwitch(char Font) { return std::string(1, Font); }
