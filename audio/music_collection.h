#pragma once
// The game's songs by name, loaded from an INI text in a counted or a list
// form, with a master volume applied to every song.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "audio/music.h"

class TIniFile;

class TMusicCollectionItem {
 public:
  static constexpr size_t kMaxName = 24;

  // Name is cut to kMaxName characters.
  TMusicCollectionItem(const std::string& Name, std::unique_ptr<TMusic> Music);
  ~TMusicCollectionItem();
  TMusicCollectionItem(const TMusicCollectionItem&) = delete;
  TMusicCollectionItem& operator=(const TMusicCollectionItem&) = delete;

  std::string Name;
  std::unique_ptr<TMusic> Music;
  std::string Title;
  std::string Author;
  std::string OriginalFilename;
};

class TMusicCollection {
 public:
  static constexpr const char* kVersion = "MusicCollectionUnit, version 1.56a";

  // Opens the INI resource read-only and loads Section; raises EOpenStream
  // when the INI cannot be found.
  void LoadFromFile(const std::string& IniName, const std::string& Section);
  // A list section gives the list form; anything else the counted form,
  // whose songs come in reverse order (the last song section first).
  void Load(const TIniFile& Ini, const std::string& Section);

  TMusicCollectionItem& Add(std::unique_ptr<TMusicCollectionItem> Item);
  // Exact name (letter case counts).
  int IndexOfName(std::string_view Name) const;
  TMusicCollectionItem* ItemByName(std::string_view Name) const;
  TMusicCollectionItem* Get(int Index) const;
  int Count() const { return static_cast<int>(FItems.size()); }

  // Clamped to 0..1; handed to every song while ApplyVolume is set.
  void SetMasterVolume(float Volume);
  float MasterVolume() const { return FMasterVolume; }
  bool ApplyVolume = true;

  // Songs that failed to load try again (see TMusic::LoadLate); how many
  // are loaded now that were not before.
  int LoadLate();

  // Trace lines: a heading, one "N. name" per song, a closing line.
  void ListSongs() const;

 private:
  void LoadCounted(const TIniFile& Ini, const std::string& Section);
  void LoadList(const TIniFile& Ini, const std::string& Section);

  std::vector<std::unique_ptr<TMusicCollectionItem>> FItems;
  float FMasterVolume = 1;
};

// The module singleton.
extern std::unique_ptr<TMusicCollection> MusicCollection;

void StartMusicCollection();
void StopMusicCollection();
