// Screen composition: the background builders, the placement of a slide
// picture on a copy of the background, the colour blend of the gradients,
// and the choice among them by the display's depth. Screen images are
// 24-bit on true-colour displays and 8-bit in a fixed palette kind on
// displays of 8 bits or fewer. Coordinates are in stored order: row 0 is
// the bottom row.
#pragma once

#include "image/dib.h"
#include "image/error_diffusion.h"
#include "platform/base/types.h"

namespace pellora {

// Colour i of n steps from first to second (first for n of 1 or less).
COLORREF BlendColor(int i, COLORREF first, COLORREF second, int n);

// Background builders: each returns a new width x height block, or empty.
// The picture is read at 1, 4, 8 or 24 bits.
HDIB StretchDIB24(const HDIB& picture, int width, int height);
HDIB CenterDIB24(const HDIB& picture, int width, int height);
HDIB TileDIB24(const HDIB& picture, int width, int height);
// direction 0: first colour on the top row, second on the bottom row;
// otherwise first on the left, second on the right.
HDIB GradientDIB24(COLORREF first, COLORREF second, int width, int height, int direction);
HDIB SolidDIB24(COLORREF colour, int width, int height);
HDIB CenterDIB8(const HDIB& picture, int width, int height, PaletteKind kind);
HDIB TileDIB8(const HDIB& picture, int width, int height, PaletteKind kind);
HDIB GradientDIB8(COLORREF first, COLORREF second, int width, int height, int direction, PaletteKind kind);
HDIB SolidDIB8(COLORREF colour, int width, int height, PaletteKind kind);

// Picture placement into a screen block of the operation's depth: natural
// size centred and cut at the edges (Place), or scaled into the screen less
// margin on every side, proportions kept or, with stretch, filling it
// (Fit). False when a block is not usable or has the wrong depth.
bool PlacePicture24(HDIB& screen, const HDIB& picture);
bool FitPicture24(HDIB& screen, const HDIB& picture, int margin, bool stretch);
bool PlacePicture8(HDIB& screen, const HDIB& picture, PaletteKind kind);
bool FitPicture8(HDIB& screen, const HDIB& picture, int margin, bool stretch, PaletteKind kind);

// How a background picture covers the screen, and how a slide picture is
// placed on it.
enum class BackgroundMode { Stretch, Centre, Tile };
enum class PictureFit { Natural, KeepRatio, Fill };

// The builder or placement that suits a display of the given depth: 8-bit
// blocks in PaletteKindForDepth(depth) at 8 bits or fewer, else 24-bit.
HDIB PictureBackground(const HDIB& picture, BackgroundMode mode, int width, int height, int depth);
HDIB GradientBackground(COLORREF first, COLORREF second, int width, int height, int direction, int depth);
HDIB SolidBackground(COLORREF colour, int width, int height, int depth);
bool PlaceSlidePicture(HDIB& screen, const HDIB& picture, PictureFit fit, int margin, int depth);

}  // namespace pellora
