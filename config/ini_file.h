#pragma once
// The engine's INI dialect: normal sections of Key=Value lines and list
// sections ("[*Name]") of plain items. The whole text is parsed when the
// object is created; every lookup works on that copy. Section names and keys
// compare without regard to letter case, and the first match in text order
// wins.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "shell/stream.h"
#include "shell/toolbox.h"

enum class TSectionType : int32_t { stNormal = 0, stList = 1 };

class TIniFile {
 public:
  static constexpr const char* kVersion = "VXINIFile, version 2.13";

  struct TSection {
    std::string Name;  // as written between the brackets, less a list star
    TSectionType Type = TSectionType::stNormal;
    // Normal section: "Key=Value" texts; list section: the items as read.
    std::vector<std::string> Lines;
  };

  // Opens Name through the stream opener and parses it; raises EOpenStream
  // when the name resolves nowhere. A writable object (ReadOnly false)
  // writes itself back to Name when it is destroyed.
  static std::unique_ptr<TIniFile> Create(const std::string& Name, bool ReadOnly = true);
  // Parses Stream from its position to its end; the stream stays the caller's.
  static std::unique_ptr<TIniFile> CreateFromStream(TVXStreamBase& Stream);
  // Parses a text held in memory (the built-in texts).
  static std::unique_ptr<TIniFile> CreateFromText(std::string_view Text);

  // An empty, read-only object.
  TIniFile() = default;
  // Saves first when FileName is not empty (errors are logged, not raised).
  virtual ~TIniFile();
  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;

  // The value of Key in the first normal section called Section; a missing
  // or empty value tries Fallback, then gives Default. A result wrapped in
  // double quotes (and longer than two characters) loses them.
  std::string ReadString(std::string_view Section, std::string_view Key, std::string_view Default,
                         std::string_view Fallback = {}) const;
  // Decimal; raises EConvertError on text that is not a 32-bit integer.
  int32_t ReadInteger(std::string_view Section, std::string_view Key, int32_t Default,
                      std::string_view Fallback = {}) const;
  // True for "TRUE" and "YES" in any case and for "1"; an absent key gives Default.
  bool ReadBool(std::string_view Section, std::string_view Key, bool Default, std::string_view Fallback = {}) const;
  // "RRGGBB"; a value that is not six characters logs a warning and gives the
  // defaults; a non-hexadecimal pair raises EConvertError.
  void ReadRGB(std::string_view Section, std::string_view Key, uint16_t DefaultR, uint16_t DefaultG, uint16_t DefaultB,
               int32_t& R, int32_t& G, int32_t& B, std::string_view Fallback = {}) const;
  // The same as a colour value.
  TRGB ReadRGB(std::string_view Section, std::string_view Key, TRGB Default, std::string_view Fallback = {}) const;

  // Item Index (from 0) of a list section; "" with a warning when there is none.
  std::string ReadListItem(std::string_view Section, int32_t Index) const;
  // Items of a list section; 0 with a warning for a missing or normal section.
  int32_t ListItemCount(std::string_view Section) const;
  // -1 when no section has that name, else 0 (normal) or 1 (list).
  int32_t SectionType(std::string_view Section) const;
  // True when the key has a non-empty value.
  virtual bool ValueExists(std::string_view Section, std::string_view Key) const;

  // Writes the sections to FileName with CR LF line ends; raises
  // std::runtime_error when the file cannot be written.
  void Save() const;

  const std::string& FileName() const { return FFileName; }
  const std::vector<TSection>& Sections() const { return FSections; }

 private:
  void Parse(std::string_view Text);
  void AddLine(std::string Line);
  // The first section of that name, or null.
  const TSection* FindSection(std::string_view Name) const;
  // The value of Key in a normal section ("" when absent).
  static std::string_view FindValue(const TSection& Section, std::string_view Key);

  std::string FFileName;
  std::vector<TSection> FSections;
  // Upper-cased name -> index of the first section of that name.
  std::unordered_map<std::string, size_t> FIndex;
  int64_t FCurrent = -1;  // index of the section that takes lines, -1 for none
};
