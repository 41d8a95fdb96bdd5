#pragma once
// One step and one frame of a running map, exactly as the play screen runs
// them; the play screen, the headless runner and the solver all call these.
#include <functional>

#include "world/maps.h"

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

// One simulation step: the death counter (a dead elf is hidden and ignores
// the keys), state bytes of 1 cleared, the elf's move from the held arrow
// keys, the world step.
void RunMapStep(TMaps& Maps, TMapRun& Run, const TElfKeys& Keys);

// One frame: a step when due, then the cells and the elf drawn onto Target.
// KeysForStep runs only when a step is due, just before it (the play screen
// draws its counters there), and gives the arrow keys held for that step.
// True when a step ran.
bool RunMapFrame(TMaps& Maps, TMapRun& Run, TImage& Target, const std::function<TElfKeys()>& KeysForStep = {});

// The same frame without drawing: a step with Keys when due, then the cell
// animations advanced as drawing would. True when a step ran.
bool AdvanceMapFrame(TMaps& Maps, TMapRun& Run, const TElfKeys& Keys);

// The frames up to and including the next step, as AdvanceMapFrame runs
// them one by one (the grid changes only in the step: the frames before it
// are run together).
void AdvanceMapStep(TMaps& Maps, TMapRun& Run, const TElfKeys& Keys);

// The keys of one step of a key script: 'U', 'D', 'L', 'R' hold that arrow;
// anything else ('.') holds none.
TElfKeys ElfKeysFor(char Key);

// Draws the elf's block image at its cell (nothing while it is hidden).
void DrawElf(TMaps& Maps, TImage& Target);
