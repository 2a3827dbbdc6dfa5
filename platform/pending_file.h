// A file that appears complete or not at all: it is written under a new,
// owner-only temporary name beside its target, and Commit renames it into
// place. Without a commit the temporary file is removed.
#pragma once

#include <string>

#include "platform/file.h"

namespace pellora {

class PendingFile {
 public:
  // Creates the temporary file; File().IsOpen() tells whether that worked.
  explicit PendingFile(std::string target);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  CFile& File() { return file_; }
  // Closes the file, sets its permissions (read for all, executable when
  // asked) and renames it to the target.
  bool Commit(bool executable);

 private:
  std::string target_;
  std::string temp_;
  CFile file_;
};

}  // namespace pellora
