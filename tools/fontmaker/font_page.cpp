#include "tools/fontmaker/font_page.h"

#include <algorithm>
#include <stdexcept>

#include "tools/makerkit/font_raster.h"
#include "tools/makerkit/tga_writer.h"

namespace FontMaker {

namespace {
constexpr int kShadow = 70;  // intensity of the shadow below and right of each stroke
constexpr int kFoot = 200;   // intensity at the foot of the letters (255 at the top)
}  // namespace

std::vector<uint8_t> TFontPage::PresenceSet() const {
  std::vector<uint8_t> Set(32, 0);
  for (const TGlyphRect& G : Glyphs) Set[G.Code / 8] |= static_cast<uint8_t>(0x80 >> (G.Code % 8));
  return Set;
}

std::vector<uint8_t> TFontPage::Trailer() const {
  std::vector<uint8_t> Out;
  for (const TGlyphRect& G : Glyphs)
    for (int V : {G.Left, G.Top, G.Right, G.Bottom}) {
      Out.push_back(static_cast<uint8_t>(V & 0xFF));
      Out.push_back(static_cast<uint8_t>((V >> 8) & 0xFF));
    }
  return Out;
}

std::vector<uint8_t> TFontPage::EncodeTga() const {
  return Maker::EncodeTgaGrey(Width, Height, Pixels, PresenceSet(), Trailer());
}

std::string GameFontCharacters() {
  // The space is no glyph: the font leaves its own gap for it.
  std::string S;
  for (char C = '!'; C <= '~'; ++C) S += C;
  return S;
}

TFontPage RenderFontPage(Maker::TFontFace& Face, const std::string& Characters, int PageHeight) {
  // Largest size whose ascent, descent and shadow fit the page.
  int Size = PageHeight;
  for (; Size > 4; --Size) {
    Face.SetPixelSize(Size);
    if (Face.Ascender() + Face.Descender() + 1 <= PageHeight) break;
  }
  const int Baseline = Face.Ascender();
  struct TPlaced {
    Maker::TGlyphBitmap Bitmap;
    int X0 = 0, Width = 0;
  };
  std::vector<TPlaced> Placed;
  int Pen = 0, Prev = -1;
  for (unsigned char C : Characters) {
    if (static_cast<int>(C) <= Prev) throw std::invalid_argument("font characters must ascend without repeats");
    Prev = C;
    TPlaced P;
    P.Bitmap = Face.Render(C);
    // The cell spans the advance and whatever ink (and shadow) reaches past it.
    const int InkL = std::min(0, P.Bitmap.Left), InkR = std::max(P.Bitmap.Advance, P.Bitmap.Left + P.Bitmap.Width + 1);
    P.X0 = Pen - InkL;
    P.Width = InkR - InkL;
    Pen += P.Width;
    Placed.push_back(std::move(P));
  }
  TFontPage Page;
  Page.Width = Pen;
  Page.Height = PageHeight;
  Page.Pixels.assign(static_cast<size_t>(Page.Width) * Page.Height, 0);
  for (size_t I = 0; I < Placed.size(); ++I) {
    const TPlaced& P = Placed[I];
    const Maker::TGlyphBitmap& B = P.Bitmap;
    const int OX = P.X0 + B.Left, OY = Baseline - B.Top;
    auto Put = [&](int X, int Y, int V) {
      if (X < 0 || Y < 0 || X >= Page.Width || Y >= Page.Height) return;
      uint8_t& D = Page.Pixels[static_cast<size_t>(Y) * Page.Width + X];
      D = static_cast<uint8_t>(std::max<int>(D, V));
    };
    for (int Y = 0; Y < B.Height; ++Y)
      for (int X = 0; X < B.Width; ++X)
        Put(OX + X + 1, OY + Y + 1, B.Coverage[static_cast<size_t>(Y) * B.Width + X] * kShadow / 255);
    for (int Y = 0; Y < B.Height; ++Y)
      for (int X = 0; X < B.Width; ++X) {
        const int Cov = B.Coverage[static_cast<size_t>(Y) * B.Width + X];
        if (Cov == 0) continue;
        const int Row = OY + Y;
        const int Ramp = 255 - (255 - kFoot) * std::clamp(Row, 0, Baseline) / std::max(1, Baseline);
        // Ink replaces the shadow where they meet.
        const size_t Idx = static_cast<size_t>(Row) * Page.Width + OX + X;
        if (Row < 0 || Row >= Page.Height || OX + X < 0 || OX + X >= Page.Width) continue;
        const int Shadow = Page.Pixels[Idx];
        Page.Pixels[Idx] = static_cast<uint8_t>((Cov * Ramp + (255 - Cov) * Shadow) / 255);
      }
    // The rectangle: the cell's columns, the rows that hold anything.
    TGlyphRect R;
    R.Code = static_cast<uint8_t>(Characters[I]);
    R.Left = P.X0 + std::min(0, B.Left);
    R.Right = R.Left + P.Width - 1;
    R.Top = Page.Height;
    R.Bottom = -1;
    for (int Y = 0; Y < Page.Height; ++Y)
      for (int X = R.Left; X <= R.Right; ++X)
        if (Page.Pixels[static_cast<size_t>(Y) * Page.Width + X] != 0) {
          R.Top = std::min(R.Top, Y);
          R.Bottom = std::max(R.Bottom, Y);
        }
    if (R.Bottom < 0) R.Top = R.Bottom = 0;
    Page.Glyphs.push_back(R);
  }
  return Page;
}

}  // namespace FontMaker
