// Transitions drawn for real on the headless screen: every step changes
// only its own rectangle (scrolls move only their area), the end shows the
// whole new frame, and each effect is an animation of many frames that
// ends within three seconds on small and large screens.
#include <gtest/gtest.h>

#include <memory>

#include "image/dib.h"
#include "platform/backend.h"
#include "platform/base/random.h"
#include "platform/draw/dc.h"
#include "platform/headless/headless_backend.h"
#include "platform/ui/window_dc.h"
#include "platform/ui/window_manager.h"
#include "show/frame_canvas.h"
#include "show/show_wnd.h"
#include "tests/support/lone_show_host.h"
#include "tests/support/show_harness.h"

namespace pellora {
namespace {

// A full-screen show window on a fresh headless screen.
class Stage {
 public:
  explicit Stage(Size size) {
    test::ResetPlatform();
    HeadlessBackend::Options options;
    options.screen = size;
    auto backend = std::make_unique<HeadlessBackend>(options);
    backend_ = backend.get();
    InstallBackend(std::move(backend));
    WindowSpec spec;
    spec.style = WS_POPUP;
    spec.classStyle = CS_DBLCLKS;
    spec.rect = {0, 0, size.cx, size.cy};
    window_ = std::make_unique<CShowWnd>(host_, host_.sound);
    host_.window = window_.get();
    window_->CreateFromSpec(spec);
    window_->ShowWindow(true);
    window_->UpdateWindow();
    WindowManager::Instance().Present();
  }
  ~Stage() {
    window_.reset();
    ReleaseBackend();
    test::ResetPlatform();
  }
  CShowWnd& Window() { return *window_; }
  HeadlessBackend& Backend() { return *backend_; }
  test::LoneShowHost& Host() { return host_; }

 private:
  HeadlessBackend* backend_;
  test::LoneShowHost host_;
  std::unique_ptr<CShowWnd> window_;
};

// A 24-bit frame whose every pixel differs from black and from its
// neighbours.
HDIB PatternFrame(int w, int h) {
  HDIB dib = CreateDIB(uint32_t(w), h, 24);
  size_t stride = DIBStride(24, uint32_t(w));
  uint8_t* bits = FindDIBBits(dib.data());
  for (int row = 0; row < h; ++row)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = bits + size_t(row) * stride + size_t(x) * 3;
      p[0] = uint8_t(x * 7 + 1) | 1;
      p[1] = uint8_t(row * 11 + x);
      p[2] = uint8_t(row * 3 + 5);
    }
  return dib;
}

uint32_t FramePixel(const HDIB& dib, int x, int y) {
  int h = DIBHeight(dib.data()), w = DIBWidth(dib.data());
  const uint8_t* p = FindDIBBits(dib.data()) + size_t(h - 1 - y) * DIBStride(24, uint32_t(w)) + size_t(x) * 3;
  return (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
}

// Checks each step against the window's pixels before it.
class CheckingCanvas : public TransitionCanvas {
 public:
  CheckingCanvas(CShowWnd& window, TransitionCanvas& inner) : window_(window), inner_(inner) {}

  void Draw(const Rect& rect) override {
    Surface before = *window_.GetSurface();
    inner_.Draw(rect);
    const Surface& after = *window_.GetSurface();
    Rect drawn = rect.Intersect(window_.GetClientRect());
    for (int y = 0; y < after.height(); ++y)
      for (int x = 0; x < after.width(); ++x) {
        uint32_t want = drawn.Contains({x, y}) ? FramePixel(window_.currentFrame.m_hDIB, x, y) : before.Pixel(x, y);
        if (after.Pixel(x, y) != want) {
          ADD_FAILURE() << "draw step " << steps << " wrong at " << x << "," << y;
          return;
        }
      }
    ++steps;
  }

  void Scroll(const Rect& area, int dx, int dy) override {
    Surface before = *window_.GetSurface();
    inner_.Scroll(area, dx, dy);
    const Surface& after = *window_.GetSurface();
    Rect a = area.Intersect(window_.GetClientRect());
    for (int y = 0; y < after.height(); ++y)
      for (int x = 0; x < after.width(); ++x) {
        Point from{x - dx, y - dy};
        uint32_t want = a.Contains({x, y}) && a.Contains(from) ? before.Pixel(from.x, from.y) : before.Pixel(x, y);
        if (after.Pixel(x, y) != want) {
          ADD_FAILURE() << "scroll step " << steps << " wrong at " << x << "," << y;
          return;
        }
      }
    ++steps;
  }

  int steps = 0;

 private:
  CShowWnd& window_;
  TransitionCanvas& inner_;
};

void ExpectScreenShowsFrame(const Surface& screen, const HDIB& frame) {
  for (int y = 0; y < screen.height(); ++y)
    for (int x = 0; x < screen.width(); ++x)
      if (screen.Pixel(x, y) != FramePixel(frame, x, y)) {
        ADD_FAILURE() << "screen differs from the frame at " << x << "," << y;
        return;
      }
}

TEST(TransitionDrawing, EachStepDrawsOnlyItsRectangleAndTheEndShowsTheFrame) {
  const Size sizes[] = {{64, 48}, {37, 23}, {5, 5}, {13, 7}, {3, 40}};
  for (Size size : sizes)
    for (int effect = 1; effect <= 19; ++effect) {
      SCOPED_TRACE(::testing::Message() << "effect " << effect << " on " << size.cx << "x" << size.cy);
      Stage stage(size);
      CShowWnd& window = stage.Window();
      window.currentFrame.Attach(PatternFrame(size.cx, size.cy));
      {
        CClientDC dc(&window);
        FrameCanvas canvas(window, dc, window.currentFrame.m_hDIB, stage.Host().bridge, nullptr, nullptr);
        CheckingCanvas checking(window, canvas);
        RunTransitionSteps(uint16_t(effect), window.GetClientRect(), checking, stage.Host().random);
      }
      // What RunTransition adds: the full repaint.
      window.InvalidateRect(nullptr, false);
      window.UpdateWindow();
      WindowManager::Instance().PresentIfDirty();
      ExpectScreenShowsFrame(stage.Backend().LastFrame(), window.currentFrame.m_hDIB);
    }
}

TEST(TransitionDrawing, RunTransitionEndsWithTheWholeFrameOnScreen) {
  for (int effect : {0, 1, 8, 14, 18, 25}) {
    SCOPED_TRACE(effect);
    Stage stage({50, 30});
    stage.Window().currentFrame.Attach(PatternFrame(50, 30));
    stage.Window().RunTransition(uint16_t(effect));
    WindowManager::Instance().PresentIfDirty();
    ExpectScreenShowsFrame(stage.Backend().LastFrame(), stage.Window().currentFrame.m_hDIB);
  }
}

// Frames presented while the effect runs, and the virtual time it takes.
struct Animation {
  int frames = 0;
  uint64_t milliseconds = 0;
};

Animation Animate(Size size, int effect) {
  Stage stage(size);
  stage.Host().random.Seed(5);
  stage.Window().currentFrame.Attach(PatternFrame(size.cx, size.cy));
  Animation a;
  stage.Backend().onPresent = [&](const Surface&, const Rect& dirty) {
    if (!dirty.IsEmpty()) ++a.frames;
  };
  uint64_t start = stage.Backend().Now();
  stage.Window().RunTransition(uint16_t(effect));
  WindowManager::Instance().PresentIfDirty();
  a.milliseconds = stage.Backend().Now() - start;
  return a;
}

TEST(TransitionDrawing, EveryEffectIsAnAnimationOfAtMostThreeSeconds) {
  for (Size size : {Size{640, 480}, Size{1920, 1080}})
    for (int effect = 2; effect <= 18; ++effect) {
      SCOPED_TRACE(::testing::Message() << "effect " << effect << " on " << size.cx << "x" << size.cy);
      Animation a = Animate(size, effect);
      // The last frame is the full repaint; the others show the effect.
      RecordProperty("effect" + std::to_string(effect) + "_" + std::to_string(size.cx), std::to_string(a.frames) + " frames " + std::to_string(a.milliseconds) + " ms");
      EXPECT_GE(a.frames - 1, 10);
      EXPECT_LE(a.milliseconds, 3000u);
    }
}

TEST(TransitionDrawing, TheCutIsOneFrame) {
  Animation a = Animate({640, 480}, TRANSITION_CUT);
  EXPECT_EQ(a.frames, 1);
  EXPECT_LE(a.milliseconds, 20u);
}

}  // namespace
}  // namespace pellora
