// Slide effects: each step shifts the old picture by one step towards an
// edge and draws the strip of the new one that the shift uncovered.
#include <algorithm>

#include "show/transition_effects.h"

namespace pellora::effects {
namespace {
constexpr int S = transitionStep;
}

void SlideOutRight(const Rect& c, TransitionCanvas& canvas) {
  if (!(c.left + S < c.right)) return;
  int x = c.left, x1;
  do {
    x1 = x + S;
    if (x1 < c.right) canvas.Scroll({x, c.top, c.right, c.bottom}, S, 0);
    canvas.Draw({x, c.top, std::min(x1, c.right), c.bottom});
    x += S;
  } while (x1 < c.right);
}

void SlideOutLeft(const Rect& c, TransitionCanvas& canvas) {
  if (!(c.left < c.right - S)) return;
  int r = c.right, x0;
  do {
    x0 = r - S;
    if (x0 > c.left) canvas.Scroll({c.left, c.top, r, c.bottom}, -S, 0);
    canvas.Draw({std::max(x0, c.left), c.top, r, c.bottom});
    r -= S;
  } while (x0 > c.left);
}

void SlideOutDown(const Rect& c, TransitionCanvas& canvas) {
  if (!(c.top + S < c.bottom)) return;
  int y = c.top, y1;
  do {
    y1 = y + S;
    if (y1 < c.bottom) canvas.Scroll({c.left, y, c.right, c.bottom}, 0, S);
    canvas.Draw({c.left, y, c.right, std::min(y1, c.bottom)});
    y += S;
  } while (y1 < c.bottom);
}

void SlideOutUp(const Rect& c, TransitionCanvas& canvas) {
  if (!(c.top < c.bottom - S)) return;
  int b = c.bottom, y0;
  do {
    y0 = b - S;
    if (y0 > c.top) canvas.Scroll({c.left, c.top, c.right, b}, 0, -S);
    canvas.Draw({c.left, std::max(y0, c.top), c.right, b});
    b -= S;
  } while (y0 > c.top);
}

}  // namespace pellora::effects
