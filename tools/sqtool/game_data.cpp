#include "tools/sqtool/game_data.h"

#include "shell/toolbox.h"
#include "storage/mad4_high_level.h"
#include "tools/sqtool/command.h"

std::string DefaultGameData() {
  const std::string Dir = SqToolDir();
  if (VXToolbox::FileExists(Dir + "Starquarry.mad4")) return Dir + "Starquarry.mad4";
  return Dir + "starquarry";
}

bool MountGameData(const std::string& Path) {
  const std::string File = Path.empty() ? DefaultGameData() : Path;
  return VolumeManager && VXToolbox::FileExists(File) && VolumeManager->Mount(File, 100, true);
}

std::string MountGameDataIfAny(const std::string& Path) {
  const std::string File = Path.empty() ? DefaultGameData() : Path;
  if (Path.empty() && !VXToolbox::FileExists(File)) return "";
  return MountGameData(File) ? "" : "cannot mount the data archive '" + File + "'";
}
