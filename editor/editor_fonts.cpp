#include "editor/editor_fonts.h"

#include <memory>

namespace {

constexpr const char* kNarrowFont = "Anti";

std::string NarrowFontFile() {
  const TFont* Game = FontCollection ? FontCollection->Find(kNarrowFont) : nullptr;
  return Game && !Game->FileName.empty() ? Game->FileName : "anti.vxr";
}

}  // namespace

TEditorFonts::TEditorFonts() {
  const std::string File = NarrowFontFile();
  const int Colours[][3] = {{255, 192, 64}, {64, 192, 255}, {255, 64, 64}, {64, 255, 192}, {255, 255, 255}};
  for (const auto& C : Colours) {
    auto Font = std::make_unique<TVXRFont>(File);
    Font->SetColor(C[0], C[1], C[2]);
    Font->SetColorKey(0, 0, 0);
    FFonts.Add(std::move(Font), kNarrowFont);
  }
}

int TEditorFonts::Width(const std::string& Text) const { return Text.empty() ? 0 : FFonts.TextWidth(Text); }

int TEditorFonts::GameFontForEditing() {
  if (!FontCollection) return -1;
  const int Index = FontCollection->IndexOf(kNarrowFont);
  // The closing scene darkens it for its speech bubbles.
  if (TFont* Font = FontCollection->Font(Index)) Font->SetColor(255, 255, 255);
  return Index;
}
