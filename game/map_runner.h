#pragma once
// One step and one frame of a running map, exactly as the play screen runs
// them; the play screen and the headless runner both call these.
#include <functional>

class TMaps;
class TImage;

struct TMapRun {
  static constexpr int kFramesPerStep = 7;
  int MapNo = 0;
  int Ticks = kFramesPerStep;
  bool Completed = false;
};

// The map start (and restart): the map made active with fresh looks, the elf
// found, the diamonds counted, the exit opened at once when there are none.
void StartMapRun(TMaps& Maps, TMapRun& Run);

// One simulation step: the death counter (releasing every held key), state
// bytes of 1 cleared, the elf's move from the held arrow keys, the world step.
void RunMapStep(TMaps& Maps, TMapRun& Run);

// One frame: a step when due (BeforeStep runs first, e.g. to draw the
// counters), then the cells and the elf drawn onto Target. True when a step ran.
bool RunMapFrame(TMaps& Maps, TMapRun& Run, TImage& Target, const std::function<void()>& BeforeStep = {});

// Draws the elf's block image at its cell (nothing while it is hidden).
void DrawElf(TMaps& Maps, TImage& Target);
