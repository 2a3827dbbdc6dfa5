#include "show/show_sound.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "document/stored_names.h"
#include "music/mod_player.h"
#include "platform/base/text.h"
#include "platform/os/file.h"
#include "platform/ui/cursor.h"
#include "platform/ui/window.h"
#include "show/show_wnd.h"

namespace pellora {

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

// Output blocks the module player keeps queued in the device.
constexpr uint32_t kModuleQueueLimit = 40;

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

CShowSound::CShowSound(const CWnd* notifyWindow) : notifyWindow_(notifyWindow) {}

bool CShowSound::ShowActive() const { return show_ && show_->showActive; }

CShowSound::~CShowSound() {
  StopSound();
  if (modulePlayer) modulePlayer->Stop();
}

std::string CShowSound::SoundPath(const std::string& name) const {
  return !tempSoundFile.empty() && name == tempSoundFile ? name : LocalPath(name);
}

void CShowSound::PlaySoundFile(const std::string& name, bool loop) {
  // A copy: the name may be a member that starting the sound changes.
  std::string file = name;
  if (FileKind(file) == FILE_KIND_MODULE) {
    StartModule(SoundPath(file), loop);
    soundIsModule = true;
  } else {
    PlayMci(file, loop);
    soundIsModule = false;
  }
}

bool CShowSound::PlayEmbeddedSound(const GlobalBlock& block, uint32_t size, bool loop, const std::string& extension) {
  if (!tempSoundFile.empty()) StopSound();
  tempSoundFile.clear();
  if (!block) return false;
  CFile file;
  std::string folder = tempDirectory.empty() ? GetTempDirectory() : tempDirectory;
  if (!CreateSoundFile(folder, SafeExtension(extension), file)) return false;
  // From here the file is ours: whatever happens, the next StopSound
  // deletes it.
  tempSoundFile = file.Path();
  if (!WriteInPieces(file, block.data(), std::min<size_t>(size, block.size()))) return false;
  file.Close();
  PlaySoundFile(tempSoundFile, loop);
  return true;
}

void CShowSound::StopSound() {
  if (soundIsModule) {
    StopModule();
  } else {
    ClearMci();
    CloseMci();
  }
  if (!tempSoundFile.empty()) {
    DeleteFileNormal(tempSoundFile);
    tempSoundFile.clear();
  }
}

void CShowSound::PlayMci(const std::string& name, bool loop) {
  std::string element = name;
  CloseMci();
  // Opening may take a while; over the show the cursor stays hidden.
  std::optional<CWaitCursor> wait;
  if (!ShowActive()) wait.emplace();
  MCIDEVICEID id = MciOpenElement(SoundPath(element));
  if (!id) return;
  mciDeviceId = id;
  // Should the format be refused, the device stays open until the next
  // CloseMci.
  if (!MciSetTimeFormat(id, MCI_FORMAT_MILLISECONDS)) return;
  NoteMciStarted(element, loop);
  MciPlay(id, notifyWindow_ ? notifyWindow_->m_hWnd : 0);
}

void CShowSound::CloseMci() {
  if (mciDeviceId == 0) return;
  MciStop(mciDeviceId);
  MciClose(mciDeviceId);
  mciDeviceId = 0;
}

void CShowSound::NoteMciStarted(const std::string& fileName, bool loop) {
  mciLoop = loop;
  mciActive = true;
  mciFileName = fileName;
  mciPlaying = true;
}

void CShowSound::ClearMci() {
  mciActive = false;
  mciLoop = false;
  mciPlaying = false;
  mciFileName.clear();
}

void CShowSound::OnMciNotify(MCIDEVICEID device) {
  // Only the open device's end counts: a notification that was on its way
  // when its device was closed must not end the sound opened after it.
  if (device == mciDeviceId) mciPlaying = false;
}

void CShowSound::StartModule(const std::string& fileName, bool loop) {
  if (!modulePlayer) {
    modulePlayer = std::make_unique<CModPlayer>(notifyWindow_ ? notifyWindow_->m_hWnd : 0);
    // Loading and measuring a song shows no wait cursor over the show.
    modulePlayer->quietCursor = [this] { return ShowActive(); };
  }
  modulePlayer->queueLimit = kModuleQueueLimit;
  modulePlayer->Close();
  // A module that cannot be loaded does not play, and the show stays silent.
  modulePlayer->Open(fileName);
  if (modulePlayer->Play()) {
    moduleActive = true;
    moduleLoop = loop;
  }
}

void CShowSound::StopModule() {
  if (!modulePlayer || !moduleActive) return;
  if (modulePlayer->IsPlaying()) modulePlayer->Stop();
  moduleLoop = false;
  moduleActive = false;
}

bool CShowSound::ModuleFinished() {
  // The player stops itself once the song's end has been heard.
  if (!modulePlayer || !modulePlayer->IsPlaying()) return true;
  return modulePlayer->IsFinished();
}

void CShowSound::SoundIdle(CShowWnd& show) {
  if (moduleActive) {
    if (moduleLoop) {
      if (ModuleFinished() && show.SoundFinished()) {
        modulePlayer->Rewind();
        modulePlayer->Play();
      }
    } else if (ModuleFinished()) {
      StopSound();
      show.SoundFinished();
    }
  }
  if (mciActive) {
    if (mciLoop) {
      if (mciPlaying) return;
      // A copy: playing again clears and sets the name.
      std::string again = mciFileName;
      if (show.SoundFinished()) PlayMci(again, true);
    } else if (!mciPlaying) {
      StopSound();
      show.SoundFinished();
    }
  }
}

}  // namespace pellora
