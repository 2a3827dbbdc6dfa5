#include "show/sound.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "app/globals.h"
#include "app/main_frame.h"
#include "platform/cursor.h"
#include "platform/file.h"
#include "platform/text.h"
#include "show/show_wnd.h"

namespace pellora {

MCIDEVICEID mciDeviceId = 0;
bool soundIsModule = false;
std::string tempSoundFile;

namespace {

struct KindRow {
  const char* extension;
  int kind;
};
const KindRow kKinds[] = {
    {"DIA", FILE_KIND_SHOW},      {"BMP", FILE_KIND_PICTURE},   {"DIB", FILE_KIND_PICTURE},
    {"GIF", FILE_KIND_PICTURE},   {"JPG", FILE_KIND_PICTURE},   {"PCD", FILE_KIND_PICTURE},
    {"PCX", FILE_KIND_PICTURE},   {"RLE", FILE_KIND_PICTURE},   {"TGA", FILE_KIND_PICTURE},
    {"TIF", FILE_KIND_PICTURE},   {"MOV", FILE_KIND_VIDEO},     {"AVI", FILE_KIND_VIDEO},
    {"FLI", FILE_KIND_ANIMATION}, {"FLC", FILE_KIND_ANIMATION}, {"WAV", FILE_KIND_WAVE},
    {"MID", FILE_KIND_MIDI},      {"MOD", FILE_KIND_MODULE},    {"S3M", FILE_KIND_MODULE},
    {"STM", FILE_KIND_MODULE},    {"MTM", FILE_KIND_MODULE},    {"XM", FILE_KIND_MODULE},
    {"669", FILE_KIND_MODULE},
};

// Temporary names tried before an embedded sound is given up.
constexpr int kTempNameAttempts = 16;

// The file a sound names, as this system opens it: a name of our own (a
// temporary file) stands as it is; names from the package are in
// Windows-1252, perhaps with Windows separators.
std::string LocalPath(const std::string& name) {
  if (FileExists(name)) return name;
  std::string path = Cp1252ToUtf8(name);
  if (path.find('\\') == std::string::npos || FileExists(path)) return path;
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

// The extension as part of a file name in the temporary directory: it may
// neither lead out of the directory nor hold bytes a name should not.
std::string SafeExtension(const std::string& extension) {
  std::string safe = extension;
  for (char& c : safe)
    if (c == '/' || c == '\\' || uint8_t(c) < 0x20 || uint8_t(c) >= 0x7F) c = '_';
  return safe;
}

// Creates "<directory>dia<number>.<extension>" exclusively and owner-only.
// The platform's unique temporary name picks the number and holds it
// until the file with the sound's extension exists.
bool CreateSoundFile(const std::string& directory, const std::string& extension, CFile& file) {
  for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
    std::string reserved = CreateUniqueTempFile(directory, "dia");
    if (reserved.size() < 3) return false;
    std::string name = reserved.substr(0, reserved.size() - 3) + extension;
    bool created = name == reserved ? file.Open(name, CFile::Mode::ReadWrite)
                                    : file.Open(name, CFile::Mode::CreateExclusive);
    if (name != reserved || !created) DeleteFileNormal(reserved);
    if (created) return true;
  }
  return false;
}

}  // namespace

int FileKind(const std::string& name) {
  size_t dot = name.find_last_of('.');
  std::string extension = dot == std::string::npos ? name : name.substr(dot + 1);
  for (char& c : extension) c = ToUpperAscii(c);
  for (const KindRow& row : kKinds) {
    size_t n = std::strlen(row.extension);
    if (extension.size() >= n && extension.compare(0, n, row.extension) == 0) return row.kind;
  }
  return FILE_KIND_OTHER;
}

void PlaySoundFile(const std::string& name, bool loop) {
  // A copy: the name may be a member that starting the sound changes.
  std::string file = name;
  if (FileKind(file) == FILE_KIND_MODULE) {
    if (mainFrame) mainFrame->StartModule(LocalPath(file), loop);
    soundIsModule = true;
  } else {
    PlayMci(file, loop);
    soundIsModule = false;
  }
}

bool PlayEmbeddedSound(const GlobalBlock& block, uint32_t size, bool loop, const std::string& extension) {
  if (!tempSoundFile.empty()) StopSound();
  tempSoundFile.clear();
  if (!block) return false;
  const std::string& directory = tempDirectory.empty() ? GetTempDirectory() : tempDirectory;
  CFile file;
  if (!CreateSoundFile(directory, SafeExtension(extension), file)) return false;
  // From here the file is ours: whatever happens, the next StopSound
  // deletes it.
  tempSoundFile = file.Path();
  if (!WriteInPieces(file, block.data(), std::min<size_t>(size, block.size()))) return false;
  file.Close();
  PlaySoundFile(tempSoundFile, loop);
  return true;
}

void StopSound() {
  if (soundIsModule) {
    if (mainFrame) mainFrame->StopModule();
  } else {
    if (mainFrame) mainFrame->ClearMci();
    CloseMci();
  }
  if (!tempSoundFile.empty()) {
    DeleteFileNormal(tempSoundFile);
    tempSoundFile.clear();
  }
}

void PlayMci(const std::string& name, bool loop) {
  std::string element = name;
  CloseMci();
  // Opening may take a while; over the show the cursor stays hidden.
  std::optional<CWaitCursor> wait;
  if (!showActive) wait.emplace();
  MCIDEVICEID id = MciOpenElement(LocalPath(element));
  if (!id) return;
  mciDeviceId = id;
  // Should the format be refused, the device stays open until the next
  // CloseMci.
  if (!MciSetTimeFormat(id, MCI_FORMAT_MILLISECONDS)) return;
  if (mainFrame) mainFrame->NoteMciStarted(element, loop);
  MciPlay(id, mainFrame ? mainFrame->m_hWnd : 0);
}

void CloseMci() {
  if (mciDeviceId == 0) return;
  MciStop(mciDeviceId);
  MciClose(mciDeviceId);
  mciDeviceId = 0;
}

}  // namespace pellora
