#include "audio/play_lists.h"

#include "config/ini_file.h"

std::unique_ptr<TPlayLists> PlayLists;

void TPlayLists::LoadFromFile(const std::string& IniName, const std::string& Section) {
  auto Ini = TIniFile::Create(IniName, true);
  Load(*Ini, Section);
}

void TPlayLists::Load(const TIniFile& Ini, const std::string& Section) {
  const int32_t Count = Ini.ListItemCount(Section);
  for (int32_t I = 0; I < Count; ++I) {
    auto List = std::make_unique<TPlayList>(Ini.ReadListItem(Section, I));
    const std::string Songs = Section + "." + List->Name;
    const int32_t SongCount = Ini.ListItemCount(Songs);
    for (int32_t J = 0; J < SongCount; ++J) List->Add(Ini.ReadListItem(Songs, J));
    Add(std::move(List));
  }
}

TPlayList& TPlayLists::Add(std::unique_ptr<TPlayList> List) {
  FLists.push_back(std::move(List));
  return *FLists.back();
}

TPlayList* TPlayLists::ByName(std::string_view Name) const {
  for (const auto& L : FLists)
    if (L->Name == Name) return L.get();
  return nullptr;
}

TPlayList* TPlayLists::Get(int Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return FLists[static_cast<size_t>(Index)].get();
}

void StartPlayLists() { PlayLists = std::make_unique<TPlayLists>(); }
void StopPlayLists() { PlayLists.reset(); }
