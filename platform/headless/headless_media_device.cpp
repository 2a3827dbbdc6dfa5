#include "platform/headless/headless_media_device.h"

#include "platform/audio/media_file.h"
#include "platform/headless/headless_backend.h"

namespace pellora {

HeadlessMediaDevice::HeadlessMediaDevice(HeadlessBackend& backend)
    : backend_(backend), generation_(std::make_shared<uint32_t>(0)) {}

HeadlessMediaDevice::~HeadlessMediaDevice() { Close(); }

bool HeadlessMediaDevice::Open(const std::string& fileName) {
  Close();
  MediaFileKind kind = IdentifyMediaFile(fileName);
  if (kind == MediaFileKind::Unknown) return false;
  std::optional<uint64_t> duration = MediaFileDurationMs(fileName, kind);
  if (!duration) return false;
  durationMs_ = *duration;
  open_ = true;
  return true;
}

bool HeadlessMediaDevice::Play(HWND window, MCIDEVICEID id) {
  if (!open_) return false;
  uint32_t generation = ++*generation_;
  std::weak_ptr<uint32_t> current = generation_;
  backend_.ScheduleAction(backend_.Now() + durationMs_, [current, generation, window, id] {
    std::shared_ptr<uint32_t> now = current.lock();
    if (now && *now == generation) NotifyMediaDone(window, id);
  });
  return true;
}

void HeadlessMediaDevice::Stop() { ++*generation_; }

void HeadlessMediaDevice::Close() {
  Stop();
  open_ = false;
}

}  // namespace pellora
