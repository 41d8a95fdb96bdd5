#pragma once
// The named playlists, loaded from a list section of an INI text.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "audio/play_list.h"

class TIniFile;

class TPlayLists {
 public:
  static constexpr const char* kVersion = "PlaylistUnit, version 1.00a";

  // Opens the INI resource read-only and loads the list section Section;
  // raises EOpenStream when the INI cannot be found.
  void LoadFromFile(const std::string& IniName, const std::string& Section);
  // Each item P of Section names a playlist whose songs are the items of
  // Section + "." + P.
  void Load(const TIniFile& Ini, const std::string& Section);

  TPlayList& Add(std::unique_ptr<TPlayList> List);
  // Exact name (letter case counts); null when absent.
  TPlayList* ByName(std::string_view Name) const;
  TPlayList* Get(int Index) const;
  int Count() const { return static_cast<int>(FLists.size()); }

 private:
  std::vector<std::unique_ptr<TPlayList>> FLists;
};

// The module singleton.
extern std::unique_ptr<TPlayLists> PlayLists;

void StartPlayLists();
void StopPlayLists();
