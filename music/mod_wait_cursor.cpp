#include "music/mod_wait_cursor.h"

namespace pellora {
namespace {
std::function<bool()>& ShowActiveQuery() {
  static std::function<bool()> query;
  return query;
}
}  // namespace

void SetShowActiveQuery(std::function<bool()> query) { ShowActiveQuery() = std::move(query); }

ModWaitCursor::ModWaitCursor() {
  const std::function<bool()>& showActive = ShowActiveQuery();
  if (!showActive || !showActive()) cursor_.emplace();
}

}  // namespace pellora
