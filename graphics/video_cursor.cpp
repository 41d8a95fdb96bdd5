#include "graphics/video_cursor.h"

#include <SDL.h>

namespace VX_SDL {
void ShowCursor(bool Visible) { SDL_ShowCursor(Visible ? SDL_ENABLE : SDL_DISABLE); }
}  // namespace VX_SDL
