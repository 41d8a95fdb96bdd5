#pragma once
// The keys of a watched run and its foot strip: Right arrow or F held plays
// it four times as fast, P pauses it; any other key ends it.
#include <string>

namespace WatchControls {

// Keys that do not end a watched run.
bool IsControl(int Key);
bool FastForwardHeld();
// Whose run it is and how long, and beside it the step reached and the keys.
void DrawFootStrip(const std::string& Player, int Steps, int Step);

}  // namespace WatchControls
