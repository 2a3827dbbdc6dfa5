// The framework's message loop on the headless backend: message order,
// timers, idle processing, window lifetime and input routing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"
#include "platform/ui/app.h"
#include "platform/ui/window.h"
#include "platform/ui/window_manager.h"

namespace pellora {
namespace {

// Records the messages it receives.
class Recorder : public CWnd {
 public:
  explicit Recorder(std::vector<std::string>* log, std::string name = "w") : log_(log), name_(std::move(name)) {}
  bool Create(uint32_t style = WS_POPUP | WS_VISIBLE, uint32_t classStyle = 0, HWND owner = 0,
              Rect rect = {0, 0, 100, 100}) {
    WindowSpec spec;
    spec.style = style;
    spec.classStyle = classStyle;
    spec.owner = owner;
    spec.rect = rect;
    return CreateFromSpec(spec);
  }
  int createResult = 0;

 protected:
  int OnCreate() override { return Log("create"), createResult; }
  void OnDestroy() override { Log("destroy"); }
  void OnPaint() override {
    Log("paint");
    CWnd::OnPaint();
  }
  void OnTimer(uintptr_t id) override { Log("timer" + std::to_string(id)); }
  void OnKeyDown(uint32_t key, uint32_t, uint32_t) override { Log("key" + std::to_string(key)); }
  void OnSysKeyDown(uint32_t key, uint32_t r, uint32_t f) override {
    Log("syskey" + std::to_string(key));
    CWnd::OnSysKeyDown(key, r, f);
  }
  void OnChar(uint32_t c, uint32_t, uint32_t) override { Log(std::string("char") + char(c)); }
  void OnLButtonDown(uint32_t, Point p) override { Log("ldown" + std::to_string(p.x) + "," + std::to_string(p.y)); }
  void OnLButtonDblClk(uint32_t, Point) override { Log("ldbl"); }
  void OnRButtonDown(uint32_t, Point) override { Log("rdown"); }
  LRESULT DefWindowProc(uint32_t message, WPARAM, LPARAM) override {
    if (message >= WM_USER) Log("user" + std::to_string(message - WM_USER));
    return 0;
  }

 private:
  void Log(const std::string& what) {
    if (log_) log_->push_back(name_ + ":" + what);
  }
  std::vector<std::string>* log_;
  std::string name_;
};

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp("Test") {}
  std::function<bool()> init = [] { return true; };
  std::vector<uint64_t> idleTimes;
  bool InitInstance() override { return init(); }
  bool OnIdle(long) override {
    idleTimes.push_back(CurrentBackend().Now());
    return true;
  }
};

class MessageLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WindowManager::Instance().Reset();
    auto backend = std::make_unique<HeadlessBackend>(HeadlessBackend::Options{});
    headless_ = backend.get();
    InstallBackend(std::move(backend));
  }
  void TearDown() override {
    WindowManager::Instance().Reset();
    InstallBackend(nullptr);
  }
  HeadlessBackend* headless_ = nullptr;
  std::vector<std::string> log_;
};

TEST_F(MessageLoopTest, CreationFailureDestroysTheWindow) {
  Recorder w(&log_);
  w.createResult = -1;
  EXPECT_FALSE(w.Create());
  EXPECT_EQ(w.m_hWnd, 0u);
  EXPECT_EQ(log_, (std::vector<std::string>{"w:create", "w:destroy"}));
}

TEST_F(MessageLoopTest, PostedMessagesComeBeforePaintAndTimers) {
  TestApp app;
  Recorder w(&log_);
  app.init = [&] {
    w.Create();
    w.SetTimer(7, 50);
    w.PostMessage(WM_USER + 1);
    app.m_pMainWnd = &w;
    headless_->ScheduleAction(120, [&] { w.DestroyWindow(); });
    return true;
  };
  app.Run();
  ASSERT_GE(log_.size(), 5u);
  EXPECT_EQ(log_[0], "w:create");
  EXPECT_EQ(log_[1], "w:user1");
  EXPECT_EQ(log_[2], "w:paint");
  EXPECT_EQ(log_[3], "w:timer7");
  EXPECT_EQ(log_[4], "w:timer7");
  EXPECT_EQ(log_.back(), "w:destroy");
}

TEST_F(MessageLoopTest, TimerTicksDoNotPileUp) {
  TestApp app;
  Recorder w(&log_);
  int ticks = 0;
  app.init = [&] {
    w.Create(WS_POPUP);
    w.SetTimer(1, 1000);
    app.m_pMainWnd = &w;
    // A long piece of work: five periods pass without messages handled.
    headless_->ScheduleAction(500, [&] { headless_->AdvanceClock(5000); });
    headless_->ScheduleAction(6600, [&] { w.DestroyWindow(); });
    return true;
  };
  app.Run();
  for (const std::string& s : log_) ticks += s == "w:timer1";
  // Ticks at 1000, then one for the five missed periods, then 6500.
  EXPECT_EQ(ticks, 2);
}

TEST_F(MessageLoopTest, IdleRunsWhenTheQueueEmptiesThenEveryTenMilliseconds) {
  TestApp app;
  Recorder w(nullptr);
  app.init = [&] {
    w.Create(WS_POPUP);
    app.m_pMainWnd = &w;
    headless_->ScheduleAction(100, [&] { w.DestroyWindow(); });
    return true;
  };
  app.Run();
  ASSERT_GE(app.idleTimes.size(), 9u);
  EXPECT_LE(app.idleTimes.size(), 12u);  // sleeping in between, not spinning
  for (size_t i = 1; i < app.idleTimes.size(); ++i) EXPECT_LE(app.idleTimes[i] - app.idleTimes[i - 1], 10u);
}

TEST_F(MessageLoopTest, DestroyingTheMainWindowEndsTheLoopAndOwnedWindowsGoFirst) {
  TestApp app;
  Recorder owner(&log_, "owner");
  Recorder owned(&log_, "owned");
  app.init = [&] {
    owner.Create(WS_POPUP);
    owned.Create(WS_POPUP, 0, owner.m_hWnd);
    app.m_pMainWnd = &owner;
    owner.PostMessage(WM_CLOSE);
    return true;
  };
  EXPECT_EQ(app.Run(), 0);
  std::vector<std::string> destroys;
  for (const std::string& s : log_)
    if (s.find("destroy") != std::string::npos) destroys.push_back(s);
  EXPECT_EQ(destroys, (std::vector<std::string>{"owned:destroy", "owner:destroy"}));
  EXPECT_EQ(owned.m_hWnd, 0u);
}

TEST_F(MessageLoopTest, MessagesToDestroyedWindowsAreDropped) {
  Recorder a(&log_, "a");
  Recorder b(&log_, "b");
  a.Create();
  b.Create();
  HWND gone = a.m_hWnd;
  PostMessage(gone, WM_USER + 5);
  b.PostMessage(WM_USER + 6);
  a.DestroyWindow();
  log_.clear();
  PumpWaitingMessages();
  EXPECT_EQ(log_, (std::vector<std::string>{"b:user6", "b:paint"}));
  EXPECT_EQ(SendMessage(gone, WM_USER + 7), 0);
}

TEST_F(MessageLoopTest, KeysGoToTheActiveWindowAndAltMakesSystemKeys) {
  Recorder w(&log_);
  w.Create();
  std::string error;
  ASSERT_TRUE(headless_->AddScript("0 key Right; 0 key F10; 0 key X alt; 0 type a", error)) << error;
  headless_->WaitForInput(1);
  log_.clear();
  PumpWaitingMessages();
  std::vector<std::string> expected = {"w:key39", "w:syskey121", "w:syskey88", "w:key65", "w:chara"};
  std::vector<std::string> got;
  for (const std::string& s : log_)
    if (s != "w:paint") got.push_back(s);
  EXPECT_EQ(got, expected);
}

TEST_F(MessageLoopTest, AltF4ClosesTheWindow) {
  Recorder w(&log_);
  w.Create();
  std::string error;
  ASSERT_TRUE(headless_->AddScript("0 key F4 alt", error));
  headless_->WaitForInput(1);
  PumpWaitingMessages();
  EXPECT_EQ(w.m_hWnd, 0u);
}

TEST_F(MessageLoopTest, DoubleClicksNeedTheClassStyle) {
  Recorder plain(&log_, "plain");
  plain.Create(WS_POPUP | WS_VISIBLE, 0, 0, {0, 0, 50, 50});
  Recorder dbl(&log_, "dbl");
  dbl.Create(WS_POPUP | WS_VISIBLE, CS_DBLCLKS, 0, {100, 100, 150, 150});
  std::string error;
  ASSERT_TRUE(headless_->AddScript("0 click 10 10 double; 0 click 110 120 double; 0 click 120 130 right", error));
  headless_->WaitForInput(1);
  log_.clear();
  PumpWaitingMessages();
  std::vector<std::string> clicks;
  for (const std::string& s : log_)
    if (s.find("down") != std::string::npos || s.find("dbl:l") != std::string::npos) clicks.push_back(s);
  EXPECT_EQ(clicks, (std::vector<std::string>{"plain:ldown10,10", "dbl:ldbl", "dbl:rdown"}));
}

TEST_F(MessageLoopTest, ModalWindowsSwallowClicksElsewhere) {
  Recorder back(&log_, "back");
  back.Create(WS_POPUP | WS_VISIBLE, 0, 0, {0, 0, 200, 200});
  Recorder modal(&log_, "modal");
  modal.Create(WS_POPUP | WS_VISIBLE, 0, back.m_hWnd, {50, 50, 100, 100});
  WindowManager::Instance().PushModal(modal.m_hWnd);
  std::string error;
  ASSERT_TRUE(headless_->AddScript("0 click 10 10; 0 click 60 70; 0 key Escape", error));
  headless_->WaitForInput(1);
  log_.clear();
  PumpWaitingMessages();
  WindowManager::Instance().PopModal();
  std::vector<std::string> input;
  for (const std::string& s : log_)
    if (s.find("paint") == std::string::npos) input.push_back(s);
  EXPECT_EQ(input, (std::vector<std::string>{"modal:ldown10,20", "modal:key27"}));
}

TEST_F(MessageLoopTest, ScreenShowsTheTopmostWindows) {
  Recorder back(nullptr);
  back.Create(WS_POPUP | WS_VISIBLE, 0, 0, {0, 0, 640, 480});
  WindowSpec spec;
  spec.style = WS_POPUP | WS_VISIBLE;
  spec.rect = {10, 10, 20, 20};
  spec.background = 0x0000FF;  // red as a COLORREF
  CWnd front;
  ASSERT_TRUE(front.CreateFromSpec(spec));
  PumpWaitingMessages();
  WindowManager::Instance().Present();
  const Surface& screen = headless_->LastFrame();
  EXPECT_EQ(screen.Pixel(15, 15), 0xFF0000u);
  EXPECT_EQ(screen.Pixel(5, 5), 0u);
  front.DestroyWindow();
  WindowManager::Instance().Present();
  EXPECT_EQ(headless_->LastFrame().Pixel(15, 15), 0u);
}

TEST_F(MessageLoopTest, ScrollingMovesOnlyTheAreaAndLeavesTheUncoveredStrip) {
  CWnd window;
  WindowSpec spec;
  spec.style = WS_POPUP;
  spec.rect = {0, 0, 10, 4};
  ASSERT_TRUE(window.CreateFromSpec(spec));
  window.ShowWindow(true);
  Surface& s = *window.GetSurface();
  auto At = [&](int x, int y) { return s.Pixel(x, y); };
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 10; ++x) s.Row(y)[x] = uint32_t(y * 10 + x);
  Rect area{2, 0, 10, 4};
  window.ScrollWindowEx(3, 0, &area, nullptr);
  EXPECT_EQ(At(1, 1), 11u);  // outside the area
  EXPECT_EQ(At(2, 1), 12u);  // uncovered: still the old pixel
  EXPECT_EQ(At(5, 1), 12u);  // moved from 2
  EXPECT_EQ(At(9, 1), 16u);
  Rect all{0, 0, 10, 4};
  window.ScrollWindowEx(0, -1, &all, nullptr);
  EXPECT_EQ(At(9, 0), 16u);
  EXPECT_EQ(At(9, 3), 36u);  // the bottom row stays
  window.ScrollWindowEx(0, 2, nullptr, nullptr);
  EXPECT_EQ(At(9, 2), 16u);
  window.ScrollWindowEx(-50, 0, nullptr, nullptr);  // everything leaves: nothing moves
  EXPECT_EQ(At(9, 2), 16u);
}

}  // namespace
}  // namespace pellora
