#include "platform/ui/cursor.h"

namespace pellora {
namespace {
CursorKind current = CursorKind::Arrow;
}

CursorKind SetCursor(CursorKind cursor) {
  CursorKind previous = current;
  current = cursor;
  CurrentBackend().SetCursor(cursor);
  return previous;
}

CursorKind GetCursor() { return current; }

}  // namespace pellora
