// The mouse cursor: hidden, the standard arrow or the hourglass.
#pragma once

#include "platform/backend.h"

namespace pellora {

// Sets the cursor and returns the one it replaces.
CursorKind SetCursor(CursorKind cursor);

// Shows the wait cursor for its lifetime, then puts the previous one back.
class CWaitCursor {
 public:
  CWaitCursor() : previous_(SetCursor(CursorKind::Wait)) {}
  ~CWaitCursor() { SetCursor(previous_); }
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;

 private:
  CursorKind previous_;
};

}  // namespace pellora
