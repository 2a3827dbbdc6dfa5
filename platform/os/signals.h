// The termination signals (interrupt, terminate, hang-up) turned into a
// quit request of the message loop, so that a program ended that way goes
// through its normal shutdown: sound stopped, temporary files deleted,
// windows destroyed. The handler only sets a flag; the loop, which wakes
// at least every few milliseconds, sees it. Whatever holds the program up
// (a wait in a system call, a long computation), it ends a short grace
// time after the first signal, deleting the temporary files it still has.
#pragma once

#include <string>

namespace pellora {

// Installs the handlers for its lifetime, then puts the previous ones back.
// A grace time of 0 ends the program at the signal itself (for programs
// without a message loop).
class TerminationSignals {
 public:
  static constexpr int kGraceMs = 800;
  explicit TerminationSignals(int graceMilliseconds = kGraceMs);
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

// Temporary files the program means to delete before it ends: an end
// forced by a termination signal deletes those not forgotten by then.
void NoteTemporaryFile(const std::string& path);
void ForgetTemporaryFile(const std::string& path);
// Calls visit for each noted file; safe in a signal handler when visit is.
void ForEachNotedTemporaryFile(void (*visit)(const char* path));

}  // namespace pellora
