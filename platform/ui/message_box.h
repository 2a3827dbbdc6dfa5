// Message boxes: the system's own where it can show one, else the box the
// program draws itself as a modal dialog over what is on the screen (icon,
// text, an OK button; Enter, Escape, Space on the button and the close box
// dismiss it).
#pragma once

#include <cstdint>
#include <string>

#include "platform/backend.h"

namespace pellora {

// Message box flags.
enum : uint32_t {
  MB_OK = 0x00,
  MB_ICONERROR = 0x10,
  MB_ICONEXCLAMATION = 0x30,
  MB_ICONINFORMATION = 0x40,
};

// A message box with the given caption; returns IDOK.
int MessageBox(HWND owner, const std::string& text, const std::string& caption, uint32_t type);
// A message box whose caption is the application's name.
int AfxMessageBox(const std::string& text, uint32_t type);

// The drawn box; text and caption in UTF-8. Returns IDOK.
int RunMessageBoxDialog(const std::string& text, const std::string& caption, MessageBoxIcon icon);

}  // namespace pellora
