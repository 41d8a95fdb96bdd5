#pragma once
// The game's data archive as the tools mount it: the starquarry program
// beside sqtool (its appended archive), or Starquarry.mad4 beside it.
#include <string>

// The default data file.
std::string DefaultGameData();
// Mounts Path (DefaultGameData() when empty) at the game's priority. False
// when the file is missing or not an archive.
bool MountGameData(const std::string& Path);
