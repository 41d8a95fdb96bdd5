#include "tools/sqtool/headless_run.h"

#include <cctype>

#include "world/map_runner.h"
#include "world/maps.h"

namespace {
constexpr int kDeadSteps = 16;
}

THeadlessResult RunHeadless(TMaps& Maps, int MapNo, const std::string& Keys, TImage& Screen) {
  TMapRun Run;
  Run.MapNo = MapNo;
  StartMapRun(Maps, Run);
  THeadlessResult Result;
  for (char Key : Keys) {
    if (Run.Completed || Maps.ElfDead > kDeadSteps) break;
    const TElfKeys Held = ElfKeysFor(Key);
    while (!RunMapFrame(Maps, Run, Screen, [&Held] { return Held; })) {}
    ++Result.Steps;
  }
  Result.Completed = Run.Completed;
  Result.Dead = !Run.Completed && Maps.ElfDead > 0;
  return Result;
}

bool ParseKeyScript(const std::string& Text, std::string& Keys, std::string& Error) {
  Keys.clear();
  for (char C : Text) {
    if (C == ' ' || C == '\t' || C == '\r' || C == '\n') continue;
    const char U = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
    if (U != 'U' && U != 'D' && U != 'L' && U != 'R' && U != '.') {
      Error = std::string("bad key '") + C + "' (use U, D, L, R or .)";
      return false;
    }
    Keys += U;
  }
  return true;
}
