#include "game/daily_quarry.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <memory>
#include <system_error>

#include "maps/xmap.h"
#include "shell/toolbox.h"
#include "solver/generator.h"
#include "world/block_images.h"
#include "world/pack_writer.h"

namespace {

// The day's maps, before they are sorted from easy to hard: the hardest
// difficulty is left out, its maps take too long to find for a visit.
constexpr int kDifficulties[kDailyMaps] = {1, 2, 2, 3, 3};

std::string ScriptText(const std::string& Keys) {
  std::string Text;
  for (size_t I = 0; I < Keys.size(); I += 60) Text += Keys.substr(I, 60) + "\n";
  return Text;
}

}  // namespace

TDailyDate Today() {
  const std::time_t Now = std::time(nullptr);
  std::tm Local{};
  localtime_r(&Now, &Local);
  return {Local.tm_year + 1900, Local.tm_mon + 1, Local.tm_mday};
}

TDailyDate DaysBefore(const TDailyDate& Date, int Days) {
  using namespace std::chrono;
  const sys_days Then =
      sys_days(year(Date.Year) / month(static_cast<unsigned>(Date.Month)) / day(static_cast<unsigned>(Date.Day))) -
      days(Days);
  const year_month_day D(Then);
  return {static_cast<int>(D.year()), static_cast<int>(static_cast<unsigned>(D.month())),
          static_cast<int>(static_cast<unsigned>(D.day()))};
}

std::string DailyText(const TDailyDate& Date) {
  return VXToolbox::PaddedNumber(Date.Year, 4, '0') + "-" + VXToolbox::PaddedNumber(Date.Month, 2, '0') + "-" +
         VXToolbox::PaddedNumber(Date.Day, 2, '0');
}

uint32_t DailySeed(const TDailyDate& Date) {
  // Neighbouring days must not walk the same chain of candidates: the
  // date's number is mixed before it seeds the generator.
  uint32_t Z = static_cast<uint32_t>(Date.Year * 10000 + Date.Month * 100 + Date.Day);
  Z = (Z ^ (Z >> 16)) * 0x7FEB352Du;
  Z = (Z ^ (Z >> 15)) * 0x846CA68Bu;
  return Z ^ (Z >> 16);
}

std::string DailyPackFile(const TDailyDate& Date, const std::string& Folder) {
  return Folder + "/" + DailyText(Date) + ".sq";
}

std::string EnsureDailyPack(const TDailyDate& Date, const TDailyProgress& Progress, std::string& Error,
                            const std::string& Folder) {
  const std::string File = DailyPackFile(Date, Folder);
  std::error_code Ignored;
  if (std::filesystem::exists(File, Ignored)) return File;
  LoadBlockImages();
  std::vector<TGeneratedMap> Made;
  uint32_t Seed = DailySeed(Date);
  for (int I = 0; I < kDailyMaps; ++I) {
    TGenerateOptions Options;
    Options.Difficulty = kDifficulties[I];
    TGeneratedMap Map;
    // Each candidate moves the bar a little within the map's share.
    const auto Tick = [&](int Tried) { return !Progress || Progress((I + std::min(0.9, Tried / 60.0)) / kDailyMaps); };
    if (!GenerateMap(Seed, Options, Map, Tick)) {
      Error = "the day's maps could not be made";
      return "";
    }
    Made.push_back(std::move(Map));
  }
  std::stable_sort(Made.begin(), Made.end(),
                   [](const TGeneratedMap& A, const TGeneratedMap& B) { return A.Rating.Value < B.Rating.Value; });
  std::vector<std::shared_ptr<const TXMap>> Maps;
  std::vector<TPackMember> Scripts;
  for (size_t I = 0; I < Made.size(); ++I) {
    Maps.push_back(Made[I].Map);
    const std::string Keys = ScriptText(Made[I].Keys);
    Scripts.push_back({VXToolbox::PaddedNumber(static_cast<int>(I) + 1, 3, '0') + ".keys", {Keys.begin(), Keys.end()}});
  }
  std::filesystem::create_directories(Folder, Ignored);
  if (!WritePack(File, "Daily Quarry " + DailyText(Date), "The Daily Quarry", Maps, Scripts, Error)) return "";
  if (Progress) Progress(1.0);
  return File;
}
