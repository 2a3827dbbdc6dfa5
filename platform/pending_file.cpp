#include "platform/pending_file.h"

#include <sys/stat.h>

namespace pellora {

std::string OutputRefusal(const std::string& target, const std::vector<std::string>& inputs) {
  struct stat st;
  if (::lstat(target.c_str(), &st) != 0) return {};
  if (!S_ISREG(st.st_mode)) return target + " exists and is not a regular file";
  for (const std::string& input : inputs) {
    struct stat in;
    if (::stat(input.c_str(), &in) == 0 && in.st_dev == st.st_dev && in.st_ino == st.st_ino)
      return target + " is one of the inputs (" + input + ")";
  }
  return {};
}

PendingFile::PendingFile(std::string target) : target_(std::move(target)) {
  size_t slash = target_.find_last_of('/');
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
