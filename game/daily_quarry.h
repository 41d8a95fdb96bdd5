#pragma once
// The Daily Quarry: five maps made from the date, the same five for every
// player on that day, easy to hard. The first visit of a day makes them and
// keeps them as a level pack in the daily folder; later visits that day
// load that file at once. The last seven days stay playable.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct TDailyDate {
  int Year = 2000, Month = 1, Day = 1;
  bool operator==(const TDailyDate&) const = default;
};

inline constexpr int kDailyMaps = 5;
inline constexpr int kDailyPastDays = 7;
inline constexpr const char* kDailyFolder = "daily";

// The local date now.
TDailyDate Today();
// The date Days days before Date.
TDailyDate DaysBefore(const TDailyDate& Date, int Days);
// "2026-12-07".
std::string DailyText(const TDailyDate& Date);
// The seed the day's maps grow from: the date alone.
uint32_t DailySeed(const TDailyDate& Date);
// The day's pack in Folder: "daily/2026-12-07.sq".
std::string DailyPackFile(const TDailyDate& Date, const std::string& Folder = kDailyFolder);

// Fraction (0 to 1) of the day's maps made so far; false stops the making.
using TDailyProgress = std::function<bool(double Fraction)>;

// The day's pack file, made first when Folder holds none (the game's block
// images are loaded for the search: the exit's animation decides when it
// opens). A file already there is used as it is, never made again (nor
// replaced when damaged). Empty with the reason in Error when it cannot be
// made or written, or Progress stopped it.
std::string EnsureDailyPack(const TDailyDate& Date, const TDailyProgress& Progress, std::string& Error,
                            const std::string& Folder = kDailyFolder);
