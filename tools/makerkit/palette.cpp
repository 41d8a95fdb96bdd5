#include "tools/makerkit/palette.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace Maker {

TPalette TPalette::Parse(const std::string& Text) {
  TPalette P;
  std::istringstream In(Text);
  std::string Line;
  int LineNo = 0;
  while (std::getline(In, Line)) {
    ++LineNo;
    if (const size_t C = Line.find(';'); C != std::string::npos) Line.erase(C);
    std::istringstream Words(Line);
    std::string Name, Hex, Extra;
    if (!(Words >> Name)) continue;
    const bool Ok = static_cast<bool>(Words >> Hex) && !(Words >> Extra) && Hex.size() == 6 &&
                    Hex.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
    if (!Ok) throw std::runtime_error("palette line " + std::to_string(LineNo) + ": expected NAME RRGGBB");
    if (P.FColors.count(Name))
      throw std::runtime_error("palette line " + std::to_string(LineNo) + ": " + Name + " given twice");
    const unsigned long V = std::stoul(Hex, nullptr, 16);
    P.FColors[Name] = {static_cast<float>((V >> 16) & 0xFF), static_cast<float>((V >> 8) & 0xFF),
                       static_cast<float>(V & 0xFF)};
  }
  return P;
}

TPalette TPalette::Load(const std::string& Path) {
  std::ifstream File(Path);
  if (!File) throw std::runtime_error("cannot read " + Path);
  std::stringstream S;
  S << File.rdbuf();
  return Parse(S.str());
}

TRgb TPalette::operator()(const std::string& Name) const {
  const auto It = FColors.find(Name);
  if (It == FColors.end()) throw std::out_of_range("no colour named " + Name + " in the palette");
  return It->second;
}

}  // namespace Maker
