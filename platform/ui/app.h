// The application object and its message loop. One instance per process;
// Run() calls InitInstance, runs the loop until the main window is gone,
// then ExitInstance, and returns the process's exit code.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/base/types.h"

namespace pellora {

class CWnd;

class CWinApp {
 public:
  explicit CWinApp(std::string appName);
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // False ends the process at once (after ExitInstance).
  virtual bool InitInstance();
  // Called each time the queue empties and then every few milliseconds
  // while it stays empty; the count restarts after each message.
  virtual bool OnIdle(long count);
  virtual int ExitInstance();
  // The environment asks the program to end (a window manager's close, a
  // termination signal): by default the main window is asked to close.
  virtual void OnQuitRequest();

  int Run();
  const std::string& AppName() const { return appName_; }

  CWnd* m_pMainWnd = nullptr;

 protected:
  // The code that a posted quit message carried.
  int QuitCode() const;

 private:
  std::string appName_;
};

// The application object while one exists, as the window system knows it.
CWinApp* AfxGetApp();

// How long the loop sleeps between idle passes while nothing happens.
constexpr uint32_t kIdleIntervalMs = 10;

// Runs messages until keepRunning() turns false or the program is quitting;
// modal dialogs and message boxes run their loops with it. No idle
// processing happens inside.
void RunModalLoop(const std::function<bool()>& keepRunning);

// Handles every message that is waiting now, then returns.
void PumpWaitingMessages();

}  // namespace pellora
