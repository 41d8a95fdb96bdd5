#include "audio/wave_collection.h"

#include <algorithm>
#include <cmath>

#include "config/ini_file.h"
#include "shell/logger.h"

std::unique_ptr<TWaveCollection> WaveCollection;

TWaveCollectionItem::TWaveCollectionItem(std::unique_ptr<TWave> Wave, const std::string& Name, float Volume)
    : Name(Name.substr(0, kMaxName)), Wave(std::move(Wave)), Volume(Volume) {}

TWaveCollectionItem::~TWaveCollectionItem() {
  Log->Debug("Destroying wave " + Name, "WaveCollectionUnit, TWaveCollectionItem.Destroy");
}

void TWaveCollection::LoadFromFile(const std::string& IniName, const std::string& Section) {
  auto Ini = TIniFile::Create(IniName, true);
  Load(*Ini, Section);
}

void TWaveCollection::Load(const TIniFile& Ini, const std::string& Section) {
  const char* Heading = "WaveCollectionUnit, TWaveCollection.Load";
  const int32_t Type = Ini.SectionType(Section);
  if (Type == 0) {
    Log->Error("Section type must be List! (" + Section + ")", Heading);
    return;
  }
  if (Type != 1) {
    Log->Error("Section not found in INI file+ (" + Section + ")", Heading);
    return;
  }
  const int32_t Count = Ini.ListItemCount(Section);
  for (int32_t I = 0; I < Count; ++I) LoadItem(Ini, Section, Ini.ReadListItem(Section, I));
}

void TWaveCollection::LoadItem(const TIniFile& Ini, const std::string& List, const std::string& Key) {
  const std::string Section = List + "." + Key;
  const char* Heading = "WaveCollectionUnit, TWaveCollection.LoadItem";
  if (Ini.SectionType(Section) != 0) Log->Warning("Item not found! (" + Section + ")", Heading);
  const std::string File = Ini.ReadString(Section, "File", "*");
  if (File == "*") {
    Log->Warning("File not specified! (" + Section + ")", Heading);
    return;
  }
  const float Volume = static_cast<float>(Ini.ReadInteger(Section, "Volume", 100)) / 100.0f;
  const std::string Name = Ini.ReadString(Section, "Name", Key);
  const int32_t Max = Ini.ReadInteger(Section, "Max", 1);
  const bool Looped = Ini.ReadBool(Section, "Looped", false);
  TWaveCollectionItem& Item = Add(std::make_unique<TWave>(File, Looped, Max), Name, Volume);
  Item.Wave->SetVolume(Volume);
  Item.Wave->SetFrequency(Ini.ReadInteger(Section, "Frequency", 44100));
  Item.Wave->SetPan(static_cast<float>(Ini.ReadInteger(Section, "Pan", 0)) / 100.0f);
}

TWaveCollectionItem& TWaveCollection::Add(std::unique_ptr<TWave> Wave, const std::string& Name, float Volume) {
  FItems.push_back(std::make_unique<TWaveCollectionItem>(std::move(Wave), Name, Volume));
  return *FItems.back();
}

TWaveCollectionItem* TWaveCollection::ItemByName(std::string_view Name) const {
  for (const auto& Item : FItems)
    if (Item->Name == Name) return Item.get();
  return nullptr;
}

TWaveCollectionItem* TWaveCollection::Get(int Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return FItems[static_cast<size_t>(Index)].get();
}

void TWaveCollection::SetMasterVolume(float Volume) {
  FMasterVolume = std::isnan(Volume) ? 0.0f : std::clamp(Volume, 0.0f, 1.0f);
  for (const auto& Item : FItems)
    if (Item->Wave) Item->Wave->SetVolume(Item->Volume * FMasterVolume);
}

void StartWaveCollection() { WaveCollection = std::make_unique<TWaveCollection>(); }
void StopWaveCollection() { WaveCollection.reset(); }
