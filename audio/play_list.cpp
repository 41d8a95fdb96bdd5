#include "audio/play_list.h"

void TPlayList::GetCurrentSong(std::string& Song) const {
  Song = CurrentSong >= 0 && CurrentSong < Count() ? FSongs[static_cast<size_t>(CurrentSong)] : std::string();
}

// Both steps wrap with >= and < so an empty list stays put instead of
// counting away.
void TPlayList::Next() {
  ++CurrentSong;
  if (CurrentSong >= Count()) CurrentSong = 0;
}

void TPlayList::Previous() {
  --CurrentSong;
  if (CurrentSong < 0) CurrentSong = Count() - 1;
}

void TPlayList::SetCurrentSong(int32_t Index) {
  if (Index >= 0 && Index < Count()) CurrentSong = Index;
}
