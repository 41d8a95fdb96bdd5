#include "tests/support/data_folder.h"

namespace test_support {

std::string GameProgram() { return PlayDir() + "starquarry"; }

// The build keeps its made assets beside the play folder.
std::string DataArchive() { return PlayDir() + "../assets/starquarry_data.mad4"; }

TDataFolder::TDataFolder(const std::string& Archive)
    : FInDir(FDir.Path()),
      FVolumes(VolumeManager, std::make_unique<TMAD4HighLevel>()),
      FOpener(StreamOpener, std::make_unique<TVXStreamOpener>(FDir.Path() + "/Data/")) {
  FMounted = VolumeManager->Mount(Archive, 100, true);
}

}  // namespace test_support
