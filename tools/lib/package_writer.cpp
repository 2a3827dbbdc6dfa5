#include "tools/lib/package_writer.h"

#include <cstdio>
#include <string>

#include "app/show_file.h"
#include "document/diapo_doc.h"
#include "platform/archive.h"
#include "platform/file.h"
#include "platform/pending_file.h"

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

std::string DefaultPlayerPath() {
  std::string self = ExecutablePath();
  size_t slash = self.find_last_of('/');
  std::string dir = slash == std::string::npos ? "" : self.substr(0, slash + 1);
  return dir + "pellora-player";
}

}  // namespace pellora::tools
