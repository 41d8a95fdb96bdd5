#pragma once
// The Daily Quarry's rows in the level-pack list and what choosing one
// does: today's maps (made, with a progress bar, at the day's first visit)
// or a list of the past days.
#include <string>
#include <vector>

// The rows the level-pack list shows after the packs on disk.
std::vector<std::string> DailyRows();
// Row (an index into DailyRows) chosen: the pack file to load, or "" when
// the player went back or the maps could not be made.
std::string ChooseDailyRow(size_t Row);
