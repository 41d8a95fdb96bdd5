#include "game/help_overlay.h"

#include <string>

#include "graphics/font.h"
#include "graphics/font_collection.h"
#include "graphics/image.h"
#include "graphics/key_codes.h"
#include "graphics/video.h"
#include "shell/web_bridge.h"
#include "world/block_images.h"
#include "world/maps.h"

namespace {

// The box, inside a margin of the 640 by 480 screen.
constexpr int kBoxX = 16, kBoxY = 12, kBoxWidth = 608, kBoxHeight = 456;
constexpr int kNameX = 36, kTextX = 236;
constexpr int kLineHeight = 17;
constexpr int kTitleFont = 3;
constexpr uint8_t kHalfAlpha = 128, kOpaque = 255;
constexpr int kSmallFont = 8;  // the collection's small print

// Opened since the program started; module state like the held keys.
int OpenedSoFar = 0;

std::unique_ptr<TFont> SmallFont(int32_t R, int32_t G, int32_t B) {
  const TFont* Small = FontCollection ? FontCollection->Font(kSmallFont) : nullptr;
  if (!Small || Small->FileName.empty()) return nullptr;
  auto Font = std::make_unique<TVXRFont>(Small->FileName);
  Font->SetColorKey(0, 0, 0);
  Font->SetColor(R, G, B);
  return Font;
}

void Write(const TFont* Font, const std::string& Text, int X, int Y) {
  if (Font) Font->DrawText(Text, X, Y, kAlignLeft);
}

void WriteTitle(const std::string& Text, int Y) {
  if (FontCollection)
    if (TFont* F = FontCollection->Font(kTitleFont)) F->DrawText(Text, 320, Y, kAlignCenter);
}

}  // namespace

THelpOverlay::THelpOverlay(THelpScreen Screen) : FScreen(Screen) {}

THelpOverlay::~THelpOverlay() = default;

int THelpOverlay::OpenCount() { return OpenedSoFar; }

void THelpOverlay::Run() {
  VXWeb::NoteScreen("help");
  Begin();
  while (Step()) {}
  End();
}

void THelpOverlay::Begin() {
  ++OpenedSoFar;
  FReleased = false;
  FSaved = std::make_unique<TImage>(640, 480);
  VX_SDL::GrabImage(0, 0, *FSaved);
  // Over black, half alpha shows the screen behind at half brightness.
  FSaved->SetAlpha(kHalfAlpha);
  VX_SDL::Clear(0, 0, 0);
  VX_SDL::PutImage(0, 0, *FSaved);
  FNameFont = SmallFont(255, 224, 64);
  FTextFont = SmallFont(255, 255, 255);
  DrawPage();
}

bool THelpOverlay::Step() {
  VX_SDL::Flip();
  VX_SDL::PollEvents();
  // The H that opened the help must be let go before an H closes it.
  const bool H = VX_SDL::Keys[VXKey::Letter('h')];
  if (!H) FReleased = true;
  return !(VX_SDL::Keys[VXKey::Escape] || (H && FReleased));
}

void THelpOverlay::End() {
  VX_SDL::Keys[VXKey::Escape] = false;
  VX_SDL::Keys[VXKey::Letter('h')] = false;
  if (!FSaved) return;
  FSaved->SetAlpha(kOpaque);
  VX_SDL::PutImage(0, 0, *FSaved);
  FSaved.reset();
  FNameFont.reset();
  FTextFont.reset();
}

void THelpOverlay::DrawPage() {
  VX_SDL::FillRect(kBoxX + 1, kBoxY + 1, kBoxWidth - 2, kBoxHeight - 2, 0, 0, 0);
  VX_SDL::FrameRect(kBoxX, kBoxY, kBoxWidth, kBoxHeight, 112, 112, 112);
  const THelpPage& Page = HelpPage(FScreen);
  WriteTitle(Page.Title, kBoxY + 8);
  const int Below = DrawKeys(kBoxY + 48);
  if (FScreen == THelpScreen::Play) DrawLegend(Below + 8);
  if (FScreen == THelpScreen::MapSelection) DrawColours(Below + 8);
}

int THelpOverlay::DrawKeys(int Y) {
  for (const THelpKey& Key : HelpPage(FScreen).Keys) {
    Write(FNameFont.get(), Key.Name, kNameX, Y);
    Write(FTextFont.get(), Key.Text, kTextX, Y);
    Y += kLineHeight;
  }
  return Y;
}

void THelpOverlay::DrawLegend(int Y) {
  // Two columns, the left one first.
  constexpr int kRows = 6, kRowHeight = 36, kColumnWidth = 296, kCell = TMaps::kCellSize;
  for (int I = 0; I < kLegendLines; ++I) {
    const TTileRow& Row = *kLegendRows[static_cast<size_t>(I)];
    const int X = kNameX + (I / kRows) * kColumnWidth;
    const int RowY = Y + (I % kRows) * kRowHeight;
    if (const TImage* Image = TilePicture(Row)) VX_SDL::DrawImagePart(X, RowY, 0, 0, kCell, kCell, *Image);
    else VX_SDL::FrameRect(X, RowY, kCell, kCell, 96, 96, 96);
    Write(FNameFont.get(), Row.Name, X + 40, RowY);
    Write(FTextFont.get(), Row.Legend, X + 40, RowY + 16);
  }
}

void THelpOverlay::DrawColours(int Y) {
  if (!FontCollection) return;
  // In the list's own fonts, so that the colours are the ones the list shows.
  FontCollection->DrawText(std::string(1, '\4') + "Red: locked, finish an open map first", 320, Y, kAlignCenter);
  FontCollection->DrawText(std::string(1, '\5') + "Yellow: open, ready to play", 320, Y + 32, kAlignCenter);
  FontCollection->DrawText(std::string(1, '\6') + "Green: completed (W: best run)", 320, Y + 64, kAlignCenter);
}

bool HelpOnH(THelpScreen Screen) {
  if (!VX_SDL::Keys[VXKey::Letter('h')]) return false;
  THelpOverlay(Screen).Run();
  return true;
}
