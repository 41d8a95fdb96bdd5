#include "game/level_pack_list.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "shell/logger.h"
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
    const std::string Name = It->path().filename().string();
    if (!IsPackName(Name)) continue;
    std::error_code Ignored;
    // A link to a pack counts as the pack. Anything else of that name (a
    // folder, a FIFO that would hold the game in open(), a dangling link)
    // is no pack to offer.
    if (It->is_regular_file(Ignored)) Names.push_back(Name);
    else Log->Warning("Not a regular file, not offered as a level pack: " + Name, "SQGameUnit, ListLevelPacks");
  }
  std::sort(Names.begin(), Names.end(), [](const std::string& A, const std::string& B) {
    const std::string UA = VXToolbox::UpperCase(A), UB = VXToolbox::UpperCase(B);
    // Names that differ only in case keep a fixed order too.
    return UA != UB ? UA < UB : A < B;
  });
  return Names;
}
