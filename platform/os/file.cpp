#include "platform/os/file.h"

#include <algorithm>
#include <utility>

namespace pellora {

// Only opening, closing and the calls between are the system's.
CFile::~CFile() { Close(); }

CFile::CFile(CFile&& other) noexcept
    : handle_(std::exchange(other.handle_, -1)), path_(std::move(other.path_)) {}

CFile& CFile::operator=(CFile&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, -1);
    path_ = std::move(other.path_);
  }
  return *this;
}

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path, size_t maxBytes) {
  CFile file;
  if (!file.Open(path, CFile::Mode::Read)) return std::nullopt;
  long long length = file.Length();
  if (length < 0) return std::nullopt;
  std::vector<uint8_t> bytes(std::min<uint64_t>(uint64_t(length), maxBytes));
  long long got = file.Read(bytes.data(), bytes.size());
  if (got < 0) return std::nullopt;
  bytes.resize(size_t(got));
  return bytes;
}

std::string FileTitle(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WriteInPieces(CFile& file, const uint8_t* data, size_t size) {
  constexpr size_t kPiece = 0x7FFF;
  for (size_t done = 0; done < size;) {
    size_t n = std::min(kPiece, size - done);
    if (!file.Write(data + done, n)) return false;
    done += n;
  }
  return true;
}

std::filesystem::path PathFromUtf8(const std::string& path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

std::string PathToUtf8(const std::filesystem::path& path) {
  std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace pellora
