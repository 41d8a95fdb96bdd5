#include "world/pack_ways.h"

#include <cctype>

#include "shell/toolbox.h"

namespace {
constexpr size_t kKeysPerLine = 60;

std::string WayMemberName(int Number) { return VXToolbox::PaddedNumber(Number, 3, '0') + ".keys"; }
}  // namespace

TPackMember WayMember(int Number, const std::string& Keys) {
  TPackMember Member{WayMemberName(Number), {}};
  for (size_t I = 0; I < Keys.size(); I += kKeysPerLine) {
    const std::string Line = Keys.substr(I, kKeysPerLine) + "\n";
    Member.Data.insert(Member.Data.end(), Line.begin(), Line.end());
  }
  return Member;
}

std::string CarriedWay(const std::vector<TPackMember>& Extras, int Number) {
  const std::string Name = WayMemberName(Number);
  for (const TPackMember& M : Extras) {
    if (!VXToolbox::SameText(M.Name, Name)) continue;
    std::string Keys;
    for (uint8_t B : M.Data) {
      if (std::isspace(B)) continue;
      const char C = static_cast<char>(std::toupper(B));
      if (C != 'U' && C != 'D' && C != 'L' && C != 'R' && C != '.') return "";
      Keys += C;
    }
    return Keys;
  }
  return "";
}
