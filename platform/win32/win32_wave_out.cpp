#include "platform/win32/win32_wave_out.h"

#include <deque>
#include <mutex>
#include <thread>

#include "platform/os/win32/windows_api.h"

namespace pellora {
namespace {

WAVEFORMATEX Native(const WaveFormat& format) {
  WAVEFORMATEX native{};
  native.wFormatTag = format.formatTag;
  native.nChannels = format.channels;
  native.nSamplesPerSec = format.samplesPerSec;
  native.nAvgBytesPerSec = format.avgBytesPerSec;
  native.nBlockAlign = format.blockAlign;
  native.wBitsPerSample = format.bitsPerSample;
  return native;
}

// The formats of the capability flags, in flag order.
struct FlagFormat {
  uint32_t flag;
  uint32_t rate;
  uint16_t channels;
  uint16_t bits;
};
constexpr FlagFormat kFlagFormats[] = {
    {WAVE_FORMAT_1M08, 11025, 1, 8},  {WAVE_FORMAT_1S08, 11025, 2, 8},  {WAVE_FORMAT_1M16, 11025, 1, 16},
    {WAVE_FORMAT_1S16, 11025, 2, 16}, {WAVE_FORMAT_2M08, 22050, 1, 8},  {WAVE_FORMAT_2S08, 22050, 2, 8},
    {WAVE_FORMAT_2M16, 22050, 1, 16}, {WAVE_FORMAT_2S16, 22050, 2, 16}, {WAVE_FORMAT_4M08, 44100, 1, 8},
    {WAVE_FORMAT_4S08, 44100, 2, 8},  {WAVE_FORMAT_4M16, 44100, 1, 16}, {WAVE_FORMAT_4S16, 44100, 2, 16},
};

class Win32WaveOut : public WaveOut {
 public:
  Win32WaveOut() = default;
  ~Win32WaveOut() override { Close(); }
  Win32WaveOut(const Win32WaveOut&) = delete;
  Win32WaveOut& operator=(const Win32WaveOut&) = delete;

  uint32_t GetDevCaps() override {
    if (waveOutGetNumDevs() == 0) return 0;
    WAVEOUTCAPSW caps{};
    if (waveOutGetDevCapsW(WAVE_MAPPER, &caps, sizeof caps) == MMSYSERR_NOERROR && (caps.dwFormats & WAVE_FORMAT_ALL))
      return caps.dwFormats & WAVE_FORMAT_ALL;
    // Some drivers report no standard formats for the mapper: ask for each.
    uint32_t flags = 0;
    for (const FlagFormat& f : kFlagFormats)
      if (Query(WaveFormat::Pcm(f.rate, f.channels, f.bits))) flags |= f.flag;
    return flags;
  }

  bool Query(const WaveFormat& format) override {
    if (!format.IsValidPcm()) return false;
    WAVEFORMATEX native = Native(format);
    return waveOutOpen(nullptr, WAVE_MAPPER, &native, 0, 0, WAVE_FORMAT_QUERY) == MMSYSERR_NOERROR;
  }

  bool Open(const WaveFormat& format, HWND owner) override {
    if (device_ || !format.IsValidPcm()) return false;
    done_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!done_) return false;
    WAVEFORMATEX native = Native(format);
    if (waveOutOpen(&device_, WAVE_MAPPER, &native, DWORD_PTR(done_), 0, CALLBACK_EVENT) != MMSYSERR_NOERROR) {
      device_ = nullptr;
      CloseHandle(done_);
      done_ = nullptr;
      return false;
    }
    owner_ = owner;
    stopping_ = false;
    returner_ = std::thread([this] { ReturnLoop(); });
    return true;
  }

  bool IsOpen() const override { return device_ != nullptr; }

  bool Write(std::unique_ptr<WaveHeader> header) override {
    if (!device_ || !header || header->length > header->data.size()) return false;
    auto block = std::make_unique<Block>();
    block->native.lpData = reinterpret_cast<LPSTR>(header->data.data());
    block->native.dwBufferLength = header->length;
    block->header = std::move(header);
    if (waveOutPrepareHeader(device_, &block->native, sizeof block->native) != MMSYSERR_NOERROR) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    if (waveOutWrite(device_, &block->native, sizeof block->native) != MMSYSERR_NOERROR) {
      waveOutUnprepareHeader(device_, &block->native, sizeof block->native);
      return false;
    }
    queue_.push_back(std::move(block));
    return true;
  }

  void Reset() override {
    if (!device_) return;
    // Every queued block is marked done by the reset.
    waveOutReset(device_);
    std::lock_guard<std::mutex> lock(mutex_);
    ReturnFinished(true);
  }

  void Close() override {
    if (!device_) return;
    Reset();
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    SetEvent(done_);
    returner_.join();
    waveOutClose(device_);
    device_ = nullptr;
    CloseHandle(done_);
    done_ = nullptr;
  }

 private:
  struct Block {
    std::unique_ptr<WaveHeader> header;
    WAVEHDR native{};
  };

  // The device's thread: hands back the blocks the device has finished.
  void ReturnLoop() {
    for (;;) {
      WaitForSingleObject(done_, INFINITE);
      std::lock_guard<std::mutex> lock(mutex_);
      if (stopping_) return;
      ReturnFinished(false);
    }
  }

  // With the lock held: the finished blocks at the front of the queue go
  // back in order (all of them after a reset).
  void ReturnFinished(bool all) {
    while (!queue_.empty() && (all || (queue_.front()->native.dwFlags & WHDR_DONE))) {
      std::unique_ptr<Block> block = std::move(queue_.front());
      queue_.pop_front();
      waveOutUnprepareHeader(device_, &block->native, sizeof block->native);
      ReturnWaveHeader(owner_, std::move(block->header));
    }
  }

  HWAVEOUT device_ = nullptr;
  HANDLE done_ = nullptr;
  HWND owner_ = 0;
  std::thread returner_;
  std::mutex mutex_;
  bool stopping_ = false;
  std::deque<std::unique_ptr<Block>> queue_;
};

}  // namespace

std::unique_ptr<WaveOut> CreateWin32WaveOut() { return std::make_unique<Win32WaveOut>(); }

}  // namespace pellora
