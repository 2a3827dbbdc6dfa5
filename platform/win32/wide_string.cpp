#include "platform/win32/wide_string.h"

#include "platform/win32/windows_api.h"

namespace pellora {

std::wstring Utf8ToWide(std::string_view text) {
  if (text.empty() || text.size() > 0x7FFFFFFF) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(size_t(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), n);
  return wide;
}

std::string WideToUtf8(std::wstring_view text) {
  if (text.empty() || text.size() > 0x3FFFFFFF) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string narrow(size_t(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), narrow.data(), n, nullptr, nullptr);
  return narrow;
}

}  // namespace pellora
