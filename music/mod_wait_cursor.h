// The wait cursor of long music work (loading samples, measuring a song,
// seeking). While the full-screen show window is up the cursor stays
// hidden: the presentation tells this file so through a query.
#pragma once

#include <functional>
#include <optional>

#include "platform/cursor.h"

namespace pellora {

// Installs the presentation's "is the show window up?" question; without
// one the answer is no.
void SetShowActiveQuery(std::function<bool()> query);

// Shows the wait cursor for its lifetime unless the show is active.
class ModWaitCursor {
 public:
  ModWaitCursor();

 private:
  std::optional<CWaitCursor> cursor_;
};

}  // namespace pellora
