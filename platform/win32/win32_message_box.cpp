// Native message boxes of the Windows backend.
#include "platform/win32/win32_backend.h"

#include "platform/os/report.h"
#include "platform/os/win32/wide.h"
#include "platform/win32/win32_backend_class.h"

namespace pellora {

bool Win32Backend::ShowMessageBox(const std::string& text, const std::string& caption, MessageBoxIcon icon) {
  ReportLine(caption + ": " + text);
  UINT type = MB_OK | MB_SETFOREGROUND;
  switch (icon) {
    case MessageBoxIcon::Error: type |= MB_ICONERROR; break;
    case MessageBoxIcon::Exclamation: type |= MB_ICONEXCLAMATION; break;
    case MessageBoxIcon::Information: type |= MB_ICONINFORMATION; break;
    case MessageBoxIcon::None: break;
  }
  // The cursor the show hid must be there to click the box.
  CursorKind before = cursor_;
  if (before == CursorKind::None) SetCursor(CursorKind::Arrow);
  int result = MessageBoxW(shown_ ? hwnd_ : nullptr, Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(), type);
  if (before == CursorKind::None) SetCursor(before);
  return result != 0;
}

}  // namespace pellora
