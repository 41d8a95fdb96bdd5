#include "registry/player_name.h"

#include <algorithm>

std::string PlayerNameProblem(const std::string& Name) {
  if (Name.empty()) return "it is empty";
  if (Name.size() > kMaxPlayerName) return "it is longer than " + std::to_string(kMaxPlayerName) + " characters";
  // Printable ASCII only: the fonts draw nothing else, and a control
  // character or a line break would tear a listing apart.
  const bool Printable = std::all_of(Name.begin(), Name.end(), [](char C) { return C >= 0x20 && C < 0x7F; });
  return Printable ? std::string() : "it holds a character that is not printable";
}
