#pragma once
// The enlarged copy of the back surface into the window: each source pixel
// becomes a Scale x Scale block. Used for the doubled mode and for the
// window scales 3 and 4.
#include "graphics/dirty_rects.h"

struct SDL_Surface;

// Copies the part R of Source into Dest, enlarged Scale times. Only when Dest
// is exactly Scale times Source in width and height and both have the same
// pixel size of 1 to 4 bytes (otherwise nothing is copied). Three-byte
// pixels keep whatever byte follows each one.
void CopyScaled(SDL_Surface* Source, SDL_Surface* Dest, int Scale, const TDirtyRect& R);
