#pragma once
// sqtool picture sheet: every image of [*Blocks] and [*Outro] on one PPM.
#include "tools/sqtool/command.h"

// Args after "sheet": OUTFILE [--data FILE].
int PictureSheet(const TArgs& Args);
