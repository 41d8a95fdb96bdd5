#include "audio/music_collection.h"

#include <algorithm>
#include <cmath>

#include "config/ini_file.h"
#include "shell/logger.h"
#include "shell/toolbox.h"

std::unique_ptr<TMusicCollection> MusicCollection;

TMusicCollectionItem::TMusicCollectionItem(const std::string& Name, std::unique_ptr<TMusic> Music)
    : Name(Name.substr(0, kMaxName)), Music(std::move(Music)) {}

TMusicCollectionItem::~TMusicCollectionItem() {
  Log->Debug("Destroying music " + Name, "MusicCollectionUnit, TMusicCollectionItem.Destroy");
}

void TMusicCollection::LoadFromFile(const std::string& IniName, const std::string& Section) {
  auto Ini = TIniFile::Create(IniName, true);
  Load(*Ini, Section);
}

void TMusicCollection::Load(const TIniFile& Ini, const std::string& Section) {
  if (Ini.SectionType(Section) == 1) LoadList(Ini, Section);
  else LoadCounted(Ini, Section);
}

namespace {

// The song numbers n from 1 to Count whose section Prefix + n exists, highest
// first. Numbers without a section would only be skipped, so a huge count
// costs nothing.
std::vector<int32_t> ExistingSongNumbers(const TIniFile& Ini, const std::string& Prefix, int32_t Count) {
  std::vector<int32_t> Numbers;
  for (const auto& S : Ini.Sections()) {
    if (S.Name.size() <= Prefix.size() || !VXToolbox::SameText(S.Name.substr(0, Prefix.size()), Prefix)) continue;
    const std::string Digits = S.Name.substr(Prefix.size());
    if (Digits[0] == '0' || Digits.size() > 10 ||
        !std::all_of(Digits.begin(), Digits.end(), [](char C) { return C >= '0' && C <= '9'; }))
      continue;
    const int64_t N = std::stoll(Digits);
    if (N >= 1 && N <= Count) Numbers.push_back(static_cast<int32_t>(N));
  }
  std::sort(Numbers.begin(), Numbers.end(), std::greater<>());
  Numbers.erase(std::unique(Numbers.begin(), Numbers.end()), Numbers.end());
  return Numbers;
}

}  // namespace

void TMusicCollection::LoadCounted(const TIniFile& Ini, const std::string& Section) {
  const int32_t Count = Ini.ReadInteger(Section, "NumberOfSongs", 0);
  for (const int32_t N : ExistingSongNumbers(Ini, Section + ".Song", Count)) {
    const std::string Song = Section + ".Song" + std::to_string(N);
    const std::string File = Ini.ReadString(Song, "File", "*");
    if (File == "*") continue;
    const std::string Title = Ini.ReadString(Song, "Title", "Song" + std::to_string(N));
    const std::string Name = Ini.ReadString(Song, "Name", Title);
    auto Item = std::make_unique<TMusicCollectionItem>(Name, nullptr);
    Item->Title = Title;
    Item->Author = Ini.ReadString(Song, "Author", "Mr.Anonymous");
    Item->OriginalFilename = Ini.ReadString(Song, "OriginalFilename", "Song" + std::to_string(N));
    Item->Music = std::make_unique<TMusic>(File);
    Add(std::move(Item));
  }
}

void TMusicCollection::LoadList(const TIniFile& Ini, const std::string& Section) {
  const int32_t Count = Ini.ListItemCount(Section);
  for (int32_t I = 0; I < Count; ++I) {
    const std::string Key = Ini.ReadListItem(Section, I);
    const std::string Song = Section + "." + Key;
    const std::string File = Ini.ReadString(Song, "File", "*");
    if (File == "*") continue;
    auto Item = std::make_unique<TMusicCollectionItem>(Ini.ReadString(Song, "Name", Key), nullptr);
    Item->Title = Ini.ReadString(Song, "Title", Item->Name);
    Item->Author = Ini.ReadString(Song, "Author", "Mr.Anonymous");
    Item->OriginalFilename = Ini.ReadString(Song, "OriginalFilename", "Unknown");
    Item->Music = std::make_unique<TMusic>(File);
    Add(std::move(Item));
  }
}

TMusicCollectionItem& TMusicCollection::Add(std::unique_ptr<TMusicCollectionItem> Item) {
  FItems.push_back(std::move(Item));
  return *FItems.back();
}

int TMusicCollection::IndexOfName(std::string_view Name) const {
  for (size_t I = 0; I < FItems.size(); ++I)
    if (FItems[I]->Name == Name) return static_cast<int>(I);
  return -1;
}

TMusicCollectionItem* TMusicCollection::ItemByName(std::string_view Name) const { return Get(IndexOfName(Name)); }

TMusicCollectionItem* TMusicCollection::Get(int Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return FItems[static_cast<size_t>(Index)].get();
}

void TMusicCollection::SetMasterVolume(float Volume) {
  FMasterVolume = std::isnan(Volume) ? 0.0f : std::clamp(Volume, 0.0f, 1.0f);
  if (!ApplyVolume) return;
  for (const auto& Item : FItems)
    if (Item->Music) Item->Music->SetVolume(FMasterVolume);
}

int TMusicCollection::LoadLate() {
  int Loaded = 0;
  for (const auto& Item : FItems)
    if (Item->Music && Item->Music->Handle() == 0 && Item->Music->LoadLate()) ++Loaded;
  return Loaded;
}

void TMusicCollection::ListSongs() const {
  Log->Trace("MusicCollection listing starts.");
  for (size_t I = 0; I < FItems.size(); ++I) Log->Trace(std::to_string(I + 1) + ". " + FItems[I]->Name);
  Log->Trace("MusicCollection listing ends.");
}

void StartMusicCollection() { MusicCollection = std::make_unique<TMusicCollection>(); }
void StopMusicCollection() { MusicCollection.reset(); }

#ifdef __EMSCRIPTEN__
#include <emscripten.h>

// The page calls this when it has put more songs where the game looks for
// them. Between two frames: the game never waits inside a music call.
extern "C" EMSCRIPTEN_KEEPALIVE int sq_music_arrived() { return MusicCollection ? MusicCollection->LoadLate() : 0; }
#endif
