// Text conversion between the package's code page (Windows-1252) and the
// UTF-8 that Linux file names, fonts and terminals use.
#pragma once

#include <string>
#include <string_view>

namespace pellora {

std::string Cp1252ToUtf8(std::string_view text);
// The Unicode code point of one Windows-1252 byte (the five undefined
// bytes stand for their own C1 code points).
char32_t Cp1252CodePoint(unsigned char byte);
// Characters that Windows-1252 cannot hold become '?'.
std::string Utf8ToCp1252(std::string_view text);
// UTF-16LE code units to Windows-1252, '?' for what it cannot hold.
std::string Utf16ToCp1252(std::u16string_view text);
char ToUpperAscii(char c);
bool EqualsIgnoreCaseAscii(std::string_view a, std::string_view b);

}  // namespace pellora
