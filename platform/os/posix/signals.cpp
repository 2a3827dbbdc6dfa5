// The termination signals of POSIX systems.
#include "platform/os/signals.h"

#include <signal.h>
#include <sys/time.h>
#include <unistd.h>

#include <atomic>

namespace pellora {
namespace {

static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

std::atomic<bool> pending{false};
std::atomic<int> firstSignal{0};

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction previous[3];
struct sigaction previousAlarm;
int installed = 0;
int graceMs = 0;

[[noreturn]] void EndNow() {
  ForEachNotedTemporaryFile([](const char* path) { ::unlink(path); });
  int signal = firstSignal.load();
  ::_exit(128 + (signal ? signal : SIGTERM));
}

void OnDeadline(int) { EndNow(); }

void OnTerminationSignal(int signal) {
  if (pending.exchange(true)) return;
  firstSignal.store(signal);
  if (graceMs <= 0) EndNow();
  // The normal shutdown has this long; whatever holds it up, the deadline
  // ends the program.
  struct itimerval deadline = {};
  deadline.it_value.tv_sec = graceMs / 1000;
  deadline.it_value.tv_usec = (graceMs % 1000) * 1000;
  setitimer(ITIMER_REAL, &deadline, nullptr);
}

}  // namespace

TerminationSignals::TerminationSignals(int graceMilliseconds) {
  // Nested lifetimes keep the outermost installation.
  if (installed++ > 0) return;
  graceMs = graceMilliseconds;
  struct sigaction action = {};
  action.sa_handler = &OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  for (int signal : kSignals) sigaddset(&action.sa_mask, signal);
  sigaddset(&action.sa_mask, SIGALRM);
  // Interrupted reads and writes go on: only the flag matters, and the
  // deadline ends whatever still waits.
  action.sa_flags = SA_RESTART;
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &previous[i]);
  struct sigaction alarm = action;
  alarm.sa_handler = &OnDeadline;
  sigaction(SIGALRM, &alarm, &previousAlarm);
}

TerminationSignals::~TerminationSignals() {
  if (--installed > 0) return;
  struct itimerval off = {};
  setitimer(ITIMER_REAL, &off, nullptr);
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &previous[i], nullptr);
  sigaction(SIGALRM, &previousAlarm, nullptr);
}

bool TerminationPending() { return pending.load(); }

void ClearTerminationPending() {
  struct itimerval off = {};
  if (installed > 0) setitimer(ITIMER_REAL, &off, nullptr);
  pending.store(false);
  firstSignal.store(0);
}

void SendTerminationSignal(TerminationSignal signal) {
  switch (signal) {
    case TerminationSignal::Interrupt: raise(SIGINT); break;
    case TerminationSignal::Terminate: raise(SIGTERM); break;
    case TerminationSignal::HangUp: raise(SIGHUP); break;
  }
}

}  // namespace pellora
