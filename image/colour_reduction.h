// Colour reduction for displays of 256 colours or fewer: the display-depth
// query that chooses between the true-colour and the palette paths, and the
// two stand-alone reductions of a picture to an 8-bit palette block.
#pragma once

#include "image/dib.h"
#include "image/error_diffusion.h"

namespace pellora {

// Bits per pixel of the screen as it is now. Not kept from one call to the
// next: the tools and the tests choose the depth, and a backend installed
// later may have another.
int GetDisplayDepth();

// A new black 8-bit block carrying the kind's colour table; empty on failure.
HDIB CreatePaletteDIB(int width, int height, PaletteKind kind);

// A new 8-bit block of the source's size in the kind's palette, the source
// (1, 4, 8 or 24 bits) error-diffused into it; empty on failure.
HDIB ReduceDIB(const HDIB& source, PaletteKind kind);
// The same at width x height: the first row sampled point by point, every
// later row averaged over the source pixels each destination pixel covers.
HDIB ScaleReduceDIB(const HDIB& source, int width, int height, PaletteKind kind);

}  // namespace pellora
