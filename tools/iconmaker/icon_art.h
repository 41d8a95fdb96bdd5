#pragma once
// The desktop icon: a cut diamond over a quarry wall with a boulder, on a
// rounded tile. Drawn from a 256-unit design scaled to the asked size, so
// every size is drawn rather than resampled.
#include "tools/makerkit/canvas.h"
#include "tools/makerkit/palette.h"

namespace Icon {

// Raises std::invalid_argument for a size below 16 pixels, where the facets
// no longer read.
Maker::TCanvas DrawIcon(const Maker::TPalette& P, int Size);

}  // namespace Icon
