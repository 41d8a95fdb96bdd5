#include "game/songs.h"

#include "audio/music.h"
#include "audio/music_collection.h"
#include "audio/play_list.h"
#include "audio/play_lists.h"

std::string PlaylistSong(const std::string& List, int Index) {
  if (!PlayLists) return "";
  TPlayList* L = PlayLists->ByName(List);
  if (!L || L->Count() == 0) return "";
  const int N = L->Count();
  return L->Songs()[static_cast<size_t>(((Index % N) + N) % N)];
}

namespace {
TMusic* Song(const std::string& Name) {
  if (!MusicCollection || Name.empty()) return nullptr;
  TMusicCollectionItem* Item = MusicCollection->ItemByName(Name);
  return Item ? Item->Music.get() : nullptr;
}
}  // namespace

void PlaySong(const std::string& Name) {
  if (TMusic* M = Song(Name)) M->Play();
}

void StopSong(const std::string& Name) {
  if (TMusic* M = Song(Name)) M->Stop();
}

void ResumeSong(const std::string& Name) {
  if (TMusic* M = Song(Name)) M->Resume();
}
