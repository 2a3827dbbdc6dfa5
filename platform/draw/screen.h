// What the player asks about the display: its size in pixels, its colour
// depth (which PELLORA_DISPLAY_DEPTH can lower to 8 or 4 bits so that the
// palette paths run), and its logical resolution for font sizes.
#pragma once

#include "platform/base/types.h"

namespace pellora {

Size GetScreenSize();
// Bits per pixel: the override when one is set, else the display's depth
// (24 unless it has a palette), or 8 / 4 when
// PELLORA_DISPLAY_DEPTH asks for them.
int GetScreenDepth();
// Makes GetScreenDepth report depth (24, 8 or 4) whatever the environment
// says, for as long as the current backend plays; 0 removes the override.
// For tools and tests that choose the depth.
void SetScreenDepthOverride(int depth);
// The whole factor by which dialogs and message boxes grow so that they
// keep their share of a dense screen: one per 720 lines of screen (2 from
// 1440 lines, 3 from 2160), never less than 1.
int DialogScaleFor(int screenHeight);
int GetDialogScale();
// Logical pixels per inch vertically, as font heights are computed from
// it: 96 times the dialog scale, so that text is rasterised at the size it
// is shown rather than enlarged.
int GetLogPixelsY();

}  // namespace pellora
