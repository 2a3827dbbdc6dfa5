// Files, temporary files and the program's own path on POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <utility>

#include "platform/os/file.h"
#include "platform/os/pending_file.h"
#include "platform/os/signals.h"

namespace pellora {
namespace {
int Fd(intptr_t handle) { return int(handle); }
}  // namespace

bool CFile::Open(const std::string& path, Mode mode) {
  Close();
  // Non-blocking, so that a FIFO or a device cannot hold the open: only
  // regular files are kept.
  int flags = O_CLOEXEC | O_NONBLOCK;
  switch (mode) {
    case Mode::Read: flags |= O_RDONLY; break;
    case Mode::CreateWrite: flags |= O_WRONLY | O_CREAT | O_TRUNC; break;
    case Mode::CreateExclusive: flags |= O_WRONLY | O_CREAT | O_EXCL; break;
    case Mode::ReadWrite: flags |= O_RDWR; break;
  }
  int fd;
  do {
    fd = ::open(path.c_str(), flags, 0600);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return false;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::fcntl(fd, F_SETFL, flags & O_ACCMODE) != 0) {
    ::close(fd);
    return false;
  }
  handle_ = fd;
  path_ = path;
  if (mode == Mode::CreateExclusive) NoteTemporaryFile(path);
  return true;
}

bool ScratchFile::Create() {
  std::string name = CreateUniqueTempFile(GetTempDirectory(), "dia");
  if (name.empty()) return false;
  bool opened = file_.Open(name, CFile::Mode::ReadWrite);
  DeleteFileNormal(name);
  if (!opened) return false;
  reopenPath_ = "/proc/self/fd/" + std::to_string(file_.handle_);
  return true;
}

void CFile::Close() {
  if (handle_ >= 0) ::close(Fd(handle_));
  handle_ = -1;
}

long long CFile::Read(void* buffer, size_t count) {
  if (handle_ < 0) return -1;
  size_t done = 0;
  auto* out = static_cast<char*>(buffer);
  while (done < count) {
    ssize_t n = ::read(Fd(handle_), out + done, count - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (n == 0) break;
    done += size_t(n);
  }
  return static_cast<long long>(done);
}

bool CFile::Write(const void* buffer, size_t count) {
  if (handle_ < 0) return false;
  size_t done = 0;
  auto* in = static_cast<const char*>(buffer);
  while (done < count) {
    ssize_t n = ::write(Fd(handle_), in + done, count - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += size_t(n);
  }
  return true;
}

long long CFile::Seek(long long offset, Origin origin) {
  if (handle_ < 0) return -1;
  int whence = origin == Origin::Begin ? SEEK_SET : origin == Origin::Current ? SEEK_CUR : SEEK_END;
  off_t r = ::lseek(Fd(handle_), off_t(offset), whence);
  return r < 0 ? -1 : static_cast<long long>(r);
}

long long CFile::Position() const {
  if (handle_ < 0) return -1;
  off_t r = ::lseek(Fd(handle_), 0, SEEK_CUR);
  return r < 0 ? -1 : static_cast<long long>(r);
}

long long CFile::Length() const {
  struct stat st;
  if (handle_ < 0 || ::fstat(Fd(handle_), &st) != 0) return -1;
  return static_cast<long long>(st.st_size);
}

bool FileExists(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DeleteFileNormal(const std::string& path) {
  if (!FileExists(path)) {
    ForgetTemporaryFile(path);
    return false;
  }
  ::chmod(path.c_str(), 0600);
  bool deleted = ::unlink(path.c_str()) == 0;
  if (deleted) ForgetTemporaryFile(path);
  return deleted;
}

std::string GetTempDirectory() {
  const char* env = std::getenv("TMPDIR");
  std::string dir = env && *env ? env : "/tmp";
  if (dir.back() != '/') dir += '/';
  return dir;
}

std::string CreateUniqueTempFile(const std::string& directory, const std::string& prefix) {
  // Like the platform's unique temporary names: a 16-bit hex number after
  // the prefix, tried until a free one is found.
  std::mt19937 generator{std::random_device{}()};
  std::uniform_int_distribution<unsigned> number(1, 0xFFFF);
  for (int attempt = 0; attempt < 0x10000; ++attempt) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%X", number(generator));
    std::string name = directory + prefix + digits + ".tmp";
    int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
      ::close(fd);
      NoteTemporaryFile(name);
      return name;
    }
    if (errno != EEXIST) return {};
  }
  return {};
}

std::string ExecutablePath() {
  std::string path(256, '\0');
  for (;;) {
    ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    if (n < 0) return {};
    if (size_t(n) < path.size()) {
      path.resize(size_t(n));
      return path;
    }
    path.resize(path.size() * 2);
  }
}

bool SetPublicPermissions(const std::string& path, bool executable) {
  return ::chmod(path.c_str(), executable ? 0755 : 0644) == 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
  if (std::rename(from.c_str(), to.c_str()) != 0) return false;
  ForgetTemporaryFile(from);
  return true;
}

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

std::vector<std::string> ProgramArguments(int argc, char** argv) { return {argv, argv + argc}; }

}  // namespace pellora
