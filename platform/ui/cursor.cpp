#include "platform/ui/cursor.h"

#include "platform/ui/window_manager.h"

namespace pellora {
CursorKind SetCursor(CursorKind cursor) {
  CursorKind& current = WindowManager::Instance().cursor;
  CursorKind previous = current;
  current = cursor;
  CurrentBackend().SetCursor(cursor);
  return previous;
}

}  // namespace pellora
