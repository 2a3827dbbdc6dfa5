// The software mixer: one voice per song channel, each playing a sample of
// the store with nearest-sample resampling through per-voice volume
// tables, summed into PCM of one of four modes (8 or 16 bits, mono or
// stereo) in chunks of at most 1800 frames.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "music/mod_engine.h"
#include "music/mod_song.h"

namespace pellora {

class ModSampleStore;

// One voice.
struct MixVoice {
  uint8_t kick = 0;     // start requested; taken by the next mix
  uint8_t active = 0;   // sounding
  uint16_t flags = 0;   // only SMP_LOOPED matters
  uint16_t slot = 0;
  uint32_t start = 0;
  uint32_t length = 0;
  uint32_t loopStart = 0;
  uint32_t loopEnd = 0;
  uint32_t frequency = 10000;
  uint8_t volume = 0;   // 0..64
  uint8_t pan = 0;      // 0 = left .. 255 = right
  uint16_t fraction = 0;
  uint32_t samplePos = 0;
  uint32_t step = 0;    // 16.16 frames per output frame
  const int16_t* leftTable = nullptr;   // left or only channel
  const int16_t* rightTable = nullptr;
};

class ModMixer : public ModVoiceSink {
 public:
  static constexpr uint32_t kChunkFrames = 1800;

  explicit ModMixer(const ModSampleStore& store) : store_(store) {}

  // Output mode and voice count; builds the volume and clip tables. False
  // (and no mixing until a later success) when they cannot be had.
  bool Configure(uint32_t rate, int channels, int bits, int voiceCount);
  bool Ready() const { return !volumeTables_.empty(); }
  // Frees the tables; nothing mixes until the next Configure.
  void Release();
  // Every voice silent and at rest, panned right, left, right... by voice.
  void ResetVoices();
  // Bytes per frame as a shift: 8-bit mono 0, 8-bit stereo and 16-bit
  // mono 1, 16-bit stereo 2.
  int Shift() const { return shift_; }

  // Mixes `bytes` bytes of output (whole frames) for one tick; returns the
  // bytes written.
  uint32_t MixTick(uint8_t* destination, uint32_t bytes);

  void VoiceStart(int voice, int slot, uint32_t start, uint32_t length, uint32_t loopStart, uint32_t loopEnd,
                  uint16_t flags) override;
  void VoiceSetVolume(int voice, int volume) override;
  void VoiceSetPanning(int voice, int pan) override;
  void VoiceSetFrequency(int voice, uint32_t hertz) override;

  const MixVoice& Voice(int voice) const { return voices_[size_t(voice)]; }

 private:
  const int16_t* Table(int volume) const { return &volumeTables_[size_t(volume) * 256]; }
  void PrepareVoice(MixVoice& voice);
  void MixChunk(uint8_t* destination, uint32_t frames);
  template <bool kStereo>
  void AddVoice(MixVoice& voice, int32_t* out, uint32_t frames);

  const ModSampleStore& store_;
  uint32_t rate_ = 0;
  bool stereo_ = false;
  bool sixteenBits_ = false;
  int shift_ = 0;
  int voiceCount_ = 0;
  std::array<MixVoice, kMaxChannels> voices_{};
  // 65 tables of 256 entries, indexed by the sample byte as stored.
  std::vector<int16_t> volumeTables_;
  std::vector<uint8_t> clipTable_;  // 8-bit output
  std::array<int32_t, kChunkFrames * 2> mixBuffer_{};
};

}  // namespace pellora
