#include "tools/sqtool/headless_run.h"

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
    if (Run.Completed || Maps.ElfDead > kDeadSteps || Result.Steps >= static_cast<int>(kMaxScriptSteps)) break;
    const TElfKeys Held = ElfKeysFor(Key);
    while (!RunMapFrame(Maps, Run, Screen, [&Held] { return Held; })) {}
    ++Result.Steps;
  }
  Result.Completed = Run.Completed;
  Result.Dead = !Run.Completed && Maps.ElfDead > 0;
  return Result;
}
