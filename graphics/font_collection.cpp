#include "graphics/font_collection.h"

#include <algorithm>

#include "config/ini_file.h"
#include "graphics/video.h"
#include "shell/logger.h"
#include "storage/stream_opener.h"

std::unique_ptr<TFontCollection> FontCollection;

void StartFontCollection() { FontCollection = std::make_unique<TFontCollection>(); }
void StopFontCollection() { FontCollection.reset(); }

void TFontCollection::Add(std::unique_ptr<TFont> Font, const std::string& Name) {
  auto Item = std::make_unique<TFontCollectionItem>();
  Item->Name = Name;
  Item->Font = std::move(Font);
  FItems.push_back(std::move(Item));
}

int TFontCollection::IndexOf(std::string_view Name) const {
  for (size_t I = 0; I < FItems.size(); ++I)
    if (FItems[I]->Name == Name) return static_cast<int>(I);
  return -1;
}

TFontCollectionItem* TFontCollection::Item(int Index) const {
  return Index >= 0 && Index < Count() ? FItems[static_cast<size_t>(Index)].get() : nullptr;
}

TFont* TFontCollection::Font(int Index) const {
  TFontCollectionItem* I = Item(Index);
  return I ? I->Font.get() : nullptr;
}

TFont* TFontCollection::Find(std::string_view Name) const { return Font(IndexOf(Name)); }

void TFontCollection::LoadFromFile(const std::string& FileName, const std::string& Section) {
  if (!StreamOpener) return;
  TVXStreamPtr Stream;
  try {
    Stream = StreamOpener->OpenStream(FileName);
  } catch (const EOpenStream&) { return; }
  auto Ini = TIniFile::CreateFromStream(*Stream);
  if (Ini) Load(*Ini, Section);
}

void TFontCollection::Load(const TIniFile& Ini, const std::string& Section) {
  Log->Status(Section, "FontCollectionUnit, TFontCollection.Load");
  const int32_t Type = Ini.SectionType(Section);
  if (Type == 0) {
    if (auto F = LoadFont(Ini, Section)) {
      const std::string Name = F->Name;
      Add(std::move(F), Name);
    }
  } else if (Type == 1) {
    const int32_t N = Ini.ListItemCount(Section);
    for (int32_t I = 0; I < N; ++I) {
      const std::string Line = Ini.ReadListItem(Section, I);
      const std::string Prefixed = "Font." + Line;
      auto F = LoadFont(Ini, Ini.SectionType(Prefixed) >= 0 ? Prefixed : Line);
      if (F) {
        const std::string Name = F->Name;
        Add(std::move(F), Name);
      }
    }
  }
}

TFont* TFontCollection::Switch(int Code) const { return Font(std::min(Code, Count() - 1)); }

uint16_t TFontCollection::TextWidth(std::string_view Text) const {
  if (FItems.empty()) return 0;
  TFont* F = Font(0);
  int32_t W = 0;
  for (char Ch : Text) {
    const uint8_t C = static_cast<uint8_t>(Ch);
    if (C < 16) {
      F = Switch(C);
      continue;
    }
    W += F->TextWidth(std::string_view(&Ch, 1)) + F->LetterSpace * F->Size;
  }
  W -= F->LetterSpace * F->Size;
  return static_cast<uint16_t>(W);
}

int32_t TFontCollection::TextHeight(std::string_view Text) const {
  if (FItems.empty()) return 0;
  TFont* F = Font(0);
  int32_t H = F->Height;
  for (char Ch : Text) {
    if (static_cast<uint8_t>(Ch) < 16) {
      F = Switch(static_cast<uint8_t>(Ch));
      H = std::max(H, F->Height);
    }
  }
  return H;
}

template <class TDraw>
void TFontCollection::DrawEach(std::string_view Text, int X, int Align, TDraw&& Draw) const {
  if (FItems.empty()) return;
  const int W = TextWidth(Text);
  if (Align == kAlignCenter) X -= W / 2;
  else if (Align == kAlignRight) X -= W;
  TFont* F = Font(0);
  for (char Ch : Text) {
    const uint8_t C = static_cast<uint8_t>(Ch);
    if (C < 16) {
      F = Switch(C);
      continue;
    }
    const std::string_view One(&Ch, 1);
    Draw(*F, One, X);
    X += F->TextWidth(One) + F->LetterSpace * F->Size;
  }
}

std::string TFontCollection::FitText(std::string_view Text, int Width) const {
  if (TextWidth(Text) <= Width) return std::string(Text);
  for (size_t N = Text.size(); N-- > 0;) {
    std::string Cut(Text.substr(0, N));
    while (!Cut.empty() && Cut.back() == ' ') Cut.pop_back();
    Cut += "...";
    if (TextWidth(Cut) <= Width) return Cut;
  }
  return "";
}

TTextBox TFontCollection::InkBox(std::string_view Text, int X, int Y, int Align) const {
  TTextBox Box;
  DrawEach(Text, X, Align, [Y, &Box](const TFont& F, std::string_view One, int DX) {
    Box = Box.Union(F.InkBox(One, DX, Y, kAlignLeft));
  });
  return Box;
}

void TFontCollection::DrawText(std::string_view Text, int X, int Y, int Align) const {
  if (TextListenerHears()) TellTextListener(Text, InkBox(Text, X, Y, Align), VX_SDL::DrawTarget());
  // Told as one text above, not glyph by glyph.
  TTextListenerMute Mute;
  DrawEach(Text, X, Align, [Y](const TFont& F, std::string_view One, int DX) { F.DrawText(One, DX, Y, kAlignLeft); });
}

void TFontCollection::DrawTextOn(TImage& Target, std::string_view Text, int X, int Y, int Align) const {
  if (TextListenerHears()) TellTextListener(Text, InkBox(Text, X, Y, Align), &Target);
  TTextListenerMute Mute;
  DrawEach(Text, X, Align, [Y, &Target](const TFont& F, std::string_view One, int DX) {
    F.DrawTextOn(Target, One, DX, Y, kAlignLeft);
  });
}
