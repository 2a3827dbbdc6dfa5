// The console's termination events on Windows: Ctrl+C and Ctrl+Break as
// an interrupt, the console window closed as a hang-up, log-off and
// shutdown as a terminate. The system calls the handler on a thread of its
// own, which waits out the grace time and then ends the program.
#include <windows.h>

#include <atomic>

#include "platform/os/signals.h"
#include "platform/os/win32/wide.h"

namespace pellora {
namespace {

// What the handler reads: the system calls it on a thread of its own,
// with no context to find them in.
struct HandlerState {
  std::atomic<bool> pending{false};
  // The exit status of a forced end, as a shell reports a POSIX signal.
  std::atomic<int> endStatus{0};
  // Changes whenever a pending request is cleared, cancelling its deadline.
  std::atomic<unsigned> generation{0};
  std::atomic<int> installed{0};
  std::atomic<int> graceMs{0};
};
HandlerState handler;

constexpr int kInterruptStatus = 130, kHangUpStatus = 129, kTerminateStatus = 143;

[[noreturn]] void EndNow(int status) {
  ForEachNotedTemporaryFile([](const char* path) { DeleteFileW(Utf8ToWide(path).c_str()); });
  // Not ExitProcess: the other threads may hold locks that its clean-up
  // would wait for.
  TerminateProcess(GetCurrentProcess(), UINT(status));
  for (;;) Sleep(INFINITE);
}

// Sets the flag; true for the request that starts the forced end.
bool Begin(int status) {
  if (handler.pending.exchange(true)) return false;
  handler.endStatus.store(status);
  return true;
}

// Ends the program after the grace time unless the request is cleared.
void EndAfterGrace() {
  unsigned started = handler.generation.load();
  for (int waited = 0; waited < handler.graceMs.load(); waited += 10) {
    Sleep(10);
    if (handler.generation.load() != started) return;
  }
  if (handler.generation.load() == started) EndNow(handler.endStatus.load());
}

DWORD WINAPI GraceThread(LPVOID) {
  EndAfterGrace();
  return 0;
}

int StatusOf(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT: return kInterruptStatus;
    case CTRL_CLOSE_EVENT: return kHangUpStatus;
    default: return kTerminateStatus;
  }
}

BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (Begin(StatusOf(event))) {
    if (handler.graceMs.load() <= 0) EndNow(handler.endStatus.load());
    EndAfterGrace();
    return TRUE;
  }
  // A second event while the first one's end is under way: the system
  // ends the process when this returns, so wait for that end instead.
  Sleep(DWORD(handler.graceMs.load()) + 100);
  return TRUE;
}

}  // namespace

TerminationSignals::TerminationSignals(int graceMilliseconds) {
  // Nested lifetimes keep the outermost installation.
  if (handler.installed++ > 0) return;
  handler.graceMs.store(graceMilliseconds);
  SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
}

TerminationSignals::~TerminationSignals() {
  if (--handler.installed > 0) return;
  ++handler.generation;
  SetConsoleCtrlHandler(&OnConsoleEvent, FALSE);
}

bool TerminationPending() { return handler.pending.load(); }

void ClearTerminationPending() {
  ++handler.generation;
  handler.pending.store(false);
  handler.endStatus.store(0);
}

void SendTerminationSignal(TerminationSignal signal) {
  int status = signal == TerminationSignal::Interrupt ? kInterruptStatus
               : signal == TerminationSignal::HangUp  ? kHangUpStatus
                                                      : kTerminateStatus;
  // Without the handlers the system's default ends the process at once.
  if (handler.installed.load() == 0) TerminateProcess(GetCurrentProcess(), UINT(status));
  // As the system would, but with the flag set before this returns.
  if (!Begin(status)) return;
  if (handler.graceMs.load() <= 0) EndNow(status);
  if (HANDLE thread = CreateThread(nullptr, 0, &GraceThread, nullptr, 0, nullptr)) CloseHandle(thread);
}

}  // namespace pellora
