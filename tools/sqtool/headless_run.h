#pragma once
// A map of the loaded level pack run without a window: one key per step,
// every frame drawn off screen so that animations (and with them the opening
// of the exit) take exactly as long as in the game. sqtool play and
// sqtool pack check both run maps through here.
#include <string>

#include "tools/sqtool/key_script.h"

class TMaps;
class TImage;

struct THeadlessResult {
  bool Completed = false;
  bool Dead = false;
  int Steps = 0;  // steps actually run
};

// Keys: one per step, 'U', 'D', 'L', 'R' (that arrow held) or '.' (none).
// The run stops after the last key, when the map is completed, 16 steps
// after the elf died, or after kMaxScriptSteps steps. Screen must be the
// default sprite target.
THeadlessResult RunHeadless(TMaps& Maps, int MapNo, const std::string& Keys, TImage& Screen);
