// Files as the player uses them: a small owning file object with the
// platform's read/write/seek calls, plus the temporary-file helpers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pellora {

// An open file; closed when the object goes away.
class CFile {
 public:
  enum class Mode { Read, CreateWrite, CreateExclusive, ReadWrite };
  enum class Origin { Begin, Current, End };

  CFile() = default;
  ~CFile();
  CFile(CFile&& other) noexcept;
  CFile& operator=(CFile&& other) noexcept;
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // CreateExclusive fails when the name exists; created files are owner-only
  // and temporary: a forced end deletes them (platform/os/signals.h).
  // Only regular files open: a directory, FIFO or device is refused at
  // once, without waiting on it.
  bool Open(const std::string& path, Mode mode);
  bool IsOpen() const { return handle_ != -1; }
  void Close();

  // Bytes read (0 at end of file), or -1 on a read error.
  long long Read(void* buffer, size_t count);
  bool Write(const void* buffer, size_t count);
  // New position, or -1 on error.
  long long Seek(long long offset, Origin origin);
  long long Position() const;
  long long Length() const;
  const std::string& Path() const { return path_; }

 private:
  friend class ScratchFile;
  // The system's file descriptor or handle; -1 when closed.
  intptr_t handle_ = -1;
  std::string path_;
};

// The file's bytes, at most maxBytes of them (the first ones); nullopt
// when it cannot be opened or read.
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path, size_t maxBytes);

// A temporary file that nothing outlives: it is created in the temporary
// directory and either unlinked at once or marked to be deleted when its
// handle closes, so nothing is left behind however the process ends. Other
// code opens it by ReopenPath() while it lives.
class ScratchFile {
 public:
  // False when the file cannot be made.
  bool Create();
  CFile& File() { return file_; }
  const std::string& ReopenPath() const { return reopenPath_; }

 private:
  CFile file_;
  std::string reopenPath_;
};

// True when a file of that name exists and is not a directory.
bool FileExists(const std::string& path);
// Deletes a file (not a directory), resetting its permissions first.
bool DeleteFileNormal(const std::string& path);
// The system's temporary directory, with a trailing separator.
std::string GetTempDirectory();
// Creates a new empty file "<dir><prefix>XXXX.tmp" with a unique hex number,
// exclusively and owner-only; returns its full name or "" on failure. Until
// deleted or renamed, a forced end deletes it (platform/os/signals.h).
std::string CreateUniqueTempFile(const std::string& directory, const std::string& prefix);
// The name after the last '/' or '\\'.
std::string FileTitle(const std::string& path);
// Writes all bytes in pieces of at most 32767 bytes, as the player writes
// embedded files; false on the first failed piece.
bool WriteInPieces(CFile& file, const uint8_t* data, size_t size);
// The path of the running executable.
std::string ExecutablePath();
// Read for all and writable by the owner; executable too when asked.
bool SetPublicPermissions(const std::string& path, bool executable);
// Renames a file, replacing the target.
bool RenameFile(const std::string& from, const std::string& to);
// A path (UTF-8, as every path inside the program) for the standard
// library's file system calls and streams.
std::filesystem::path PathFromUtf8(const std::string& path);
std::string PathToUtf8(const std::filesystem::path& path);
// The program's arguments in UTF-8, the program's own name first.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace pellora
