#pragma once
// The first gamepad (SDL 1.2 joystick) as keys: it drives the same held-key
// table as the keyboard, so no screen knows about it. D-pad or left stick
// are the arrows, the first button Return and Space, the second Escape,
// Start F12. Part of the video layer's module state.
#include <array>

union SDL_Event;

namespace VXGamepad {

// Stick travel (of 32767) that counts as a push; less is the stick at rest.
inline constexpr int kDeadZone = 8000;
inline constexpr int kButtonConfirm = 0;  // Return and Space
inline constexpr int kButtonBack = 1;     // Escape
inline constexpr int kButtonStart = 7;    // F12 (Start on the common pad layout)

// Opens the first joystick when there is one; nothing happens without.
void Open();
void Close();
// Forgets the directions held (the key table is cleared with it).
void Reset();
// Applies a joystick event to Keys; false for any other event.
bool HandleEvent(const SDL_Event& Event, std::array<bool, 512>& Keys);

}  // namespace VXGamepad
