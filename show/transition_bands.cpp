// Band effects: wipes from one edge, bands closing from both edges to the
// centre and opening from the centre to both edges.
#include <algorithm>

#include "show/transition_effects.h"

namespace pellora::effects {
namespace {
constexpr int S = transitionStep;
}

void WipeRight(const Rect& c, TransitionCanvas& canvas) {
  if (!(c.left + S < c.right)) return;
  int x = c.left, x1;
  do {
    x1 = std::min(x + S, c.right);
    canvas.Draw({x, c.top, x1, c.bottom});
    x += S;
  } while (x1 < c.right);
}

void WipeLeft(const Rect& c, TransitionCanvas& canvas) {
  if (!(c.left < c.right - S)) return;
  int r = c.right, x0;
  do {
    x0 = std::max(r - S, c.left);
    canvas.Draw({x0, c.top, r, c.bottom});
    r -= S;
  } while (x0 > c.left);
}

void WipeDown(const Rect& c, TransitionCanvas& canvas) {
  const int h = S / 5;
  if (!(c.top + h < c.bottom)) return;
  int y = c.top, y1;
  do {
    y1 = std::min(y + h, c.bottom);
    canvas.Draw({c.left, y, c.right, y1});
    y += h;
  } while (y1 < c.bottom);
}

void WipeUp(const Rect& c, TransitionCanvas& canvas) {
  const int h = S / 2;
  if (!(c.top < c.bottom - h)) return;
  int b = c.bottom, y0;
  do {
    y0 = std::max(b - h, c.top);
    canvas.Draw({c.left, y0, c.right, b});
    b -= h;
  } while (y0 > c.top);
}

// The bands stop at the middle; on a window too narrow for the middle to
// be reached they stop at the far edge instead of drawing the same band
// for ever.
void CloseHorizontal(const Rect& c, TransitionCanvas& canvas) {
  const int W = c.right, M = S + W / 2;
  if (!(c.left + S < M)) return;
  int x = c.left, x1;
  do {
    x1 = std::min(x + S, W);
    canvas.Draw({x, c.top, x1, c.bottom});
    x += S;
    int m0 = W - x1;
    canvas.Draw({m0, c.top, std::min(m0 + S, W), c.bottom});
  } while (x1 < M && x1 < W);
}

void CloseVertical(const Rect& c, TransitionCanvas& canvas) {
  const int h = S / 2, H = c.bottom, M = H / 2 + h;
  if (!(c.top + h < M)) return;
  int y = c.top, y1;
  do {
    y1 = std::min(y + h, H);
    canvas.Draw({c.left, y, c.right, y1});
    int m0 = H - y1;
    // The lower band is S high while both advance by h.
    canvas.Draw({c.left, m0, c.right, std::min(m0 + S, H)});
    y += h;
  } while (y1 < M && y1 < H);
}

void OpenHorizontal(const Rect& c, TransitionCanvas& canvas) {
  const int h = S / 2, W = c.right;
  int x = W / 2 + h, r;
  do {
    r = x + h;
    int x0 = std::max(x, 0);
    canvas.Draw({x0, c.top, r, c.bottom});
    int m0 = W - r;
    canvas.Draw({m0, c.top, std::min(m0 + h, W), c.bottom});
    x = x0 - h;
  } while (r > 0);
}

void OpenVertical(const Rect& c, TransitionCanvas& canvas) {
  const int h = S / 2, H = c.bottom;
  int y = H / 2 + h, b;
  do {
    b = y + h;
    int y0 = std::max(y, 0);
    canvas.Draw({c.left, y0, c.right, b});
    int m0 = H - b;
    canvas.Draw({c.left, m0, c.right, std::min(m0 + S, H)});
    y = y0 - h;
  } while (b > 0);
}

}  // namespace pellora::effects
