// Block effects: square blocks along diagonals, alternate rows or columns
// sweeping in from opposite sides, and blocks in random order.
#include <algorithm>

#include "platform/storage/global_block.h"
#include "show/transition_effects.h"

namespace pellora::effects {
namespace {
constexpr int S = transitionStep;
}

void DiagonalFromTopLeft(const Rect& c, TransitionCanvas& canvas) {
  const int B = 2 * S, W = c.right, H = c.bottom;
  for (int k = 0;; ++k) {
    bool drew = false;
    for (int i = 0; i <= k; ++i) {
      int x = i * B, y = (k - i) * B;
      if (x < W && y < H) {
        canvas.Draw({x, y, std::min(x + B, W), std::min(y + B, H)});
        drew = true;
      }
    }
    if (!drew) break;
  }
}

void DiagonalFromBottomRight(const Rect& c, TransitionCanvas& canvas) {
  const int B = 2 * S, W = c.right, H = c.bottom;
  for (int k = 0;; ++k) {
    bool drew = false;
    for (int j = 0; j <= k; ++j) {
      int x = W - B - j * B, y = H - B - k * B + j * B;
      if (x > -B && y > -B) {
        canvas.Draw({std::max(x, 0), std::max(y, 0), x + B, y + B});
        drew = true;
      }
    }
    if (!drew) break;
  }
}

void CombHorizontal(const Rect& c, TransitionCanvas& canvas) {
  const int B = 2 * S, D = 2 * B, W = c.right, H = c.bottom;
  if (!(c.left + B < W)) return;
  int x = c.left, x1;
  do {
    x1 = std::min(x + B, W);
    if (B < H)
      for (int y = 0; y < H; y += D) canvas.Draw({x, y, x1, std::min(y + B, H)});
    int m0 = W - x1, m1 = std::min(m0 + B, W);
    if (D < H)
      for (int y = B; y < H; y += D) canvas.Draw({m0, y, m1, std::min(y + B, H)});
    x += B;
  } while (x1 < W);
}

void CombVertical(const Rect& c, TransitionCanvas& canvas) {
  const int B = 2 * S, D = 2 * B, W = c.right, H = c.bottom;
  if (!(c.top + B < H)) return;
  int y = c.top, y1;
  do {
    y1 = std::min(y + B, H);
    if (B < W)
      for (int x = 0; x < W; x += D) canvas.Draw({x, y, std::min(x + B, W), y1});
    int m0 = H - y1, m1 = std::min(m0 + B, H);
    if (D < W)
      for (int x = B; x < W; x += D) canvas.Draw({x, m0, std::min(x + B, W), m1});
    y += B;
  } while (y1 < H);
}

void RandomBlocks(const Rect& c, TransitionCanvas& canvas, RandomGenerator& random) {
  const int B = 3 * S, W = c.right, H = c.bottom;
  const int columns = (W - 1 + B) / B, rows = (H - 1 + B) / B;
  // An empty window has no grid to pick from; without the table the final
  // repaint alone shows the picture.
  if (columns <= 0 || rows <= 0) return;
  GlobalBlock table = GlobalBlock::Allocate(size_t(columns) * size_t(rows), true);
  if (!table) return;
  uint8_t* drawn = table.data();
  const int64_t tries = 3 * int64_t(columns) * rows;
  for (int64_t t = 0; t < tries; ++t) {
    int col = random.Next() % columns;
    int row = random.Next() % rows;
    uint8_t& cell = drawn[size_t(row) * size_t(columns) + size_t(col)];
    if (cell == 0 && col * B < W && row * B < H) {
      canvas.Draw({col * B, row * B, std::min(col * B + B, W), std::min(row * B + B, H)});
      cell = 1;
    }
  }
}

}  // namespace pellora::effects
