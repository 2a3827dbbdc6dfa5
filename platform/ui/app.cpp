#include "platform/ui/app.h"

#include "platform/backend.h"
#include "platform/os/signals.h"
#include "platform/ui/messages.h"
#include "platform/ui/window.h"
#include "platform/ui/window_manager.h"

namespace pellora {
namespace {

void Dispatch(const MSG& msg) {
  if (CWnd* window = CWnd::FromHandle(msg.hwnd)) window->WindowProc(msg.message, msg.wParam, msg.lParam);
}
}  // namespace

CWinApp::CWinApp(std::string appName) : appName_(std::move(appName)) { WindowManager::Instance().app = this; }

CWinApp::~CWinApp() {
  CWinApp*& app = WindowManager::Instance().app;
  if (app == this) app = nullptr;
}

CWinApp* AfxGetApp() { return WindowManager::Instance().app; }

bool CWinApp::InitInstance() { return true; }
bool CWinApp::OnIdle(long) { return false; }
int CWinApp::ExitInstance() { return QuitCode(); }
int CWinApp::QuitCode() const { return WindowManager::Instance().ExitCode(); }

void CWinApp::OnQuitRequest() {
  if (m_pMainWnd) m_pMainWnd->PostMessage(WM_CLOSE);
  else PostQuitMessage(0);
}

int CWinApp::Run() {
  WindowManager& m = WindowManager::Instance();
  // From here on a termination signal ends the program the normal way.
  TerminationSignals signals;
  if (!InitInstance()) {
    if (m_pMainWnd) m_pMainWnd->DestroyWindow();
    return ExitInstance();
  }
  Backend& backend = CurrentBackend();
  long idleCount = 0;
  bool idleDue = true;
  uint64_t nextIdle = 0;
  MSG msg;
  while (!m.QuitPosted()) {
    if (m.QuitRequested()) {
      m.ClearQuitRequest();
      OnQuitRequest();
      continue;
    }
    if (m.PeekMessage(msg)) {
      Dispatch(msg);
      idleCount = 0;
      idleDue = true;
      continue;
    }
    // The queue is empty: idle processing now, then again every few
    // milliseconds while it stays empty, sleeping in between.
    uint64_t now = backend.Now();
    if (idleDue || now >= nextIdle) {
      OnIdle(idleCount++);
      idleDue = false;
      nextIdle = now + kIdleIntervalMs;
      continue;
    }
    m.WaitMessage(nextIdle);
  }
  m.PresentIfDirty();
  return ExitInstance();
}

void RunModalLoop(const std::function<bool()>& keepRunning) {
  WindowManager& m = WindowManager::Instance();
  MSG msg;
  while (keepRunning() && !m.QuitPosted()) {
    if (m.QuitRequested()) {
      // Leave the modal loop; the outer loop will see the request again.
      return;
    }
    if (m.PeekMessage(msg)) {
      Dispatch(msg);
      continue;
    }
    m.WaitMessage(CurrentBackend().Now() + 1000);
  }
}

void PumpWaitingMessages() {
  WindowManager& m = WindowManager::Instance();
  MSG msg;
  while (!m.QuitPosted() && m.PeekMessage(msg)) Dispatch(msg);
}

}  // namespace pellora
