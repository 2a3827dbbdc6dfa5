// The media control interface for sounds that are not tracker modules:
// a device opened by file name (chosen by the file's contents), a time
// format, play from start to end with a completion notification to a
// window, stop and close. Shaped like the platform's command interface as
// the show uses it; each backend makes its own devices
// (Backend::CreateMediaDevice).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/base/types.h"

namespace pellora {

using MCIDEVICEID = uint16_t;

// The code an MM_MCINOTIFY message carries in wParam; lParam is the device.
enum : uint32_t {
  MCI_NOTIFY_SUCCESSFUL = 0x0001,
  MCI_NOTIFY_SUPERSEDED = 0x0002,
  MCI_NOTIFY_ABORTED = 0x0004,
  MCI_NOTIFY_FAILURE = 0x0008,
};

// Time formats; the devices here count in milliseconds only.
enum : uint32_t { MCI_FORMAT_MILLISECONDS = 0 };

// One opened sound file.
class MediaDevice {
 public:
  virtual ~MediaDevice() = default;
  // False when the file cannot be played here.
  virtual bool Open(const std::string& fileName) = 0;
  // Plays from the start to the end; at the end MM_MCINOTIFY with
  // MCI_NOTIFY_SUCCESSFUL and the device's id goes to window. A device
  // that is stopped or closed first sends nothing.
  virtual bool Play(HWND window, MCIDEVICEID id) = 0;
  virtual void Stop() = 0;
  virtual void Close() = 0;
};

// The command side, by device identifier (0 = none). Call from the
// user-interface thread.
MCIDEVICEID MciOpenElement(const std::string& fileName);
bool MciSetTimeFormat(MCIDEVICEID id, uint32_t format);
bool MciPlay(MCIDEVICEID id, HWND callback);
bool MciStop(MCIDEVICEID id);
bool MciClose(MCIDEVICEID id);

// The device side: posts the end-of-play notification. Safe from any
// thread.
void NotifyMediaDone(HWND window, MCIDEVICEID id);

}  // namespace pellora
