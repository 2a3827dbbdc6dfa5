// The headless wave output device: blocks play in the backend's virtual
// time, one after another at the format's byte rate. When a block has been
// played its bytes go to the backend's onWaveData hook (the captured sound)
// and the block returns to the owner window. A reset returns the blocks not
// yet played without capturing them.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>

#include "platform/audio/wave_out.h"

namespace pellora {

class HeadlessBackend;

class HeadlessWaveOut : public WaveOut {
 public:
  // The backend must outlive the device.
  explicit HeadlessWaveOut(HeadlessBackend& backend);
  ~HeadlessWaveOut() override;

  uint32_t GetDevCaps() override { return WAVE_FORMAT_ALL; }
  bool Query(const WaveFormat& format) override { return format.IsValidPcm(); }
  bool Open(const WaveFormat& format, HWND owner) override;
  bool IsOpen() const override;
  bool Write(std::unique_ptr<WaveHeader> header) override;
  void Reset() override;
  void Close() override;

 private:
  // Shared with the completions scheduled on the backend's clock, which may
  // fire after the device is gone.
  struct State {
    bool open = false;
    WaveFormat format;
    HWND owner = 0;
    std::deque<std::unique_ptr<WaveHeader>> queue;
    uint64_t endMicros = 0;   // when the last queued block finishes
    uint32_t generation = 0;  // completions of an earlier generation do nothing
  };
  static void Finish(HeadlessBackend& backend, const std::weak_ptr<State>& weak, uint32_t generation);

  HeadlessBackend& backend_;
  std::shared_ptr<State> state_;
};

}  // namespace pellora
