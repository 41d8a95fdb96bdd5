#include "app/display_check.h"

std::string NoDisplayReason(const char* Display, const char* VideoDriver) {
  const auto Given = [](const char* V) { return V && *V; };
  if (Given(Display) || Given(VideoDriver)) return "";
  return "no display to open the window on (DISPLAY is not set)";
}

std::string VideoDriverToUse(const char* Display, const char* VideoDriver) {
  if (VideoDriver && *VideoDriver) return "";
  return Display && *Display ? "x11" : "";
}
