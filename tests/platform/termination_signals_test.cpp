// Interrupt, terminate and hang-up become a quit request of the message
// loop while the application runs, and the handlers that were there before
// come back afterwards.
#include <gtest/gtest.h>

#include <csignal>

#include "platform/app.h"
#include "platform/headless/headless_backend.h"
#include "platform/signals.h"
#include "platform/window.h"
#include "platform/window_manager.h"

namespace pellora {
namespace {

volatile std::sig_atomic_t foreignHandlerCalls = 0;
void ForeignHandler(int) { foreignHandlerCalls = foreignHandlerCalls + 1; }

TEST(TerminationSignals, BecomeAFlagAndGiveTheOldHandlersBack) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    std::signal(signal, ForeignHandler);
    foreignHandlerCalls = 0;
    {
      TerminationSignals installed;
      ClearTerminationPending();
      std::raise(signal);
      EXPECT_TRUE(TerminationPending());
      EXPECT_EQ(foreignHandlerCalls, 0);
      ClearTerminationPending();
    }
    EXPECT_FALSE(TerminationPending());
    std::raise(signal);
    EXPECT_EQ(foreignHandlerCalls, 1);
    std::signal(signal, SIG_DFL);
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
  backend->ScheduleAction(700, [] { std::raise(SIGHUP); });
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
