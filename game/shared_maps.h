#pragma once
// The "Shared maps" level pack in the player's folder: every map opened from
// a share code is added to it once (with the way the code carried, as its
// member NNN.keys), so that it is played, kept and listed like the maps of
// any pack, and the player's best run of it is kept.
#include <string>

class TXMap;

inline constexpr const char* kSharedPackFile = "shared_maps.sq";
inline constexpr const char* kSharedPackName = "Shared maps";
inline constexpr const char* kSharedPackAuthor = "Maps friends sent";

// The map's number (from 0) in the pack File, where a map with the same
// cells, name and author already stands or where Map is added now. A way
// given is kept with the map when it carries none yet. -1 with Error set
// when the pack cannot be read (it is then left as it is), is full, or
// cannot be written.
int KeepSharedMap(const TXMap& Map, const std::string& Way, std::string& Error,
                  const std::string& File = kSharedPackFile);
