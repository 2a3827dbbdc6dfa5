#include "platform/app.h"

#include <cstdio>

#include "platform/backend.h"
#include "platform/message_box_dialog.h"
#include "platform/messages.h"
#include "platform/signals.h"
#include "platform/window.h"
#include "platform/window_manager.h"

namespace pellora {
namespace {
CWinApp* theApp = nullptr;

void Dispatch(const MSG& msg) {
  if (CWnd* window = CWnd::FromHandle(msg.hwnd)) window->WindowProc(msg.message, msg.wParam, msg.lParam);
}
}  // namespace

CWinApp::CWinApp(std::string appName) : appName_(std::move(appName)) { theApp = this; }

CWinApp::~CWinApp() {
  if (theApp == this) theApp = nullptr;
}

CWinApp* AfxGetApp() { return theApp; }

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

int MessageBox(HWND, const std::string& text, const std::string& caption, uint32_t type) {
  MessageBoxIcon icon = MessageBoxIcon::None;
  switch (type & 0xF0) {
    case MB_ICONERROR: icon = MessageBoxIcon::Error; break;
    case MB_ICONEXCLAMATION: icon = MessageBoxIcon::Exclamation; break;
    case MB_ICONINFORMATION: icon = MessageBoxIcon::Information; break;
  }
  WindowManager& manager = WindowManager::Instance();
  manager.PresentIfDirty();
  Backend& backend = CurrentBackend();
  // Over a screen that shows windows, the box is drawn as a dialog on it;
  // its text still goes to the error stream.
  if (backend.DrawsMessageBoxes() && manager.AnyVisible()) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return RunMessageBoxDialog(text, caption, icon);
  }
  // Where no native box can be shown (no window manager, for one), the
  // platform's own box is drawn on the black screen and waited for.
  if (!backend.ShowMessageBox(text, caption, icon)) return RunMessageBoxDialog(text, caption, icon);
  return IDOK;
}

int AfxMessageBox(const std::string& text, uint32_t type) {
  CWinApp* app = AfxGetApp();
  return MessageBox(0, text, app ? app->AppName() : std::string(), type);
}

}  // namespace pellora
