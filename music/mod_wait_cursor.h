// The wait cursor of long music work (loading samples, measuring a song,
// seeking). While the full-screen show window is up the cursor stays
// hidden: the module player asks its owner before the work starts.
#pragma once

#include <optional>

#include "platform/ui/cursor.h"

namespace pellora {

// Shows the wait cursor for its lifetime when shown is true.
class ModWaitCursor {
 public:
  explicit ModWaitCursor(bool shown) {
    if (shown) cursor_.emplace();
  }

 private:
  std::optional<CWaitCursor> cursor_;
};

}  // namespace pellora
