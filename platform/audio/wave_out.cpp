#include "platform/audio/wave_out.h"

#include <map>
#include <mutex>

#include "platform/ui/messages.h"
#include "platform/ui/window.h"

namespace pellora {
namespace {

// Blocks whose MM_WOM_DONE message is on its way. A message that is never
// delivered (its window went away) leaves its block here until the end of
// the process instead of leaking it.
struct ReturnedBlocks {
  std::mutex mutex;
  std::map<LPARAM, std::unique_ptr<WaveHeader>> blocks;
  LPARAM nextId = 1;
};

ReturnedBlocks& Returned() {
  static ReturnedBlocks returned;
  return returned;
}

}  // namespace

WaveFormat WaveFormat::Pcm(uint32_t rate, uint16_t channels, uint16_t bits) {
  WaveFormat f;
  f.channels = channels;
  f.samplesPerSec = rate;
  f.bitsPerSample = bits;
  f.blockAlign = uint16_t(channels * bits / 8);
  f.avgBytesPerSec = f.blockAlign * rate;
  return f;
}

bool WaveFormat::IsValidPcm() const {
  return formatTag == WAVE_FORMAT_PCM && (channels == 1 || channels == 2) &&
         (bitsPerSample == 8 || bitsPerSample == 16) && samplesPerSec >= 1000 && samplesPerSec <= 96000 &&
         blockAlign == channels * bitsPerSample / 8 && avgBytesPerSec == blockAlign * samplesPerSec;
}

void ReturnWaveHeader(HWND owner, std::unique_ptr<WaveHeader> header) {
  if (!header || !owner) return;
  ReturnedBlocks& r = Returned();
  LPARAM id;
  {
    std::lock_guard<std::mutex> lock(r.mutex);
    id = r.nextId++;
    r.blocks.emplace(id, std::move(header));
  }
  if (!PostMessage(owner, MM_WOM_DONE, 0, id)) TakeReturnedWaveHeader(id);
}

std::unique_ptr<WaveHeader> TakeReturnedWaveHeader(LPARAM lParam) {
  ReturnedBlocks& r = Returned();
  std::lock_guard<std::mutex> lock(r.mutex);
  auto it = r.blocks.find(lParam);
  if (it == r.blocks.end()) return nullptr;
  std::unique_ptr<WaveHeader> header = std::move(it->second);
  r.blocks.erase(it);
  return header;
}

}  // namespace pellora
