// The rectangles each transition effect draws, in order, against the
// effect's description, on screens of many sizes (tiny and odd ones too).
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/base/random.h"
#include "show/transitions.h"

namespace pellora {
namespace {

struct Step {
  bool scroll = false;
  Rect rect;
  int dx = 0, dy = 0;
  bool operator==(const Step&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Step& s) {
  return out << (s.scroll ? "scroll " : "draw ") << "[" << s.rect.left << "," << s.rect.right << ")x["
             << s.rect.top << "," << s.rect.bottom << ")" << (s.scroll ? " by " : "")
             << (s.scroll ? std::to_string(s.dx) + "," + std::to_string(s.dy) : "");
}

class Recorder : public TransitionCanvas {
 public:
  void Draw(const Rect& r) override { steps.push_back({false, r}); }
  void Scroll(const Rect& area, int dx, int dy) override { steps.push_back({true, area, dx, dy}); }
  std::vector<Step> steps;
};

Step D(int x0, int y0, int x1, int y1) { return {false, {x0, y0, x1, y1}}; }
Step Sc(int x0, int y0, int x1, int y1, int dx, int dy) { return {true, {x0, y0, x1, y1}, dx, dy}; }

// The expected steps, written from the effects' description.
std::vector<Step> Expected(int effect, int W, int H, uint32_t seed) {
  std::vector<Step> s;
  switch (effect) {
    case 2:
      if (W > 5)
        for (int x = 0; x < W; x += 5) s.push_back(D(x, 0, std::min(x + 5, W), H));
      break;
    case 3:
      if (W > 5)
        for (int r = W; r > 0; r -= 5) s.push_back(D(std::max(r - 5, 0), 0, r, H));
      break;
    case 4:
      if (H > 1)
        for (int y = 0; y < H; ++y) s.push_back(D(0, y, W, y + 1));
      break;
    case 5:
      if (H > 2)
        for (int b = H; b > 0; b -= 2) s.push_back(D(0, std::max(b - 2, 0), W, b));
      break;
    case 6: {
      int nx = (W + 9) / 10, ny = (H + 9) / 10;
      for (int k = 0; k < nx + ny - 1; ++k)
        for (int i = 0; i <= k; ++i)
          if (i < nx && k - i < ny) s.push_back(D(10 * i, 10 * (k - i), std::min(10 * i + 10, W), std::min(10 * (k - i) + 10, H)));
      break;
    }
    case 7: {
      int nx = (W + 9) / 10, ny = (H + 9) / 10;
      for (int k = 0; k < nx + ny - 1; ++k)
        for (int j = 0; j <= k; ++j)
          if (j < nx && k - j < ny) {
            int x = W - 10 - 10 * j, y = H - 10 - 10 * (k - j);
            s.push_back(D(std::max(x, 0), std::max(y, 0), x + 10, y + 10));
          }
      break;
    }
    case 8:
      if (W > 5)
        for (int x = 0; x < W; x += 5) {
          if (x + 5 < W) s.push_back(Sc(x, 0, W, H, 5, 0));
          s.push_back(D(x, 0, std::min(x + 5, W), H));
        }
      break;
    case 9:
      if (W > 5)
        for (int r = W; r > 0; r -= 5) {
          if (r - 5 > 0) s.push_back(Sc(0, 0, r, H, -5, 0));
          s.push_back(D(std::max(r - 5, 0), 0, r, H));
        }
      break;
    case 10:
      if (H > 5)
        for (int y = 0; y < H; y += 5) {
          if (y + 5 < H) s.push_back(Sc(0, y, W, H, 0, 5));
          s.push_back(D(0, y, W, std::min(y + 5, H)));
        }
      break;
    case 11:
      if (H > 5)
        for (int b = H; b > 0; b -= 5) {
          if (b - 5 > 0) s.push_back(Sc(0, 0, W, b, 0, -5));
          s.push_back(D(0, std::max(b - 5, 0), W, b));
        }
      break;
    case 12: {
      // Bands of 5 from both sides until the middle (or the far edge).
      int M = 5 + W / 2;
      if (5 < M)
        for (int x = 0;; x += 5) {
          int x1 = std::min(x + 5, W);
          s.push_back(D(x, 0, x1, H));
          s.push_back(D(W - x1, 0, std::min(W - x1 + 5, W), H));
          if (x1 >= M || x1 >= W) break;
        }
      break;
    }
    case 13: {
      int M = H / 2 + 2;
      if (2 < M)
        for (int y = 0;; y += 2) {
          int y1 = std::min(y + 2, H);
          s.push_back(D(0, y, W, y1));
          s.push_back(D(0, H - y1, W, std::min(H - y1 + 5, H)));
          if (y1 >= M || y1 >= H) break;
        }
      break;
    }
    case 14:
      for (int x = W / 2 + 2;;) {
        int r = x + 2, x0 = std::max(x, 0);
        s.push_back(D(x0, 0, r, H));
        s.push_back(D(W - r, 0, std::min(W - r + 2, W), H));
        if (r <= 0) break;
        x = x0 - 2;
      }
      break;
    case 15:
      for (int y = H / 2 + 2;;) {
        int b = y + 2, y0 = std::max(y, 0);
        s.push_back(D(0, y0, W, b));
        s.push_back(D(0, H - b, W, std::min(H - b + 5, H)));
        if (b <= 0) break;
        y = y0 - 2;
      }
      break;
    case 16:
      if (W > 10)
        for (int x = 0; x < W; x += 10) {
          int x1 = std::min(x + 10, W), m0 = W - x1;
          if (H > 10)
            for (int y = 0; y < H; y += 20) s.push_back(D(x, y, x1, std::min(y + 10, H)));
          if (H > 20)
            for (int y = 10; y < H; y += 20) s.push_back(D(m0, y, std::min(m0 + 10, W), std::min(y + 10, H)));
        }
      break;
    case 17:
      if (H > 10)
        for (int y = 0; y < H; y += 10) {
          int y1 = std::min(y + 10, H), m0 = H - y1;
          if (W > 10)
            for (int x = 0; x < W; x += 20) s.push_back(D(x, y, std::min(x + 10, W), y1));
          if (W > 20)
            for (int x = 10; x < W; x += 20) s.push_back(D(x, m0, std::min(x + 10, W), std::min(m0 + 10, H)));
        }
      break;
    case 18: {
      int nc = (W + 14) / 15, nr = (H + 14) / 15;
      if (nc == 0 || nr == 0) break;
      uint32_t state = seed;
      auto next = [&] {
        state = state * 214013u + 2531011u;
        return int((state >> 16) & 0x7FFF);
      };
      std::vector<bool> done(size_t(nc * nr), false);
      for (int t = 0; t < 3 * nc * nr; ++t) {
        int col = next() % nc, row = next() % nr;
        if (!done[size_t(row * nc + col)]) {
          done[size_t(row * nc + col)] = true;
          s.push_back(D(col * 15, row * 15, std::min(col * 15 + 15, W), std::min(row * 15 + 15, H)));
        }
      }
      break;
    }
    default: break;
  }
  return s;
}

const Size kSizes[] = {{640, 480}, {5, 5}, {1, 1}, {6, 6}, {7, 3}, {2, 9}, {9, 2}, {13, 11},
                       {101, 67}, {21, 41}, {11, 10}, {800, 600}, {0, 0}, {4, 300}};

TEST(TransitionSteps, EveryEffectDrawsItsRectanglesInOrder) {
  for (int effect = 1; effect <= 20; ++effect)
    for (Size size : kSizes) {
      SCOPED_TRACE(::testing::Message() << "effect " << effect << " on " << size.cx << "x" << size.cy);
      RandomGenerator random(1234);
      Recorder recorder;
      RunTransitionSteps(uint16_t(effect), {0, 0, size.cx, size.cy}, recorder, random);
      std::vector<Step> expected = Expected(effect, size.cx, size.cy, 1234);
      ASSERT_EQ(recorder.steps.size(), expected.size());
      for (size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(recorder.steps[i], expected[i]) << "step " << i;
    }
}

TEST(TransitionSteps, StepCountsMatchTheEffectTable) {
  auto count = [](int effect, int W, int H) {
    Recorder r;
    RandomGenerator random;
    RunTransitionSteps(uint16_t(effect), {0, 0, W, H}, r, random);
    return r.steps.size();
  };
  EXPECT_EQ(count(2, 640, 480), 128u);
  EXPECT_EQ(count(4, 640, 480), 480u);
  EXPECT_EQ(count(5, 640, 481), 241u);
  EXPECT_EQ(count(6, 640, 480), size_t(64 * 48));     // every block once
  EXPECT_EQ(count(8, 640, 480), 128u + 127u);         // draws and scrolls
  EXPECT_EQ(count(16, 640, 480), 64u * 48u);       // 24 even and 24 odd rows a step
  EXPECT_EQ(count(1, 640, 480), 0u);
  EXPECT_EQ(count(19, 640, 480), 0u);
  EXPECT_EQ(count(500, 640, 480), 0u);
}

TEST(TransitionSteps, RandomBlocksTryThreeTimesPerBlockOfTheGrid) {
  // 640 x 480 is a grid of 43 x 32 blocks: 4128 tries of two numbers each.
  RandomGenerator reference(99);
  for (int i = 0; i < 2 * 3 * 43 * 32; ++i) reference.Next();
  int next = reference.Next();
  RandomGenerator random(99);
  Recorder r;
  RunTransitionSteps(TRANSITION_RANDOM_BLOCKS, {0, 0, 640, 480}, r, random);
  EXPECT_EQ(random.Next(), next);
  EXPECT_LE(r.steps.size(), size_t(43 * 32));
  EXPECT_GT(r.steps.size(), size_t(43 * 32 * 8 / 10));
}

TEST(TransitionSteps, RandomPickIsOneToEighteenFromTheGenerator) {
  RandomGenerator reference(7);
  std::vector<int> expected;
  for (int i = 0; i < 200; ++i) expected.push_back(reference.Next() % 18 + 1);
  RandomGenerator random(7);
  std::vector<bool> seen(19, false);
  for (int i = 0; i < 200; ++i) {
    uint16_t picked = PickTransition(TRANSITION_RANDOM, random);
    ASSERT_EQ(picked, expected[size_t(i)]);
    seen[picked] = true;
  }
  for (int e = 1; e <= 18; ++e) EXPECT_TRUE(seen[size_t(e)]) << e;  // the cut included
  EXPECT_EQ(PickTransition(19, random), 19);
  EXPECT_EQ(PickTransition(7, random), 7);
}

}  // namespace
}  // namespace pellora
