// The message box drawn by the program itself as a modal dialog over what
// is on the screen: icon, text, an OK button; Enter, Escape, Space on the
// button and the close box dismiss it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/backend.h"

namespace pellora {

// Text and caption in UTF-8. Returns IDOK.
int RunMessageBoxDialog(const std::string& text, const std::string& caption, MessageBoxIcon icon);

}  // namespace pellora
