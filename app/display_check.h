#pragma once
// Whether the game has somewhere to show its window. Without an X display
// and without a video driver chosen, SDL would fall back to whatever it
// finds, down to drawing the picture as text art in the terminal.
#include <string>

// Empty when a window can open; otherwise the reason, one line. The values
// are those of DISPLAY and SDL_VIDEODRIVER (null when unset).
std::string NoDisplayReason(const char* Display, const char* VideoDriver);

// The video driver SDL is to use: "x11" where a display is named and no
// driver chosen, so that a display that turns the game away ends the start
// (a player sees it, and a script may start the game again) instead of SDL
// falling back to text art in the terminal; empty leaves SDL's own choice.
std::string VideoDriverToUse(const char* Display, const char* VideoDriver);
