// TFont: the display page, measuring and drawing.
#include "graphics/font.h"

#include <SDL.h>

#include "graphics/video.h"
#include "shell/logger.h"

namespace {
// Source colour keying with run-length acceleration.
constexpr uint32_t kFontColorKeyFlags = 0x5100;
}  // namespace

TFont::~TFont() = default;

void TFont::SetGlyph(int Code, int Left, int Top, int Right, int Bottom) {
  TGlyphRect R{Left, Top, Right - Left + 1, Bottom - Top + 1};
  // A reversed record is no glyph at all rather than a negative rectangle.
  if (R.Width <= 0 || R.Height <= 0) R = TGlyphRect{};
  Glyphs[static_cast<size_t>(Code & 255)] = R;
  SizedGlyphs[static_cast<size_t>(Code & 255)] = {R.X * Size, R.Y * Size, R.Width * Size, R.Height * Size};
}

void TFont::ReadMetrics(TVXStreamBase& Stream) {
  uint8_t Record[9];
  while (Stream.ReadExact(Record, sizeof Record)) {
    auto U16 = [&Record](int At) { return Record[At] | (Record[At + 1] << 8); };
    SetGlyph(Record[0], U16(1), U16(3), U16(5), U16(7));
  }
}

void TFont::MakeEmpty() {
  Glyphs.fill({});
  SizedGlyphs.fill({});
  Image = std::make_unique<TImage>(16, 16);
  Height = 16;
  Source.Clear();
  Source.WriteU16(16);
  Source.WriteU16(16);
  const std::vector<uint8_t> Black(16 * 16, 0);
  Source.WriteExact(Black.data(), Black.size());
}

void TFont::ApplyColorKey() {
  if (!HasColorKey || !Image || !Image->HasSurface()) return;
  SDL_Surface* S = Image->Surface();
  SDL_SetColorKey(S, kFontColorKeyFlags,
                  SDL_MapRGB(S->format, static_cast<uint8_t>(ColorKeyRed), static_cast<uint8_t>(ColorKeyGreen),
                             static_cast<uint8_t>(ColorKeyBlue)));
}

void TFont::RebuildPage() {
  Image.reset();
  Source.Seek(0);
  const uint8_t R = static_cast<uint8_t>(Red), G = static_cast<uint8_t>(Green), B = static_cast<uint8_t>(Blue);
  if (Size == 1) {
    Image = TImage::CreateFromGSD(Source, R, G, B);
  } else {
    // Scale the grey page first; tinting it is then the same as at size 1.
    uint16_t W = 0, H = 0;
    Source.ReadU16(W);
    Source.ReadU16(H);
    std::vector<uint8_t> Page(static_cast<size_t>(W) * H, 0);
    Source.Read(Page.data(), Page.size());
    const int SW = W * Size, SH = H * Size;
    TMemoryStream Scaled;
    Scaled.WriteU16(static_cast<uint16_t>(SW));
    Scaled.WriteU16(static_cast<uint16_t>(SH));
    std::vector<uint8_t> Row(static_cast<size_t>(SW));
    for (int Y = 0; Y < H; ++Y) {
      for (int X = 0; X < W; ++X)
        std::fill_n(Row.begin() + X * Size, Size, Page[static_cast<size_t>(Y) * W + static_cast<size_t>(X)]);
      for (int K = 0; K < Size; ++K) Scaled.WriteExact(Row.data(), Row.size());
    }
    Scaled.Seek(0);
    Image = TImage::CreateFromGSD(Scaled, R, G, B);
  }
  Source.Seek(0);
  if (!Image) Image = std::make_unique<TImage>(16, 16);
  ApplyColorKey();
}

void TFont::SetColor(int32_t R, int32_t G, int32_t B) {
  if (R == Red && G == Green && B == Blue) return;
  if (R < 0 || R > 255 || G < 0 || G > 255 || B < 0 || B > 255) {
    Log->Warning(
        "Color is out of range! (" + std::to_string(R) + ", " + std::to_string(G) + ", " + std::to_string(B) + ")",
        "VXFonts, TFont.SetColor");
    return;
  }
  Red = R;
  Green = G;
  Blue = B;
  RebuildPage();
}

void TFont::SetSize(int32_t N) {
  if (N == Size) return;
  if (N < 1 || N > kMaxSize) {
    Log->Warning("Invalid size! (" + std::to_string(N) + ")", "VXFonts, TFont.SetSize");
    return;
  }
  const int32_t Old = Size;
  const bool OldDrew = Image && Image->HasSurface();
  Size = N;
  RebuildPage();
  // A page wider than a surface can hold would draw nothing at all: keep the
  // size that drew.
  if (OldDrew && !(Image && Image->HasSurface())) {
    uint16_t W = 0, H = 0;
    Source.Seek(0);
    Source.ReadU16(W);
    Source.ReadU16(H);
    Source.Seek(0);
    Log->Warning("Size " + std::to_string(N) + " makes the page " + std::to_string(W * N) + "x" +
                     std::to_string(H * N) + ", more than a surface holds; the size stays " + std::to_string(Old),
                 "VXFonts, TFont.SetSize");
    Size = Old;
    RebuildPage();
    return;
  }
  Height = Image ? Image->Height() : 0;
  for (size_t C = 0; C < Glyphs.size(); ++C) {
    const TGlyphRect& G = Glyphs[C];
    SizedGlyphs[C] = {G.X * N, G.Y * N, G.Width * N, G.Height * N};
  }
}

void TFont::SetColorKey(uint8_t R, uint8_t G, uint8_t B) {
  HasColorKey = true;
  ColorKeyRed = R;
  ColorKeyGreen = G;
  ColorKeyBlue = B;
  ApplyColorKey();
}

int32_t TFont::TextWidth(std::string_view Text) const {
  int32_t W = 0;
  for (char Ch : Text) {
    if (Ch == ' ') W += SpaceSpace * Size;
    else W += LetterSpace * Size + SizedGlyphs[static_cast<uint8_t>(Ch)].Width;
  }
  return W - LetterSpace * Size;
}

template <class TDraw>
void TFont::DrawGlyphs(std::string_view Text, int X, int Y, int Align, TDraw&& Draw) const {
  if (Align == kAlignCenter) X -= TextWidth(Text) / 2;
  else if (Align == kAlignRight) X -= TextWidth(Text);
  for (char Ch : Text) {
    if (Ch == ' ') {
      X += SpaceSpace * Size;
      continue;
    }
    const TGlyphRect& G = SizedGlyphs[static_cast<uint8_t>(Ch)];
    if (G.Width > 0 && G.Height > 0 && Image) Draw(X, Y + G.Y, G);
    X += LetterSpace * Size + G.Width;
  }
}

TTextBox TFont::InkBox(std::string_view Text, int X, int Y, int Align) const {
  TTextBox Box;
  DrawGlyphs(Text, X, Y, Align, [&Box](int DX, int DY, const TGlyphRect& G) {
    Box = Box.Union({DX, DY, G.Width, G.Height});
  });
  return Box;
}

void TFont::DrawText(std::string_view Text, int X, int Y, int Align) const {
  if (TextListenerHears()) TellTextListener(Text, InkBox(Text, X, Y, Align), VX_SDL::DrawTarget());
  DrawGlyphs(Text, X, Y, Align, [this](int DX, int DY, const TGlyphRect& G) {
    VX_SDL::DrawImagePart(DX, DY, G.X, G.Y, G.Width, G.Height, *Image);
  });
}

void TFont::DrawTextOn(TImage& Target, std::string_view Text, int X, int Y, int Align) const {
  if (TextListenerHears()) TellTextListener(Text, InkBox(Text, X, Y, Align), &Target);
  DrawGlyphs(Text, X, Y, Align, [this, &Target](int DX, int DY, const TGlyphRect& G) {
    Target.DrawPart(DX, DY, G.X, G.Y, G.Width, G.Height, *Image);
  });
}
