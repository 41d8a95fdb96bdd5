#include "game/no_packs_screen.h"

#include "game/options_hotkey.h"
#include "graphics/font_collection.h"
#include "graphics/key_codes.h"
#include "graphics/video.h"
#include "shell/logger.h"

namespace {

constexpr const char* kHeading = "SQGameUnit, TGame.SelectLevelPack";
constexpr int kLineWidth = 600;
constexpr size_t kFolderLines = 3;

std::string Switch(int Font) { return std::string(1, static_cast<char>(Font)); }

int Width(const std::string& Text) { return FontCollection && !Text.empty() ? FontCollection->TextWidth(Text) : 0; }

void Centred(const std::string& Text, int Y) {
  if (FontCollection) FontCollection->DrawText(Text, 320, Y, kAlignCenter);
}

}  // namespace

std::vector<std::string> FolderLines(const std::string& Folder, int LineWidth, size_t MaxLines) {
  std::vector<std::string> Lines;
  std::string Line;
  size_t From = 0;
  while (From < Folder.size()) {
    const size_t Slash = Folder.find('/', From);
    const size_t To = Slash == std::string::npos ? Folder.size() : Slash + 1;
    const std::string Part = Folder.substr(From, To - From);
    if (!Line.empty() && Width(Line + Part) > LineWidth) {
      Lines.push_back(Line);
      Line.clear();
    }
    Line += Part;
    From = To;
  }
  if (!Line.empty()) Lines.push_back(Line);
  // A part with no "/" to break at is cut instead.
  for (std::string& L : Lines)
    if (FontCollection) L = FontCollection->FitText(L, LineWidth);
  if (Lines.size() > MaxLines) {
    Lines.erase(Lines.begin(), Lines.end() - static_cast<std::ptrdiff_t>(MaxLines));
    Lines.front() = FontCollection ? FontCollection->FitText("..." + Lines.front(), LineWidth) : "..." + Lines.front();
  }
  return Lines;
}

void RunNoPacksScreen(const std::string& Folder) {
  Log->Warning("No level packs (*.sq files) in " + Folder + ": put level packs there", kHeading);
  const std::vector<std::string> Lines = FolderLines(Folder, kLineWidth, kFolderLines);
  VX_SDL::ClearKeys();
  for (;;) {
    VX_SDL::FillBox(0, 0, 639, 479, 0, 0, 0);
    Centred(Switch(1) + "Select level pack", 30);
    Centred(Switch(4) + "No level packs found!", 110);
    Centred(Switch(0) + "Put level packs (.sq files) into", 170);
    int Y = 210;
    for (const std::string& L : Lines) {
      Centred(Switch(1) + L, Y);
      Y += 32;
    }
    Centred(Switch(0) + "and start the game again.", 330);
    Centred(Switch(3) + "Escape or Return: leave", 430);
    VX_SDL::Flip();
    VX_SDL::PollEvents();
    if (OptionsOnF12()) VX_SDL::ClearKeys();
    if (VX_SDL::Keys[VXKey::Escape] || VX_SDL::Keys[VXKey::Return]) return;
  }
}
