#pragma once
// The enlarged copy of the back surface into the window: each source pixel
// becomes a Scale x Scale block. Used for the doubled mode and for the
// window scales 3 and 4.
#include "graphics/dirty_rects.h"

struct SDL_Surface;

// Copies the part R of Source into Dest, enlarged Scale times, the picture's
// corner at (OffsetX, OffsetY) of Dest. Only when the enlarged Source fits
// Dest there and both have the same pixel size of 1 to 4 bytes (otherwise
// nothing is copied). Three-byte pixels keep whatever byte follows each one.
void CopyScaled(SDL_Surface* Source, SDL_Surface* Dest, int Scale, const TDirtyRect& R, int OffsetX = 0,
                int OffsetY = 0);

// The largest whole scale from 1 to MaxScale at which a picture of
// Width x Height fits a desktop of DesktopWidth x DesktopHeight; 1 when it
// fits at no scale or the desktop's size is unknown (0 or less).
int FitScale(int Width, int Height, int DesktopWidth, int DesktopHeight, int MaxScale);

// Where a picture of Width x Height goes: the window's size, the scale and
// the picture's corner in the window.
struct TWindowFit {
  int Scale = 1;
  int Width = 0, Height = 0;
  int OffsetX = 0, OffsetY = 0;
};
inline constexpr int kMaxWindowScale = 4;
// A window is the picture at the scale asked for (1 to kMaxWindowScale),
// made smaller until it fits the desktop. Full screen fills the desktop:
// the picture at the largest whole scale that fits, centred on black. An
// unknown desktop leaves the scale asked for, without borders.
TWindowFit ChooseWindow(int Width, int Height, int Requested, bool FullScreen, int DesktopWidth, int DesktopHeight);
