#pragma once
// The game's data archive as the tools mount it: the starquarry program
// beside sqtool (its appended archive), or Starquarry.mad4 beside it.
#include <string>

// The default data file.
std::string DefaultGameData();
// Mounts Path (DefaultGameData() when empty) at the game's priority. False
// when the file is missing or not an archive.
bool MountGameData(const std::string& Path);
// For the commands that read names as the game does, where loose files on
// disk may be all there is: Path when given (it must then mount), else the
// default when it exists. "" when done, else the one-line error.
std::string MountGameDataIfAny(const std::string& Path);
