// The termination signals of POSIX systems.
#include "platform/os/signals.h"

#include <signal.h>
#include <sys/time.h>
#include <unistd.h>

#include <atomic>

namespace pellora {
namespace {

static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// What the handlers read, and the installation they replaced: a signal
// handler has no context to find them in.
struct HandlerState {
  std::atomic<bool> pending{false};
  std::atomic<int> firstSignal{0};
  struct sigaction previous[3];
  struct sigaction previousAlarm;
  int installed = 0;
  int graceMs = 0;
};
HandlerState handler;

[[noreturn]] void EndNow() {
  ForEachNotedTemporaryFile([](const char* path) { ::unlink(path); });
  int signal = handler.firstSignal.load();
  ::_exit(128 + (signal ? signal : SIGTERM));
}

void OnDeadline(int) { EndNow(); }

void OnTerminationSignal(int signal) {
  if (handler.pending.exchange(true)) return;
  handler.firstSignal.store(signal);
  if (handler.graceMs <= 0) EndNow();
  // The normal shutdown has this long; whatever holds it up, the deadline
  // ends the program.
  struct itimerval deadline = {};
  deadline.it_value.tv_sec = handler.graceMs / 1000;
  deadline.it_value.tv_usec = (handler.graceMs % 1000) * 1000;
  setitimer(ITIMER_REAL, &deadline, nullptr);
}

}  // namespace

TerminationSignals::TerminationSignals(int graceMilliseconds) {
  // Nested lifetimes keep the outermost installation.
  if (handler.installed++ > 0) return;
  handler.graceMs = graceMilliseconds;
  struct sigaction action = {};
  action.sa_handler = &OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  for (int signal : kSignals) sigaddset(&action.sa_mask, signal);
  sigaddset(&action.sa_mask, SIGALRM);
  // Interrupted reads and writes go on: only the flag matters, and the
  // deadline ends whatever still waits.
  action.sa_flags = SA_RESTART;
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &handler.previous[i]);
  struct sigaction alarm = action;
  alarm.sa_handler = &OnDeadline;
  sigaction(SIGALRM, &alarm, &handler.previousAlarm);
}

TerminationSignals::~TerminationSignals() {
  if (--handler.installed > 0) return;
  struct itimerval off = {};
  setitimer(ITIMER_REAL, &off, nullptr);
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &handler.previous[i], nullptr);
  sigaction(SIGALRM, &handler.previousAlarm, nullptr);
}

bool TerminationPending() { return handler.pending.load(); }

void ClearTerminationPending() {
  struct itimerval off = {};
  if (handler.installed > 0) setitimer(ITIMER_REAL, &off, nullptr);
  handler.pending.store(false);
  handler.firstSignal.store(0);
}

void SendTerminationSignal(TerminationSignal signal) {
  switch (signal) {
    case TerminationSignal::Interrupt: raise(SIGINT); break;
    case TerminationSignal::Terminate: raise(SIGTERM); break;
    case TerminationSignal::HangUp: raise(SIGHUP); break;
  }
}

}  // namespace pellora
