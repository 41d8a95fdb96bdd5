#pragma once
// The level packs a player may choose: the regular files (or links to them)
// of a folder whose names end in ".sq" in any letter case. A directory
// listing comes in whatever order the file system keeps, so the list is
// sorted by name ignoring case.
#include <string>
#include <vector>

// Names only (no folder), sorted ignoring case; empty when the folder holds
// no pack or cannot be read.
std::vector<std::string> ListLevelPacks(const std::string& Folder = ".");
