// Files, temporary files and the program's own path on Windows. Every
// path is UTF-8 inside the program and a wide string at the system.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <utility>

#include "platform/os/file.h"
#include "platform/os/pending_file.h"
#include "platform/os/signals.h"
#include "platform/os/win32/wide.h"

namespace pellora {
namespace {

HANDLE Handle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// Files stay open to others for reading, writing and deleting, as a POSIX
// file does: a scratch file marked to be deleted on close can then still be
// opened by its name, and a file being read can be replaced.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE OpenHandle(const std::string& path, DWORD access, DWORD disposition, DWORD flags) {
  if (path.empty()) return INVALID_HANDLE_VALUE;
  return CreateFileW(Utf8ToWide(path).c_str(), access, kShareAll, nullptr, disposition, flags, nullptr);
}

// Only files on a disk: a console, pipe or device name is no file.
bool IsDiskFile(HANDLE handle) { return GetFileType(handle) == FILE_TYPE_DISK; }

bool Identity(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
  HANDLE h = OpenHandle(path, 0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = GetFileInformationByHandle(h, &info) != 0;
  CloseHandle(h);
  return ok;
}

}  // namespace

bool CFile::Open(const std::string& path, Mode mode) {
  Close();
  DWORD access = GENERIC_READ, disposition = OPEN_EXISTING;
  switch (mode) {
    case Mode::Read: break;
    case Mode::CreateWrite: access = GENERIC_WRITE; disposition = CREATE_ALWAYS; break;
    case Mode::CreateExclusive: access = GENERIC_WRITE; disposition = CREATE_NEW; break;
    case Mode::ReadWrite: access = GENERIC_READ | GENERIC_WRITE; break;
  }
  HANDLE h = OpenHandle(path, access, disposition, FILE_ATTRIBUTE_NORMAL);
  if (h == INVALID_HANDLE_VALUE) return false;
  if (!IsDiskFile(h)) {
    CloseHandle(h);
    return false;
  }
  handle_ = reinterpret_cast<intptr_t>(h);
  path_ = path;
  if (mode == Mode::CreateExclusive) NoteTemporaryFile(path);
  return true;
}

bool ScratchFile::Create() {
  std::string name = CreateUniqueTempFile(GetTempDirectory(), "dia");
  if (name.empty()) return false;
  // The system deletes it when the last handle closes, however the
  // process ends.
  HANDLE h = OpenHandle(name, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING,
                        FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE);
  if (h == INVALID_HANDLE_VALUE) {
    DeleteFileNormal(name);
    return false;
  }
  ForgetTemporaryFile(name);
  file_.Close();
  file_.handle_ = reinterpret_cast<intptr_t>(h);
  file_.path_ = name;
  reopenPath_ = name;
  return true;
}

void CFile::Close() {
  if (handle_ != -1) CloseHandle(Handle(handle_));
  handle_ = -1;
}

long long CFile::Read(void* buffer, size_t count) {
  if (handle_ == -1) return -1;
  size_t done = 0;
  auto* out = static_cast<char*>(buffer);
  while (done < count) {
    DWORD n = 0;
    DWORD want = DWORD(std::min<size_t>(count - done, 1u << 30));
    if (!ReadFile(Handle(handle_), out + done, want, &n, nullptr)) return -1;
    if (n == 0) break;
    done += n;
  }
  return static_cast<long long>(done);
}

bool CFile::Write(const void* buffer, size_t count) {
  if (handle_ == -1) return false;
  size_t done = 0;
  auto* in = static_cast<const char*>(buffer);
  while (done < count) {
    DWORD n = 0;
    DWORD want = DWORD(std::min<size_t>(count - done, 1u << 30));
    if (!WriteFile(Handle(handle_), in + done, want, &n, nullptr) || n == 0) return false;
    done += n;
  }
  return true;
}

long long CFile::Seek(long long offset, Origin origin) {
  if (handle_ == -1) return -1;
  DWORD method = origin == Origin::Begin ? FILE_BEGIN : origin == Origin::Current ? FILE_CURRENT : FILE_END;
  LARGE_INTEGER distance, position;
  distance.QuadPart = offset;
  if (!SetFilePointerEx(Handle(handle_), distance, &position, method)) return -1;
  return position.QuadPart;
}

long long CFile::Position() const {
  if (handle_ == -1) return -1;
  LARGE_INTEGER zero, position;
  zero.QuadPart = 0;
  if (!SetFilePointerEx(Handle(handle_), zero, &position, FILE_CURRENT)) return -1;
  return position.QuadPart;
}

long long CFile::Length() const {
  LARGE_INTEGER size;
  if (handle_ == -1 || !GetFileSizeEx(Handle(handle_), &size)) return -1;
  return size.QuadPart;
}

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  DWORD attributes = GetFileAttributesW(Utf8ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DeleteFileNormal(const std::string& path) {
  if (!FileExists(path)) {
    ForgetTemporaryFile(path);
    return false;
  }
  std::wstring wide = Utf8ToWide(path);
  SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
  bool deleted = DeleteFileW(wide.c_str()) != 0;
  if (deleted) ForgetTemporaryFile(path);
  return deleted;
}

std::string GetTempDirectory() {
  wchar_t buffer[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
  std::string dir = n > 0 && n <= MAX_PATH ? WideToUtf8(std::wstring(buffer, n)) : std::string("C:\\Windows\\Temp\\");
  if (dir.back() != '\\' && dir.back() != '/') dir += '\\';
  return dir;
}

std::string CreateUniqueTempFile(const std::string& directory, const std::string& prefix) {
  // A 16-bit hex number after the prefix, tried until a free one is found.
  // A name being deleted answers "access denied" for a moment: a few of
  // those are passed over too.
  std::mt19937 generator{std::random_device{}()};
  std::uniform_int_distribution<unsigned> number(1, 0xFFFF);
  int denied = 0;
  for (int attempt = 0; attempt < 0x10000; ++attempt) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%X", number(generator));
    std::string name = directory + prefix + digits + ".tmp";
    HANDLE h = OpenHandle(name, GENERIC_WRITE, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
    if (h != INVALID_HANDLE_VALUE) {
      CloseHandle(h);
      NoteTemporaryFile(name);
      return name;
    }
    DWORD error = GetLastError();
    if (error == ERROR_ACCESS_DENIED && ++denied < 16) continue;
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return {};
  }
  return {};
}

std::string ExecutablePath() {
  std::wstring path(260, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return WideToUtf8(path);
    }
    path.resize(path.size() * 2);
  }
}

bool SetPublicPermissions(const std::string& path, bool) {
  // Windows files are read by whoever the folder lets in; only a read-only
  // mark would stand in the way of the owner.
  std::wstring wide = Utf8ToWide(path);
  DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return !(attributes & FILE_ATTRIBUTE_READONLY) ||
         SetFileAttributesW(wide.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY)) != 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
  if (!MoveFileExW(Utf8ToWide(from).c_str(), Utf8ToWide(to).c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
  ForgetTemporaryFile(from);
  return true;
}

std::string OutputRefusal(const std::string& target, const std::vector<std::string>& inputs) {
  DWORD attributes = GetFileAttributesW(Utf8ToWide(target).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {};
  }
  bool regular = attributes != INVALID_FILE_ATTRIBUTES &&
                 !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE));
  BY_HANDLE_FILE_INFORMATION st;
  if (regular) {
    HANDLE h = OpenHandle(target, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    regular = h != INVALID_HANDLE_VALUE && IsDiskFile(h) && GetFileInformationByHandle(h, &st);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  if (!regular) return target + " exists and is not a regular file";
  for (const std::string& input : inputs) {
    BY_HANDLE_FILE_INFORMATION in;
    if (Identity(input, in) && in.dwVolumeSerialNumber == st.dwVolumeSerialNumber &&
        in.nFileIndexHigh == st.nFileIndexHigh && in.nFileIndexLow == st.nFileIndexLow)
      return target + " is one of the inputs (" + input + ")";
  }
  return {};
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  // The narrow arguments are in the ANSI code page: the wide command line
  // has every name as typed.
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return {argv, argv + argc};
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(WideToUtf8(wide[i]));
  LocalFree(wide);
  return arguments;
}

}  // namespace pellora
