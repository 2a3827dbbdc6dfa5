// Helpers shared by the test programs: scratch folders, the optional
// corpus, running the built programs, and writing packages byte by byte.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/os/file.h"

namespace pellora::test {

// A fresh folder under the system's temporary directory, removed with
// everything in it when the object goes away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string File(const std::string& name) const { return PathToUtf8(path_ / PathFromUtf8(name)); }

 private:
  std::filesystem::path path_;
};

// An environment variable set for the object's lifetime, then put back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> saved_;
};

// The system's temporary folder moved for the object's lifetime (TMPDIR is
// the POSIX name, TMP and TEMP the Windows ones).
class ScopedTempFolder {
 public:
  explicit ScopedTempFolder(const std::string& folder);

 private:
  ScopedEnv tmpdir_, tmp_, temp_;
};

// The public sample files, or an empty path when they are not beside the
// project (tests then skip).
std::filesystem::path CorpusDir();
// Where the built programs are.
std::string BinDir();

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};
// Runs a shell command line with extra environment assignments prefixed.
RunResult Run(const std::string& commandLine);

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

// Builds the bytes of a package the way the archive encodes them.
class Bytes {
 public:
  Bytes& Byte(uint8_t v);
  Bytes& Word(uint16_t v);
  Bytes& DWord(uint32_t v);
  Bytes& Raw(const std::string& s);
  // Length-prefixed string in the archive's short, word or dword form.
  Bytes& String(const std::string& s);
  Bytes& Blob(const std::string& bytes);
  const std::string& str() const { return data_; }
  size_t size() const { return data_.size(); }

 private:
  std::string data_;
};

// A small packed bitmap (40-byte header, table, rows) for DIB records.
std::string SmallDib(int width, int height, int bitCount);

// Resets the platform's windows, palette and display depth between tests.
// A test sets the depth with SetScreenDepthOverride after creating its
// backend.
void ResetPlatform();

}  // namespace pellora::test
