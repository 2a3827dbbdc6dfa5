// A file that appears complete or not at all: it is written under a new,
// owner-only temporary name beside its target, and Commit renames it into
// place. Without a commit the temporary file is removed.
#pragma once

#include <string>
#include <vector>

#include "platform/os/file.h"

namespace pellora {

// Why a new file may not be put at target, or "" when it may: what stands
// there already must be a regular file (not a link, directory, FIFO or
// device), and not one of inputs, however named (same device and inode).
std::string OutputRefusal(const std::string& target, const std::vector<std::string>& inputs = {});

class PendingFile {
 public:
  // Creates the temporary file; File().IsOpen() tells whether that worked.
  explicit PendingFile(std::string target);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  CFile& File() { return file_; }
  // Closes the file, sets its permissions (read for all, executable when
  // asked) and renames it to the target, unless OutputRefusal refuses that.
  bool Commit(bool executable);

 private:
  std::string target_;
  std::string temp_;
  CFile file_;
};

}  // namespace pellora
