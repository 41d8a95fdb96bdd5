#pragma once
// The players' best runs as the map selection offers them: watched on the
// play screen, and their step counts beside a map's author.
#include <string>

// Plays the player's best run of map MapNo of the global Maps on the play
// screen, until it ends or a key is pressed. False, with nothing shown, when
// no run is kept for the map.
bool WatchBestRun(const std::string& LevelPack, const std::string& Player, int MapNo);

// What the author line adds for the map: the best run's step count, or ""
// when no run is kept.
std::string BestRunNote(const std::string& LevelPack, const std::string& Player, int MapNo);

// The best run kept for the map had a hint's help.
bool BestRunHinted(const std::string& LevelPack, const std::string& Player, int MapNo);
