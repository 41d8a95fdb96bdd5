#include "game/step_keys.h"

#include "graphics/key_codes.h"

namespace {
bool SetArrow(TElfKeys& Keys, int Key) {
  switch (Key) {
    case VXKey::Up: Keys.Up = true; return true;
    case VXKey::Down: Keys.Down = true; return true;
    case VXKey::Left: Keys.Left = true; return true;
    case VXKey::Right: Keys.Right = true; return true;
    default: return false;
  }
}
}  // namespace

TElfKeys StepElfKeys(const std::array<bool, 512>& Held, const std::vector<int>& Presses) {
  TElfKeys Keys;
  for (auto It = Presses.rbegin(); It != Presses.rend(); ++It)
    if (SetArrow(Keys, *It)) return Keys;
  for (const int Arrow : {VXKey::Up, VXKey::Down, VXKey::Left, VXKey::Right})
    if (Held[static_cast<size_t>(Arrow)]) SetArrow(Keys, Arrow);
  return Keys;
}
