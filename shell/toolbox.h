#pragma once
// Small string, number and stream helpers shared by every loader.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class TVXStreamBase;

// Raised by the hexadecimal conversion (and so by colour parsing).
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TRGB {
  uint8_t R = 0, G = 0, B = 0;
  bool operator==(const TRGB&) const = default;
};

namespace VXToolbox {

inline constexpr const char* kUnitName = "VXToolbox";
inline constexpr const char* kVersion = "VXToolbox, version 1.0";

std::string UpperCase(std::string_view Text);
std::string LowerCase(std::string_view Text);
// Compares without regard to letter case (ASCII).
bool SameText(std::string_view A, std::string_view B);

// "BMP,0,CEL,1,...,X": alternating keys and values, a lone last element is the default.
std::string KeywordLookup(std::string_view Key, std::string_view List, bool IgnoreCase);
// Appends "." + Extension unless the name already has one (see the rules in the source).
std::string CompleteExtension(const std::string& Name, std::string_view Extension);
// 1-based position of the N-th occurrence of Find counted from the end; 0 if fewer.
int NthLastPos(std::string_view Find, std::string_view Text, int N);
// Hexadecimal text to integer; raises EConvertError on a non-hex character.
int64_t HexToInt(std::string_view Text);
// "RRGGBB" to a colour; raises EConvertError on a bad digit.
TRGB ParseColor(std::string_view Text);
// Exactly six upper-case hexadecimal digits.
bool IsHexColor(std::string_view Text);
// Digits and separators after an optional "-"; Separator 0 means the default ".".
bool IsNumber(std::string_view Text, char Separator);

std::string Trim(std::string_view Text);
std::string TrimLeft(std::string_view Text);
std::string TrimRight(std::string_view Text);
std::string ReplaceAll(std::string Text, std::string_view Old, std::string_view New);
uint8_t CountChar(char Ch, std::string_view Text);
std::string PaddedNumber(int64_t Value, int Width, char Pad);
std::string PadLeft(char Pad, std::string Text, int Width);
std::string RepeatChar(char Ch, int N);

// Reads one text line (LF or CR LF) through the shared 512-byte buffer,
// leaving the stream just after the line feed. "" at the end of the stream.
std::string ReadLine(TVXStreamBase& Stream);

// Size of a file on disk, -1 when it cannot be opened.
int64_t FileSize(const std::string& FileName);
int BitCount(uint8_t Byte);

// Path helpers (Linux separators).
std::string ExtractFileName(std::string_view Path);
// Directory part including its trailing "/" ("" when none).
std::string ExtractFileDir(std::string_view Path);
bool FileExists(const std::string& FileName);
// Integer from decimal text; Default when the text is not a whole number.
int64_t StrToIntDef(std::string_view Text, int64_t Default);

}  // namespace VXToolbox
