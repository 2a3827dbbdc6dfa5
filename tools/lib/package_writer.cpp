#include "tools/lib/package_writer.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/package_location.h"
#include "document/diapo_doc.h"
#include "platform/os/file.h"
#include "platform/os/pending_file.h"
#include "platform/storage/archive.h"

namespace pellora::tools {
bool WritePackage(const CDiapoDoc& document, CFile& file, std::string& error) {
  try {
    CArchive archive(file, CArchive::Mode::Store, 4096);
    const_cast<CDiapoDoc&>(document).Serialize(archive);
    archive.Close();
    return true;
  } catch (const std::exception& e) {
    error = std::string("cannot write the package: ") + e.what();
    return false;
  }
}

namespace {

bool ReadWholeFile(const std::string& path, std::string& data) {
  CFile file;
  if (!file.Open(path, CFile::Mode::Read)) return false;
  long long length = file.Length();
  if (length < 0) return false;
  data.resize(size_t(length));
  return file.Read(data.data(), data.size()) == length;
}

}  // namespace

bool WriteBarePackage(const CDiapoDoc& document, const std::string& outPath, std::string& error) {
  PendingFile out(outPath);
  if (!out.File().IsOpen()) {
    error = "cannot create " + outPath;
    return false;
  }
  if (!WritePackage(document, out.File(), error)) return false;
  if (!out.Commit(false)) {
    error = "cannot write " + outPath;
    return false;
  }
  return true;
}

bool WriteSelfRunningShow(const CDiapoDoc& document, const std::string& playerPath, const std::string& outPath,
                          std::string& error) {
  std::string player;
  if (!ReadWholeFile(playerPath, player)) {
    error = "cannot read the player " + playerPath;
    return false;
  }
  std::optional<size_t> slot = FindPackageSlot(player);
  if (!slot) {
    error = playerPath + " is not a Pellora player (no package slot)";
    return false;
  }
  if (player.size() > UINT32_MAX) {
    error = "the player is too large";
    return false;
  }
  uint32_t offset = uint32_t(player.size());
  for (int i = 0; i < 4; ++i) player[*slot + size_t(i)] = char(offset >> (8 * i));

  PendingFile out(outPath);
  if (!out.File().IsOpen()) {
    error = "cannot create " + outPath;
    return false;
  }
  if (!out.File().Write(player.data(), player.size()) || !WritePackage(document, out.File(), error)) {
    if (error.empty()) error = "cannot write " + outPath;
    return false;
  }
  if (!out.Commit(true)) {
    error = "cannot write " + outPath;
    return false;
  }
  return true;
}

namespace {
std::string PlayerName(const std::string& target) {
  return target == "windows" ? "pellora-player.exe" : "pellora-player";
}
}  // namespace

std::vector<std::string> PlayerCandidates(const std::string& target) {
  std::string name = PlayerName(target);
  std::vector<std::string> candidates;
  if (const char* dir = std::getenv("PELLORA_PLAYER_DIR"); dir && *dir)
    candidates.push_back(PathToUtf8(PathFromUtf8(dir) / name));
  std::filesystem::path tool = PathFromUtf8(ExecutablePath()).parent_path();
  candidates.push_back(PathToUtf8(tool / name));
  candidates.push_back(PathToUtf8((tool / ".." / "share" / "pellora" / target / name).lexically_normal()));
  return candidates;
}

std::string FindPlayer(const std::string& target) {
  for (const std::string& candidate : PlayerCandidates(target))
    if (FileExists(candidate)) return candidate;
  return {};
}

std::string PlayerRefusal(const std::string& path, const std::string& target) {
  std::optional<std::vector<uint8_t>> start = ReadFileBytes(path, 4);
  if (!start) return "cannot read the player " + path;
  constexpr std::string_view kElf = "\x7F" "ELF";
  std::string magic(start->begin(), start->end());
  bool matches = target == "windows" ? magic.rfind("MZ", 0) == 0 : magic == kElf;
  return matches ? "" : path + " is not a " + (target == "windows" ? "Windows" : "Linux") + " program";
}

}  // namespace pellora::tools
