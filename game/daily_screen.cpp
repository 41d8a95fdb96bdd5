#include "game/daily_screen.h"

#include <chrono>

#include "game/daily_quarry.h"
#include "game/list_screen.h"
#include "graphics/font_collection.h"
#include "graphics/key_codes.h"
#include "graphics/video.h"
#include "shell/logger.h"

namespace {

constexpr const char* kHeading = "SQGameUnit, TGame.DailyQuarry";
constexpr const char* kToday = "Daily Quarry";
constexpr const char* kPast = "Daily Quarry: past days";
constexpr const char* kDaysPlacement = "X=60|Y=90|Width=520|Height=320|AlignX=Left|AlignY=Top";

void Centred(int Font, const std::string& Text, int Y) {
  if (FontCollection) FontCollection->DrawText(std::string(1, static_cast<char>(Font)) + Text, 320, Y, kAlignCenter);
}

void DrawProgress(const TDailyDate& Date, double Fraction) {
  VX_SDL::FillBox(0, 0, 639, 479, 0, 0, 0);
  Centred(1, "Daily Quarry", 30);
  Centred(0, "Digging the maps of " + DailyText(Date), 170);
  const int Full = 400, Filled = static_cast<int>(Full * std::min(1.0, std::max(0.0, Fraction)));
  VX_SDL::FillBox(118, 238, 521, 261, 0x60, 0x60, 0x60);
  VX_SDL::FillBox(120, 240, 519, 259, 0x10, 0x10, 0x10);
  if (Filled > 0) VX_SDL::FillBox(120, 240, 119 + Filled, 259, 0x60, 0x10, 0x00);
  Centred(3, "Escape: back", 430);
  VX_SDL::Flip();
}

// The day's pack, made now with a progress bar when it is not on disk yet.
std::string DailyPack(const TDailyDate& Date) {
  using TClock = std::chrono::steady_clock;
  VX_SDL::ClearKeys();
  TClock::time_point Drawn{};
  const auto Began = TClock::now();
  std::string Error;
  const std::string File = EnsureDailyPack(
      Date,
      [&](double Fraction) {
        // A frame waits out its 16 ms: drawing after every candidate would
        // slow the making down.
        if (TClock::now() - Drawn > std::chrono::milliseconds(100) || Fraction >= 1.0) {
          DrawProgress(Date, Fraction);
          Drawn = TClock::now();
        }
        VX_SDL::PollEvents();
        return !VX_SDL::Keys[VXKey::Escape];
      },
      Error);
  VX_SDL::ClearKeys();
  if (File.empty()) {
    if (!Error.empty()) Log->Error("The Daily Quarry of " + DailyText(Date) + ": " + Error, kHeading);
    return "";
  }
  const double Seconds = std::chrono::duration<double>(TClock::now() - Began).count();
  Log->Status("The Daily Quarry of " + DailyText(Date) + " ready in " + std::to_string(Seconds) + " s", kHeading);
  return File;
}

}  // namespace

std::vector<std::string> DailyRows() { return {kToday, kPast}; }

std::string ChooseDailyRow(size_t Row) {
  const TDailyDate Now = Today();
  if (Row == 0) return DailyPack(Now);
  std::vector<std::string> Days;
  for (int D = 1; D <= kDailyPastDays; ++D) Days.push_back(DailyText(DaysBefore(Now, D)));
  const TListChoice C = RunListScreen({"Daily Quarry: past days", 1, 30}, kDaysPlacement, Days,
                                      {VXKey::Escape, VXKey::Return}, {THelpScreen::LevelPacks});
  if (C.Key != VXKey::Return || C.Index < 0) return "";
  return DailyPack(DaysBefore(Now, C.Index + 1));
}
