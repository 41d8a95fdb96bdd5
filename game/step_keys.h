#pragma once
// The arrows one step of play acts on, read once per step from the held keys
// and the presses latched since the step before.
#include <array>
#include <vector>

#include "world/maps.h"

// A tap shorter than a step still moves the elf once: when an arrow went down
// since the last step, the latest such arrow alone is the step's key, held or
// not. Otherwise the arrows held now (a held arrow moves once per step).
// Held is indexed by key code; Presses are key codes, oldest first.
TElfKeys StepElfKeys(const std::array<bool, 512>& Held, const std::vector<int>& Presses);
