#pragma once
// The mouse cursor of the window: the game hides it.
namespace VX_SDL {
void ShowCursor(bool Visible);
}  // namespace VX_SDL
