#include "platform/audio/wave_out_immediate.h"

namespace pellora {

ImmediateWaveOut::ImmediateWaveOut(uint32_t formats, Consumer consumer)
    : formats_(formats), consumer_(std::move(consumer)) {}

bool ImmediateWaveOut::Query(const WaveFormat& format) { return format.IsValidPcm(); }

bool ImmediateWaveOut::Open(const WaveFormat& format, HWND owner) {
  if (open_ || !Query(format)) return false;
  format_ = format;
  owner_ = owner;
  open_ = true;
  return true;
}

bool ImmediateWaveOut::Write(std::unique_ptr<WaveHeader> header) {
  if (!open_ || !header || header->length > header->data.size()) return false;
  if (consumer_ && !consumer_(format_, header->data.data(), header->length)) return false;
  ReturnWaveHeader(owner_, std::move(header));
  return true;
}

}  // namespace pellora
