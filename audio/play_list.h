#pragma once
// A named list of song names with a current position that steps forwards and
// backwards, wrapping at both ends.
#include <cstdint>
#include <string>
#include <vector>

class TPlayList {
 public:
  explicit TPlayList(std::string Name) : Name(std::move(Name)) {}

  void Add(const std::string& Song) { FSongs.push_back(Song); }
  int Count() const { return static_cast<int>(FSongs.size()); }
  const std::vector<std::string>& Songs() const { return FSongs; }

  // The song at CurrentSong, or "" when that is outside the list.
  void GetCurrentSong(std::string& Song) const;
  void Next();
  void Previous();
  // Ignored unless 0 <= Index < Count().
  void SetCurrentSong(int32_t Index);

  int32_t CurrentSong = 0;
  std::string Name;

 private:
  std::vector<std::string> FSongs;
};
