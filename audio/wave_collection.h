#pragma once
// The game's sound effects by name, loaded from a list section of an INI
// text, with a master volume over each effect's own.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "audio/wave.h"

class TIniFile;

class TWaveCollectionItem {
 public:
  static constexpr size_t kMaxName = 64;

  // Name is cut to kMaxName characters.
  TWaveCollectionItem(std::unique_ptr<TWave> Wave, const std::string& Name, float Volume);
  ~TWaveCollectionItem();
  TWaveCollectionItem(const TWaveCollectionItem&) = delete;
  TWaveCollectionItem& operator=(const TWaveCollectionItem&) = delete;

  std::string Name;
  std::unique_ptr<TWave> Wave;
  float Volume;  // the effect's own, 0 to 1
};

class TWaveCollection {
 public:
  static constexpr const char* kVersion = "WaveCollectionUnit, version 1.54a";

  // Opens the INI resource read-only and loads the list section Section;
  // raises EOpenStream when the INI cannot be found.
  void LoadFromFile(const std::string& IniName, const std::string& Section);
  void Load(const TIniFile& Ini, const std::string& Section);

  TWaveCollectionItem& Add(std::unique_ptr<TWave> Wave, const std::string& Name, float Volume);
  // Exact name (letter case counts); null when absent.
  TWaveCollectionItem* ItemByName(std::string_view Name) const;
  // Null outside the list.
  TWaveCollectionItem* Get(int Index) const;
  int Count() const { return static_cast<int>(FItems.size()); }

  // Clamped to 0..1; every effect's volume becomes its own times this.
  void SetMasterVolume(float Volume);
  float MasterVolume() const { return FMasterVolume; }

 private:
  void LoadItem(const TIniFile& Ini, const std::string& List, const std::string& Key);

  std::vector<std::unique_ptr<TWaveCollectionItem>> FItems;
  float FMasterVolume = 0;
};

// The module singleton.
extern std::unique_ptr<TWaveCollection> WaveCollection;

void StartWaveCollection();
void StopWaveCollection();
