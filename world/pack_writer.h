#pragma once
// Writing a level pack: the member "info" (a first line, then the pack's
// name and author), the maps as 001.mpp, 002.mpp, ... stored as MAPT, and
// any further members (the pack's own controls.ini or block images). sqtool
// pack build and the editor's save both write packs through here.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TXMap;

struct TPackMember {
  std::string Name;
  std::vector<uint8_t> Data;
};

inline constexpr const char* kPackInfoFirstLine = "Starquarry level pack";
inline constexpr int kMaxPackMaps = 999;

// The member name of map Number (1 for the first map): "001.mpp".
std::string PackMapMember(int Number);
// The map as MAPT bytes, the form a pack stores.
std::vector<uint8_t> MapAsMapt(const TXMap& Map);

// Writes the whole pack to FileName through the safe file writer: a pack
// that cannot be written completely leaves the old file as it was. False
// with the reason in Error (the name or author holds a line break, too many
// maps, a map that was not read in full, an extra member with a bad name or
// one that would hide info or a map, or the file cannot be written: then
// Cause gets the system's cause alone, "No space left on device").
bool WritePack(const std::string& FileName, const std::string& Name, const std::string& Author,
               const std::vector<std::shared_ptr<const TXMap>>& Maps, const std::vector<TPackMember>& Extras,
               std::string& Error, std::string* Cause = nullptr);
