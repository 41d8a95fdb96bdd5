#pragma once
// The numbered and named fonts of the program. A character below 16 inside
// a drawn text switches to the font of that number.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/font.h"

class TIniFile;
class TImage;

struct TFontCollectionItem {
  std::string Name;
  std::unique_ptr<TFont> Font;
};

class TFontCollection {
 public:
  static constexpr const char* kVersion = "FontCollectionUnit, version 1.0";

  void Add(std::unique_ptr<TFont> Font, const std::string& Name);
  int IndexOf(std::string_view Name) const;
  TFontCollectionItem* Item(int Index) const;
  TFont* Font(int Index) const;
  TFont* Find(std::string_view Name) const;
  int Count() const { return static_cast<int>(FItems.size()); }
  void Clear() { FItems.clear(); }

  // Opens the INI file through the stream opener; nothing when it is missing.
  void LoadFromFile(const std::string& FileName, const std::string& Section);
  void Load(const TIniFile& Ini, const std::string& Section);

  // Width of a text with font switches (kept in 16 bits).
  uint16_t TextWidth(std::string_view Text) const;
  void DrawText(std::string_view Text, int X, int Y, int Align) const;
  void DrawTextOn(TImage& Target, std::string_view Text, int X, int Y, int Align) const;
  // The tallest font a text uses (0 for an empty collection).
  int32_t TextHeight(std::string_view Text) const;
  // Text as it fits into Width pixels: whole when it does, else cut short
  // with "..." (in the font of the last character kept).
  std::string FitText(std::string_view Text, int Width) const;
  // The box the glyphs of a text with font switches would cover.
  TTextBox InkBox(std::string_view Text, int X, int Y, int Align) const;

 private:
  // The font a switch code selects: beyond the last, the last.
  TFont* Switch(int Code) const;
  template <class TDraw>
  void DrawEach(std::string_view Text, int X, int Align, TDraw&& Draw) const;

  std::vector<std::unique_ptr<TFontCollectionItem>> FItems;
};

extern std::unique_ptr<TFontCollection> FontCollection;
void StartFontCollection();
void StopFontCollection();
