// The termination signals (interrupt, terminate, hang-up) turned into a
// quit request of the message loop, so that a program ended that way goes
// through its normal shutdown: sound stopped, temporary files deleted,
// windows destroyed. The handler only sets a flag; the loop, which wakes
// at least every few milliseconds, sees it.
#pragma once

namespace pellora {

// Installs the handlers for its lifetime, then puts the previous ones back.
class TerminationSignals {
 public:
  TerminationSignals();
  ~TerminationSignals();
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;
};

// True once a termination signal has arrived and until it is cleared.
bool TerminationPending();
void ClearTerminationPending();

// Sends this process one of the termination signals, as another process
// would (for the tests).
enum class TerminationSignal { Interrupt, Terminate, HangUp };
void SendTerminationSignal(TerminationSignal signal);

}  // namespace pellora
