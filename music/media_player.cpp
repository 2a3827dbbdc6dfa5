#include "music/media_player.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>

#include "platform/os/file.h"

namespace pellora {

bool CMediaPlayer::Open(const std::string& name) {
  fileName = name;
  isOpen = true;
  fileSize = 0;
  fileDate = fileTime = 0;
  std::error_code ec;
  std::filesystem::path path = PathFromUtf8(name);
  uintmax_t size = std::filesystem::file_size(path, ec);
  if (!ec) fileSize = uint32_t(std::min<uintmax_t>(size, UINT32_MAX));
  auto written = std::filesystem::last_write_time(path, ec);
  if (!ec) {
    std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(written));
    std::tm local{};
    if (const std::tm* tm = std::localtime(&t)) local = *tm;
    if (local.tm_year >= 80) {
      fileDate = uint16_t(((local.tm_year - 80) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
      fileTime = uint16_t((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
    }
  }
  return true;
}

}  // namespace pellora
