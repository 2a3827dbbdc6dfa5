#include "platform/sdl/sdl_wave_out.h"

#include <SDL.h>

#include <cstring>
#include <deque>

#include "platform/sdl/sdl_audio_start.h"
#include "platform/sdl/sdl_media_device.h"

namespace pellora {
namespace {

class SdlWaveOut : public WaveOut {
 public:
  SdlWaveOut() = default;
  ~SdlWaveOut() override {
    Close();
    if (audioStarted_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  SdlWaveOut(const SdlWaveOut&) = delete;
  SdlWaveOut& operator=(const SdlWaveOut&) = delete;

  // SDL converts any PCM it is given to what the card takes.
  uint32_t GetDevCaps() override { return StartAudio() ? uint32_t(WAVE_FORMAT_ALL) : 0u; }

  bool Query(const WaveFormat& format) override { return format.IsValidPcm() && StartAudio(); }

  bool Open(const WaveFormat& format, HWND owner) override {
    if (device_ || !Query(format)) return false;
    SDL_AudioSpec want;
    SDL_zero(want);
    want.freq = int(format.samplesPerSec);
    want.format = format.bitsPerSample == 16 ? AUDIO_S16LSB : AUDIO_U8;
    want.channels = uint8_t(format.channels);
    want.samples = 1024;
    want.callback = &SdlWaveOut::Callback;
    want.userdata = this;
    SDL_AudioSpec have;
    // One sound at a time: the media device's audio goes first.
    ReleaseMixerAudio();
    // No changes allowed: SDL converts to the card's own format behind us.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (!device_) return false;
    owner_ = owner;
    silence_ = format.bitsPerSample == 16 ? 0 : 0x80;
    started_ = false;
    return true;
  }

  bool IsOpen() const override { return device_ != 0; }

  bool Write(std::unique_ptr<WaveHeader> header) override {
    if (!device_ || !header || header->length > header->data.size()) return false;
    SDL_LockAudioDevice(device_);
    queue_.push_back(std::move(header));
    SDL_UnlockAudioDevice(device_);
    // The device stays paused until it has something to play, so that the
    // sound does not start with an underrun.
    if (!started_) {
      SDL_PauseAudioDevice(device_, 0);
      started_ = true;
    }
    return true;
  }

  void Reset() override {
    if (!device_) return;
    SDL_LockAudioDevice(device_);
    std::deque<std::unique_ptr<WaveHeader>> pending;
    pending.swap(queue_);
    offset_ = 0;
    SDL_UnlockAudioDevice(device_);
    for (auto& header : pending) ReturnWaveHeader(owner_, std::move(header));
  }

  void Close() override {
    if (!device_) return;
    // Closing waits for the audio thread, so the queue is ours afterwards.
    SDL_CloseAudioDevice(device_);
    device_ = 0;
    std::deque<std::unique_ptr<WaveHeader>> pending;
    pending.swap(queue_);
    offset_ = 0;
    for (auto& header : pending) ReturnWaveHeader(owner_, std::move(header));
  }

 private:
  bool StartAudio() {
    if (!audioStarted_) audioStarted_ = StartSdlAudio();
    return audioStarted_;
  }

  // Runs on SDL's audio thread with the device locked: copies queued bytes,
  // returns finished blocks and fills an underrun with silence.
  static void SDLCALL Callback(void* userdata, Uint8* stream, int len) {
    auto* self = static_cast<SdlWaveOut*>(userdata);
    size_t wanted = size_t(len);
    while (wanted > 0 && !self->queue_.empty()) {
      WaveHeader& front = *self->queue_.front();
      size_t n = std::min<size_t>(wanted, front.length - self->offset_);
      std::memcpy(stream, front.data.data() + self->offset_, n);
      stream += n;
      wanted -= n;
      self->offset_ += n;
      if (self->offset_ >= front.length) {
        ReturnWaveHeader(self->owner_, std::move(self->queue_.front()));
        self->queue_.pop_front();
        self->offset_ = 0;
      }
    }
    if (wanted > 0) std::memset(stream, self->silence_, wanted);
  }

  bool audioStarted_ = false;
  SDL_AudioDeviceID device_ = 0;
  HWND owner_ = 0;
  uint8_t silence_ = 0;
  bool started_ = false;
  std::deque<std::unique_ptr<WaveHeader>> queue_;
  size_t offset_ = 0;
};

}  // namespace

std::unique_ptr<WaveOut> CreateSdlWaveOut() { return std::make_unique<SdlWaveOut>(); }

}  // namespace pellora
