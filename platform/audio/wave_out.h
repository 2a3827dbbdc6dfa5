// The wave output device: PCM blocks written to a sound device, each handed
// back to an owner window as MM_WOM_DONE once it has been played (or thrown
// away by a reset). Shaped like the platform's wave functions as the module
// player uses them: capabilities, query, open with an owner window, write,
// reset, close. Each backend makes its own device (Backend::CreateWaveOut).
#pragma once

#include <cstdint>
#include <memory>

#include "platform/base/types.h"
#include "platform/storage/global_block.h"

namespace pellora {

// Format flags a device reports: rate (1 = 11025, 2 = 22050, 4 = 44100 Hz),
// mono or stereo, 8 or 16 bits.
enum : uint32_t {
  WAVE_FORMAT_1M08 = 0x001,
  WAVE_FORMAT_1S08 = 0x002,
  WAVE_FORMAT_1M16 = 0x004,
  WAVE_FORMAT_1S16 = 0x008,
  WAVE_FORMAT_2M08 = 0x010,
  WAVE_FORMAT_2S08 = 0x020,
  WAVE_FORMAT_2M16 = 0x040,
  WAVE_FORMAT_2S16 = 0x080,
  WAVE_FORMAT_4M08 = 0x100,
  WAVE_FORMAT_4S08 = 0x200,
  WAVE_FORMAT_4M16 = 0x400,
  WAVE_FORMAT_4S16 = 0x800,
  WAVE_FORMAT_ALL = 0xFFF,
};

enum : uint16_t { WAVE_FORMAT_PCM = 1 };

// The PCM format record. 8-bit data is unsigned (silence 0x80), 16-bit data
// signed little-endian, channels interleaved left first.
struct WaveFormat {
  uint16_t formatTag = WAVE_FORMAT_PCM;
  uint16_t channels = 0;
  uint32_t samplesPerSec = 0;
  uint32_t avgBytesPerSec = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;

  static WaveFormat Pcm(uint32_t rate, uint16_t channels, uint16_t bits);
  // Plain PCM of 1 or 2 channels, 8 or 16 bits, a rate of 1000..96000 Hz,
  // with block alignment and byte rate that agree.
  bool IsValidPcm() const;
};

// One block travelling through a device, the analogue of the platform's
// wave header. Whoever writes blocks may derive from it to attach a record
// of its own; the device hands the same object back.
struct WaveHeader {
  virtual ~WaveHeader() = default;
  GlobalBlock data;     // the PCM bytes
  uint32_t length = 0;  // bytes of data to play, at most data.size()
};

class WaveOut {
 public:
  virtual ~WaveOut() = default;

  // The WAVE_FORMAT_* flags of the formats the device can play.
  virtual uint32_t GetDevCaps() = 0;
  // True when Open would accept the format.
  virtual bool Query(const WaveFormat& format) = 0;
  // Opens the device; finished blocks go to owner as MM_WOM_DONE.
  virtual bool Open(const WaveFormat& format, HWND owner) = 0;
  virtual bool IsOpen() const = 0;
  // Queues a block behind the others. False when the device is not open or
  // refuses it; the block is then freed and no message follows.
  virtual bool Write(std::unique_ptr<WaveHeader> header) = 0;
  // Stops playing and hands back every block not yet played, in order.
  virtual void Reset() = 0;
  // Resets, then releases the device.
  virtual void Close() = 0;
};

// The device side of MM_WOM_DONE: keeps a finished block and posts the
// message to owner (lParam names the block). Safe from any thread. Without
// an owner the block is freed at once.
void ReturnWaveHeader(HWND owner, std::unique_ptr<WaveHeader> header);
// The handler side: the block an MM_WOM_DONE message stands for, or null
// when there is none (already taken, or not a block's message).
std::unique_ptr<WaveHeader> TakeReturnedWaveHeader(LPARAM lParam);

}  // namespace pellora
