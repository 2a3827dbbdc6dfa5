// Paths and texts are UTF-8 inside the program and UTF-16 at the Windows
// API.
#pragma once

#include <string>
#include <string_view>

namespace pellora {

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

}  // namespace pellora
