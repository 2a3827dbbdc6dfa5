#include "platform/os/pending_file.h"

namespace pellora {

PendingFile::PendingFile(std::string target) : target_(std::move(target)) {
  size_t slash = target_.find_last_of("/\\");
  std::string dir = slash == std::string::npos ? "" : target_.substr(0, slash + 1);
  temp_ = CreateUniqueTempFile(dir, "." + FileTitle(target_) + ".");
  if (!temp_.empty()) file_.Open(temp_, CFile::Mode::ReadWrite);
}

PendingFile::~PendingFile() {
  file_.Close();
  if (!temp_.empty()) DeleteFileNormal(temp_);
}

bool PendingFile::Commit(bool executable) {
  if (!file_.IsOpen()) return false;
  file_.Close();
  if (!OutputRefusal(target_).empty()) return false;
  if (!SetPublicPermissions(temp_, executable) || !RenameFile(temp_, target_)) return false;
  temp_.clear();
  return true;
}

}  // namespace pellora
