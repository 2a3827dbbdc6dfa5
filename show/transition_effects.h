// The effect families behind RunTransitionSteps; each draws on the canvas
// over the client rectangle c (left L, top T, right W, bottom H).
#pragma once

#include "show/transitions.h"

namespace pellora::effects {

// Bands: wipes, closing and opening.
void WipeRight(const Rect& c, TransitionCanvas& canvas);
void WipeLeft(const Rect& c, TransitionCanvas& canvas);
void WipeDown(const Rect& c, TransitionCanvas& canvas);
void WipeUp(const Rect& c, TransitionCanvas& canvas);
void CloseHorizontal(const Rect& c, TransitionCanvas& canvas);
void CloseVertical(const Rect& c, TransitionCanvas& canvas);
void OpenHorizontal(const Rect& c, TransitionCanvas& canvas);
void OpenVertical(const Rect& c, TransitionCanvas& canvas);

// Slides: the old picture is shifted off while the new one is uncovered.
void SlideOutRight(const Rect& c, TransitionCanvas& canvas);
void SlideOutLeft(const Rect& c, TransitionCanvas& canvas);
void SlideOutDown(const Rect& c, TransitionCanvas& canvas);
void SlideOutUp(const Rect& c, TransitionCanvas& canvas);

// Blocks: diagonals, combs and random blocks.
void DiagonalFromTopLeft(const Rect& c, TransitionCanvas& canvas);
void DiagonalFromBottomRight(const Rect& c, TransitionCanvas& canvas);
void CombHorizontal(const Rect& c, TransitionCanvas& canvas);
void CombVertical(const Rect& c, TransitionCanvas& canvas);
void RandomBlocks(const Rect& c, TransitionCanvas& canvas, RandomGenerator& random);

}  // namespace pellora::effects
