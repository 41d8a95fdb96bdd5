// The Daily Quarry's calendar, its seeds and the pack kept for the day.
#include "game/daily_quarry.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <set>

#include "tests/support/test_support.h"

namespace {

TEST(DailyQuarryTest, EachDayHasItsOwnSeedAndFile) {
  const TDailyDate Day{2026, 12, 7};
  EXPECT_EQ(DailySeed(Day), DailySeed(TDailyDate{2026, 12, 7}));
  EXPECT_EQ(DailyText(Day), "2026-12-07");
  EXPECT_EQ(DailyPackFile(Day), "daily/2026-12-07.sq");
  // A year of days, none sharing a seed with another.
  std::set<uint32_t> Seeds;
  for (int D = 0; D < 366; ++D) Seeds.insert(DailySeed(DaysBefore(Day, D)));
  EXPECT_EQ(Seeds.size(), 366u);
}

TEST(DailyQuarryTest, DaysBeforeCrossMonthsYearsAndLeapDays) {
  EXPECT_EQ(DaysBefore({2026, 12, 7}, 1), (TDailyDate{2026, 12, 6}));
  EXPECT_EQ(DaysBefore({2026, 3, 1}, 1), (TDailyDate{2026, 2, 28}));
  EXPECT_EQ(DaysBefore({2028, 3, 1}, 1), (TDailyDate{2028, 2, 29}));
  EXPECT_EQ(DaysBefore({2027, 1, 3}, 7), (TDailyDate{2026, 12, 27}));
  EXPECT_EQ(DaysBefore({2026, 5, 5}, 0), (TDailyDate{2026, 5, 5}));
  const TDailyDate Now = Today();
  EXPECT_GE(Now.Year, 2024);
  EXPECT_TRUE(Now.Month >= 1 && Now.Month <= 12 && Now.Day >= 1 && Now.Day <= 31);
}

TEST(DailyQuarryTest, APackKeptForTheDayIsUsedAsItIs) {
  TTempDir Dir;
  const TDailyDate Day{2026, 12, 7};
  const std::string Folder = Dir.File("daily");
  std::filesystem::create_directories(Folder);
  // Even one the game cannot read is not made again over it.
  WriteFileText(DailyPackFile(Day, Folder), "kept");
  int Calls = 0;
  std::string Error;
  const auto Began = std::chrono::steady_clock::now();
  const std::string File = EnsureDailyPack(
      Day,
      [&Calls](double) {
        ++Calls;
        return true;
      },
      Error, Folder);
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - Began).count(), 0.5);
  EXPECT_EQ(File, DailyPackFile(Day, Folder));
  EXPECT_EQ(Calls, 0) << "nothing made";
  EXPECT_EQ(ReadFileText(File), "kept");
}

TEST(DailyQuarryTest, StoppedMakingLeavesNoFile) {
  TTempDir Dir;
  const std::string Folder = Dir.File("daily");
  std::string Error;
  const std::string File = EnsureDailyPack(
      {2026, 12, 8}, [](double) { return false; }, Error, Folder);
  EXPECT_EQ(File, "");
  EXPECT_FALSE(std::filesystem::exists(DailyPackFile({2026, 12, 8}, Folder)));
}

}  // namespace
