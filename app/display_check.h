#pragma once
// Whether the game has somewhere to show its window. Without an X display
// and without a video driver chosen, SDL would fall back to whatever it
// finds, down to drawing the picture as text art in the terminal.
#include <string>

// Empty when a window can open; otherwise the reason, one line. The values
// are those of DISPLAY and SDL_VIDEODRIVER (null when unset).
std::string NoDisplayReason(const char* Display, const char* VideoDriver);
