#pragma once
// SDL 1.2 key names (without their "SDLK_" prefix) and their key symbols,
// from a table compiled into the program. Setup strings name keys this way.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class TKeyNameTable {
 public:
  static constexpr const char* kVersion = "SDLKeyNames, version 1.0";

  // Builds the table from the built-in text.
  TKeyNameTable();

  // The value text of a name, any letter case; nothing when absent.
  std::optional<std::string> Value(std::string_view Name) const;
  size_t Count() const { return FItems.size(); }
  // Name=Value lines, one per key.
  static std::string_view BuiltInText();

 private:
  std::vector<std::pair<std::string, std::string>> FItems;
  std::unordered_map<std::string, size_t> FIndex;  // upper-cased name -> first item
};

// The module singleton.
extern std::unique_ptr<TKeyNameTable> KeyNames;

void StartKeyNames();
void StopKeyNames();
