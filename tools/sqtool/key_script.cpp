#include "tools/sqtool/key_script.h"

#include <cctype>

#include "shell/file_stream.h"

namespace {
// White space around the keys is free, but not without end: an exported
// script has a line break every 64 keys, a hand-made one perhaps a blank
// between keys. Past this many bytes a key for every eight is impossible.
constexpr size_t kBytesPerStep = 8;

std::string TooLong(size_t MaxSteps) { return "more than " + std::to_string(MaxSteps) + " steps"; }

// Appends the keys of one piece of a script.
bool AppendKeys(std::string_view Text, std::string& Keys, std::string& Error, size_t MaxSteps) {
  for (char C : Text) {
    if (C == ' ' || C == '\t' || C == '\r' || C == '\n') continue;
    const char U = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
    if (U != 'U' && U != 'D' && U != 'L' && U != 'R' && U != '.') {
      Error = std::string("bad key '") + C + "' (use U, D, L, R or .)";
      return false;
    }
    if (Keys.size() >= MaxSteps) {
      Error = "the key script is too long (" + TooLong(MaxSteps) + ")";
      return false;
    }
    Keys += U;
  }
  return true;
}
}  // namespace

bool ParseKeyScript(const std::string& Text, std::string& Keys, std::string& Error, size_t MaxSteps) {
  Keys.clear();
  return AppendKeys(Text, Keys, Error, MaxSteps);
}

bool ReadKeyScriptFile(const std::string& File, std::string& Keys, std::string& Error, size_t MaxSteps) {
  Keys.clear();
  auto In = TFileStream::Open(File, TFileStream::TMode::Read);
  if (!In) {
    Error = "cannot read key file '" + File + "'";
    return false;
  }
  if (static_cast<uint64_t>(In->Size()) / kBytesPerStep > MaxSteps) {
    Error = "key file '" + File + "' is too long (" + std::to_string(In->Size()) + " bytes; a script holds at most " +
            std::to_string(MaxSteps) + " steps)";
    return false;
  }
  char Piece[65536];
  for (;;) {
    const size_t N = In->Read(Piece, sizeof Piece);
    if (N == 0) return true;
    if (!AppendKeys(std::string_view(Piece, N), Keys, Error, MaxSteps)) {
      if (Keys.size() >= MaxSteps) Error = "key file '" + File + "' is too long (" + TooLong(MaxSteps) + ")";
      return false;
    }
  }
}
