// Paths and text are UTF-8 inside the program and wide strings at the
// Windows API.
#pragma once

#include <string>

namespace pellora {

std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

}  // namespace pellora
