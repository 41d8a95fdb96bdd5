#pragma once
// Setup strings configure UI components: "Key=Value|Key=Value|...". Each
// command is checked against a built-in schema of the component kinds, its
// value against the key's type, and stored under "<prefix>.<KEY>" in one
// shared store from which the components read their settings back.
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "config/key_names.h"

// An invalid setup command; the message names the key and the value.
class ESetupCommand : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TSetupCommandItem {
  std::vector<std::string> Values;
};

class TSetupCommandHandler {
 public:
  static constexpr const char* kVersion = "SetupCommandUnit, version 1.07";

  TSetupCommandHandler();

  // Stores every command of Text for a component of Kind ("EditBox",
  // "ListBox", "Menu") under Prefix; raises ESetupCommand at the first
  // invalid command, keeping those stored before it.
  void Parse(std::string_view Kind, std::string_view Prefix, std::string_view Text);
  // Forgets every entry of Prefix.
  void Clear(std::string_view Prefix);
  // The first value of the key, or "".
  std::string GetValue(std::string_view Prefix, std::string_view Key) const;
  // Every value of the key in order; empty when there is none.
  std::vector<std::string> GetValues(std::string_view Prefix, std::string_view Key) const;
  bool HasKey(std::string_view Prefix, std::string_view Key) const;

  // "KIND.KEY=TYPE" lines, upper-cased, without the multi-value "+".
  const std::vector<std::string>& Schema() const { return FSchema; }
  // "KIND.KEY" names that take several values.
  const std::vector<std::string>& MultiKeys() const { return FMultiKeys; }
  size_t EntryCount() const { return FStore.size(); }
  // The schema as an INI text of list sections.
  static std::string_view SchemaText();

 private:
  void Store(std::string_view Kind, std::string_view Prefix, const std::string& Piece);
  // The key-name value as a decimal symbol, or "" when the name is unknown.
  std::string KeySymbol(std::string_view Name) const;

  std::vector<std::string> FSchema;
  std::unordered_map<std::string, std::string> FTypes;  // "KIND.KEY" -> type, first wins
  std::vector<std::string> FBoolWords;
  std::vector<std::string> FMultiKeys;
  // Upper-cased "PREFIX.KEY" -> values.
  std::map<std::string, TSetupCommandItem> FStore;
  // Used only when the key-name module has not been started.
  mutable std::unique_ptr<TKeyNameTable> FOwnKeyNames;
};

// The module singleton.
extern std::unique_ptr<TSetupCommandHandler> SetupCommands;

void StartSetupCommands();
void StopSetupCommands();
