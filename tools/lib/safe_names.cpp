#include "tools/lib/safe_names.h"

#include <algorithm>
#include <string_view>

#include "platform/base/text.h"

namespace pellora::tools {
namespace {

// Longest name kept, in bytes: well inside every system's limit.
constexpr size_t kLongestName = 120;

// Names Windows keeps for its devices, with any extension.
constexpr std::string_view kDeviceNames[] = {"CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4",
                                             "COM5", "COM6", "COM7", "COM8", "COM9", "LPT1", "LPT2", "LPT3",
                                             "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9", "CONIN$", "CONOUT$"};

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && EqualsIgnoreCaseAscii(a, b);
}

// What is left of a name once everything no system takes is gone.
std::string Cleaned(const std::string& storedName) {
  std::string utf8 = Cp1252ToUtf8(storedName);
  size_t cut = utf8.find_last_of("/\\:");
  std::string base = cut == std::string::npos ? utf8 : utf8.substr(cut + 1);
  std::string kept;
  for (size_t i = 0; i < base.size(); ++i) {
    uint8_t c = uint8_t(base[i]);
    if (c < 0x20 || c == 0x7F || std::string_view("<>\"|?*").find(char(c)) != std::string_view::npos) continue;
    if (c == 0xC2 && i + 1 < base.size() && uint8_t(base[i + 1]) < 0xA0) {
      ++i;  // a C1 control character
      continue;
    }
    kept += char(c);
  }
  // Leading dots would hide the file (or mean a folder), trailing dots and
  // spaces vanish on Windows.
  size_t first = kept.find_first_not_of(". ");
  if (first == std::string::npos) return {};
  kept = kept.substr(first, kept.find_last_not_of(". ") - first + 1);
  std::string stem = kept.substr(0, kept.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  for (std::string_view device : kDeviceNames)
    if (SameName(stem, device)) kept = "_" + kept;
  if (kept.size() > kLongestName) {
    size_t dot = kept.find_last_of('.');
    std::string extension = dot != std::string::npos && kept.size() - dot <= 10 ? kept.substr(dot) : "";
    size_t keep = kLongestName - extension.size();
    while (keep > 0 && (uint8_t(kept[keep]) & 0xC0) == 0x80) --keep;  // whole characters only
    kept = kept.substr(0, keep) + extension;
  }
  return kept;
}

}  // namespace

std::string SafeFileName(const std::string& storedName, const std::string& fallback, std::vector<std::string>& used) {
  std::string name = Cleaned(storedName);
  if (name.empty()) name = fallback;
  size_t dot = name.find_last_of('.');
  std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
  std::string extension = name.substr(stem.size());
  std::string candidate = name;
  for (int n = 2; std::any_of(used.begin(), used.end(), [&](const std::string& u) { return SameName(u, candidate); }); ++n)
    candidate = stem + "-" + std::to_string(n) + extension;
  used.push_back(candidate);
  return candidate;
}

}  // namespace pellora::tools
