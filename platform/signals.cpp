#include "platform/signals.h"

#include <signal.h>

#include <atomic>

namespace pellora {
namespace {

static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

std::atomic<bool> pending{false};

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction previous[3];
int installed = 0;

void OnTerminationSignal(int) { pending.store(true); }

}  // namespace

TerminationSignals::TerminationSignals() {
  // Nested lifetimes keep the outermost installation.
  if (installed++ > 0) return;
  struct sigaction action = {};
  action.sa_handler = &OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  // Interrupted reads and writes go on: only the flag matters.
  action.sa_flags = SA_RESTART;
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &previous[i]);
}

TerminationSignals::~TerminationSignals() {
  if (--installed > 0) return;
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &previous[i], nullptr);
}

bool TerminationPending() { return pending.load(); }

void ClearTerminationPending() { pending.store(false); }

void SendTerminationSignal(TerminationSignal signal) {
  switch (signal) {
    case TerminationSignal::Interrupt: raise(SIGINT); break;
    case TerminationSignal::Terminate: raise(SIGTERM); break;
    case TerminationSignal::HangUp: raise(SIGHUP); break;
  }
}

}  // namespace pellora
