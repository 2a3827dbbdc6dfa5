// The headless media device: plays nothing, but a sound "plays" for as
// long as the file's headers say, in the backend's virtual time, and its
// end is reported like a real device's. It needs no sound card and no
// display.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/audio/media_device.h"

namespace pellora {

class HeadlessBackend;

class HeadlessMediaDevice : public MediaDevice {
 public:
  // The backend must outlive the device.
  explicit HeadlessMediaDevice(HeadlessBackend& backend);
  ~HeadlessMediaDevice() override;

  bool Open(const std::string& fileName) override;
  bool Play(HWND window, MCIDEVICEID id) override;
  void Stop() override;
  void Close() override;

 private:
  HeadlessBackend& backend_;
  bool open_ = false;
  uint64_t durationMs_ = 0;
  // Counts plays and stops; an end scheduled for an earlier one does
  // nothing. Shared with the scheduled ends, which may outlive the device.
  std::shared_ptr<uint32_t> generation_;
};

}  // namespace pellora
