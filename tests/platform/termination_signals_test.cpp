// Interrupt, terminate and hang-up become a quit request of the message
// loop while the application runs, and the handlers that were there before
// come back afterwards.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/headless/headless_backend.h"
#include "platform/os/signals.h"
#include "platform/ui/app.h"
#include "platform/ui/window.h"
#include "platform/ui/window_manager.h"

namespace pellora {
namespace {

const TerminationSignal kSignals[] = {TerminationSignal::Interrupt, TerminationSignal::Terminate,
                                      TerminationSignal::HangUp};

// A wait status of a process that a signal ended.
bool KilledByASignal(int status) { return (status & 0x7F) != 0; }

TEST(TerminationSignals, BecomeAFlagWhileInstalled) {
  for (TerminationSignal signal : kSignals) {
    TerminationSignals installed;
    ClearTerminationPending();
    SendTerminationSignal(signal);
    EXPECT_TRUE(TerminationPending());
    ClearTerminationPending();
    EXPECT_FALSE(TerminationPending());
  }
}

TEST(TerminationSignalsDeathTest, TheDefaultHandlersComeBackAfterwards) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (TerminationSignal signal : kSignals) {
    EXPECT_EXIT(
        {
          {
            TerminationSignals outer;
            TerminationSignals inner;
          }
          SendTerminationSignal(signal);
          std::exit(0);
        },
        KilledByASignal, "");
    // Nested lifetimes keep the handlers until the outermost ends.
    EXPECT_EXIT(
        {
          TerminationSignals outer;
          { TerminationSignals inner; }
          SendTerminationSignal(signal);
          std::exit(TerminationPending() ? 3 : 4);
        },
        ::testing::ExitedWithCode(3), "");
  }
}

// Ends its main window when asked to quit, remembering that it was.
class QuitApp : public CWinApp {
 public:
  QuitApp() : CWinApp("Test") {}
  bool InitInstance() override {
    WindowSpec spec;
    spec.style = WS_POPUP;
    window.CreateFromSpec(spec);
    m_pMainWnd = &window;
    return true;
  }
  void OnQuitRequest() override {
    quitAt = CurrentBackend().Now();
    CWinApp::OnQuitRequest();
  }
  CWnd window;
  uint64_t quitAt = 0;
};

TEST(TerminationSignals, ASignalDuringTheLoopEndsItThroughTheQuitRequest) {
  WindowManager::Instance().Reset();
  auto backend = std::make_unique<HeadlessBackend>(HeadlessBackend::Options{});
  backend->ScheduleAction(700, [] { SendTerminationSignal(TerminationSignal::HangUp); });
  // Something to come later, which the signal cuts short.
  backend->ScheduleAction(60000, [] {});
  InstallBackend(std::move(backend));
  QuitApp app;
  EXPECT_EQ(app.Run(), 0);
  EXPECT_GE(app.quitAt, 700u);
  EXPECT_LT(app.quitAt, 720u);
  EXPECT_EQ(app.window.m_hWnd, 0u);
  EXPECT_FALSE(TerminationPending());
  WindowManager::Instance().Reset();
  InstallBackend(nullptr);
}

}  // namespace
}  // namespace pellora
