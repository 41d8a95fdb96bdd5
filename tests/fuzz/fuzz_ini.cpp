// The INI reader and its lookups on arbitrary text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "config/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string_view Text(reinterpret_cast<const char*>(Data), Size);
  const auto Ini = TIniFile::CreateFromText(Text);
  for (const TIniFile::TSection& S : Ini->Sections()) {
    (void)Ini->SectionType(S.Name);
    if (S.Type == TSectionType::stList) {
      const int32_t N = Ini->ListItemCount(S.Name);
      if (N > 0) (void)Ini->ReadListItem(S.Name, N - 1);
      (void)Ini->ReadListItem(S.Name, N);
      continue;
    }
    for (size_t I = 0; I < S.Lines.size() && I < 8; ++I) {
      const std::string_view Line = S.Lines[I];
      const std::string_view Key = Line.substr(0, Line.find('='));
      (void)Ini->ReadString(S.Name, Key, "\"d\"", "Fallback");
      (void)Ini->ReadBool(S.Name, Key, true);
      try {
        (void)Ini->ReadInteger(S.Name, Key, 0);
      } catch (const EConvertError&) {}
      try {
        int32_t R, G, B;
        Ini->ReadRGB(S.Name, Key, 1, 2, 3, R, G, B);
      } catch (const EConvertError&) {}
    }
  }
  return 0;
}
