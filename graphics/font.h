#pragma once
// Bitmap fonts. A font is one page of glyphs kept twice: as a greyscale page
// (Source, GSD layout) and as a display image tinted with the font colour and
// scaled by the font size. Each character code has a rectangle on the page.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "graphics/image.h"
#include "graphics/text_listener.h"
#include "shell/memory_stream.h"

class TIniFile;

struct TGlyphRect {
  int32_t X = 0, Y = 0, Width = 0, Height = 0;
};

enum TTextAlign { kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2 };

class TFont {
 public:
  static constexpr const char* kVersion = "VXFonts, version 1.0";
  static constexpr int kMaxSize = 16;

  virtual ~TFont();
  TFont(const TFont&) = delete;
  TFont& operator=(const TFont&) = delete;

  // Rebuilds the display page in the new colour; components outside 0-255
  // are refused with a warning.
  virtual void SetColor(int32_t R, int32_t G, int32_t B);
  void SetSize(int32_t N);
  void SetColorKey(uint8_t R, uint8_t G, uint8_t B);

  int32_t TextWidth(std::string_view Text) const;
  // Onto the video layer's back surface, and onto an image.
  void DrawText(std::string_view Text, int X, int Y, int Align) const;
  void DrawTextOn(TImage& Target, std::string_view Text, int X, int Y, int Align) const;
  // The box the glyphs of Text would cover, drawn at X, Y with Align.
  TTextBox InkBox(std::string_view Text, int X, int Y, int Align) const;

  TMemoryStream Source;
  std::unique_ptr<TImage> Image;
  std::array<TGlyphRect, 256> Glyphs{};
  std::array<TGlyphRect, 256> SizedGlyphs{};
  std::string FileName;
  bool HasColorKey = false;
  int32_t ColorKeyRed = 0, ColorKeyGreen = 0, ColorKeyBlue = 0;
  int32_t Red = -1, Green = 255, Blue = 255;
  int32_t Size = 1;
  std::string Name;
  int32_t Height = 0;
  int32_t LetterSpace = 1;
  int32_t SpaceSpace = 10;

 protected:
  TFont() = default;
  void RebuildPage();
  // Glyph rectangle from a left, top, right, bottom record.
  void SetGlyph(int Code, int Left, int Top, int Right, int Bottom);
  // Reads 9-byte metric records (code, left, top, right, bottom) to the end.
  void ReadMetrics(TVXStreamBase& Stream);
  // The empty font: a black 16x16 page and no glyphs.
  void MakeEmpty();
  void ApplyColorKey();

 private:
  template <class TDraw>
  void DrawGlyphs(std::string_view Text, int X, int Y, int Align, TDraw&& Draw) const;
};

// An image page plus a ".bmf" metrics file.
class TBMPFont : public TFont {
 public:
  explicit TBMPFont(const std::string& FileName);
};

// A greyscale GSD page plus a ".bmf" metrics file, tinted at load.
class TGSDFont : public TFont {
 public:
  TGSDFont(const std::string& FileName, uint8_t R, uint8_t G, uint8_t B);
};

// A one-bit VXR font file.
class TVXRFont : public TFont {
 public:
  explicit TVXRFont(const std::string& FileName);
  explicit TVXRFont(TVXStreamBase& Stream);

 private:
  void Read(TVXStreamBase& Stream);
};

// A TGA page with its glyph table in the image's information block.
class TTGAFont : public TFont {
 public:
  explicit TTGAFont(const std::string& FileName);
  explicit TTGAFont(TVXStreamBase& Stream);

 private:
  void Read(TVXStreamBase& Stream);
};

// Builds a font from an INI section (File, Type, Color, ColorKey, Size,
// LetterSpace, SpaceSpace, Name); null with a warning when it cannot.
std::unique_ptr<TFont> LoadFont(const TIniFile& Ini, const std::string& Section);
