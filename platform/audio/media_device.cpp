#include "platform/audio/media_device.h"

#include <map>

#include "platform/backend.h"
#include "platform/ui/messages.h"
#include "platform/ui/window.h"

namespace pellora {
namespace {

// The open devices. Identifiers go round the 16-bit range before one is
// used again, so that a late notification of a closed device is not
// taken for one of the device opened after it.
struct OpenDevices {
  std::map<MCIDEVICEID, std::unique_ptr<MediaDevice>> devices;
  MCIDEVICEID lastId = 0;
};

OpenDevices& Devices() {
  static OpenDevices open;
  return open;
}

MediaDevice* Find(MCIDEVICEID id) {
  auto& devices = Devices().devices;
  auto it = devices.find(id);
  return it == devices.end() ? nullptr : it->second.get();
}

}  // namespace

MCIDEVICEID MciOpenElement(const std::string& fileName) {
  OpenDevices& open = Devices();
  if (fileName.empty() || open.devices.size() >= 0xFFFF) return 0;
  std::unique_ptr<MediaDevice> device = CurrentBackend().CreateMediaDevice();
  if (!device || !device->Open(fileName)) return 0;
  MCIDEVICEID id = open.lastId;
  do {
    ++id;
  } while (id == 0 || open.devices.count(id));
  open.lastId = id;
  open.devices.emplace(id, std::move(device));
  return id;
}

bool MciSetTimeFormat(MCIDEVICEID id, uint32_t format) {
  return Find(id) && format == MCI_FORMAT_MILLISECONDS;
}

bool MciPlay(MCIDEVICEID id, HWND callback) {
  MediaDevice* device = Find(id);
  return device && device->Play(callback, id);
}

bool MciStop(MCIDEVICEID id) {
  MediaDevice* device = Find(id);
  if (device) device->Stop();
  return device != nullptr;
}

bool MciClose(MCIDEVICEID id) {
  auto& devices = Devices().devices;
  auto it = devices.find(id);
  if (it == devices.end()) return false;
  std::unique_ptr<MediaDevice> device = std::move(it->second);
  devices.erase(it);
  device->Close();
  return true;
}

void NotifyMediaDone(HWND window, MCIDEVICEID id) {
  if (window) PostMessage(window, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, LPARAM(id));
}

}  // namespace pellora
