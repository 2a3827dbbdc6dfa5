// A wave device that plays nothing: each written block goes to a consumer
// (a WAV file, a test's buffer) and is handed back at once. It lets the
// module player's block cycle run where no sound card should be used.
#pragma once

#include <functional>

#include "platform/audio/wave_out.h"

namespace pellora {

class ImmediateWaveOut : public WaveOut {
 public:
  // Takes the bytes of each block in order; false refuses the block.
  using Consumer = std::function<bool(const WaveFormat& format, const uint8_t* data, size_t size)>;

  // formats: the WAVE_FORMAT_* flags the device claims to support.
  ImmediateWaveOut(uint32_t formats, Consumer consumer);

  uint32_t GetDevCaps() override { return formats_; }
  bool Query(const WaveFormat& format) override;
  bool Open(const WaveFormat& format, HWND owner) override;
  bool IsOpen() const override { return open_; }
  bool Write(std::unique_ptr<WaveHeader> header) override;
  void Reset() override {}
  void Close() override { open_ = false; }

 private:
  uint32_t formats_;
  Consumer consumer_;
  WaveFormat format_;
  HWND owner_ = 0;
  bool open_ = false;
};

}  // namespace pellora
