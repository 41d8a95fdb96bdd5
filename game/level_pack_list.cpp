#include "game/level_pack_list.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "shell/toolbox.h"

namespace {

bool IsPackName(const std::string& Name) {
  return Name.size() > 3 && VXToolbox::UpperCase(Name.substr(Name.size() - 3)) == ".SQ";
}

}  // namespace

std::vector<std::string> ListLevelPacks(const std::string& Folder) {
  namespace fs = std::filesystem;
  std::vector<std::string> Names;
  std::error_code Error;
  fs::directory_iterator It(Folder, Error);
  for (; !Error && It != fs::directory_iterator(); It.increment(Error)) {
    std::error_code Ignored;
    // A link to a pack counts as the pack; a folder named "x.sq" does not.
    if (It->is_directory(Ignored)) continue;
    const std::string Name = It->path().filename().string();
    if (IsPackName(Name)) Names.push_back(Name);
  }
  std::sort(Names.begin(), Names.end(), [](const std::string& A, const std::string& B) {
    const std::string UA = VXToolbox::UpperCase(A), UB = VXToolbox::UpperCase(B);
    // Names that differ only in case keep a fixed order too.
    return UA != UB ? UA < UB : A < B;
  });
  return Names;
}
