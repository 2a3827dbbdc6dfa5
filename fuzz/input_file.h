// The one temporary file through which a fuzz target hands each input to
// a reader that takes a path; removed when the target exits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/file.h"

namespace pellora::fuzz {

class InputFile {
 public:
  explicit InputFile(const std::string& prefix)
      : path_(pellora::CreateUniqueTempFile(pellora::GetTempDirectory(), prefix)) {}
  ~InputFile() {
    if (!path_.empty()) pellora::DeleteFileNormal(path_);
  }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Replaces the file's content; false when it cannot.
  bool Write(const uint8_t* data, size_t size) const {
    pellora::CFile file;
    return !path_.empty() && file.Open(path_, pellora::CFile::Mode::CreateWrite) &&
           pellora::WriteInPieces(file, data, size);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace pellora::fuzz
