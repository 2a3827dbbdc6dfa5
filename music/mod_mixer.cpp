#include "music/mod_mixer.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

#include "music/sample_store.h"

namespace pellora {

bool ModMixer::Configure(uint32_t rate, int channels, int bits, int voiceCount) {
  Release();
  voiceCount_ = std::clamp(voiceCount, 0, kMaxChannels);
  rate_ = rate;
  stereo_ = channels == 2;
  sixteenBits_ = bits == 16;
  shift_ = (stereo_ ? 1 : 0) + (sixteenBits_ ? 1 : 0);
  if (voiceCount_ == 0 || rate_ == 0) return false;
  int n = voiceCount_;
  // Each voice gets 1/n of the range. A single voice gets half of it in
  // 16-bit output, as its full-scale entries would not fit 16 bits.
  int a = sixteenBits_ ? 256 / std::max(n, 2) : (256 / n) >> 2;
  try {
    volumeTables_.resize(65 * 256);
    for (int v = 0; v <= 64; ++v)
      for (int u = 0; u < 256; ++u) volumeTables_[size_t(v * 256 + u)] = int16_t((2 * int8_t(u) * a * v) / 64);
    if (!sixteenBits_) {
      clipTable_.resize(16384);
      for (int j = -8192; j < 8192; ++j) {
        int q = std::clamp((j * (76 * n + 256)) >> 14, -128, 127);
        clipTable_[size_t(j + 8192)] = uint8_t(q + 128);
      }
    }
  } catch (const std::bad_alloc&) {
    Release();
    return false;
  }
  return true;
}

void ModMixer::Release() {
  volumeTables_ = {};
  clipTable_ = {};
}

void ModMixer::ResetVoices() {
  for (size_t i = 0; i < voices_.size(); ++i) {
    voices_[i] = MixVoice{};
    voices_[i].pan = i % 2 == 0 ? 255 : 0;
  }
}

void ModMixer::VoiceStart(int voice, int slot, uint32_t start, uint32_t length, uint32_t loopStart,
                          uint32_t loopEnd, uint16_t flags) {
  if (voice < 0 || voice >= kMaxChannels || start >= length) return;
  if ((flags & SMP_LOOPED) && length < loopEnd) loopEnd = length;
  MixVoice& v = voices_[size_t(voice)];
  v.slot = uint16_t(slot);
  v.start = start;
  v.length = length;
  v.loopStart = loopStart;
  v.loopEnd = loopEnd;
  v.flags = flags;
  v.kick = 1;
}

void ModMixer::VoiceSetVolume(int voice, int volume) {
  if (voice >= 0 && voice < kMaxChannels) voices_[size_t(voice)].volume = uint8_t(std::clamp(volume, 0, 64));
}

void ModMixer::VoiceSetPanning(int voice, int pan) {
  if (voice >= 0 && voice < kMaxChannels) voices_[size_t(voice)].pan = uint8_t(std::clamp(pan, 0, 255));
}

void ModMixer::VoiceSetFrequency(int voice, uint32_t hertz) {
  if (voice >= 0 && voice < kMaxChannels) voices_[size_t(voice)].frequency = hertz;
}

void ModMixer::PrepareVoice(MixVoice& v) {
  if (v.kick) {
    v.samplePos = v.start;
    v.fraction = 0;
    v.active = 1;
    v.kick = 0;
  }
  uint64_t f = v.frequency;
  v.step = uint32_t((f / rate_) * 65536 + ((f % rate_) * 65536 + rate_ / 2) / rate_);
  if (stereo_) {
    v.leftTable = Table(((255 - v.pan) * v.volume) / 255);
    v.rightTable = Table((v.volume * v.pan) / 255);
  } else {
    v.leftTable = Table(v.volume / 2);
  }
}

uint32_t ModMixer::MixTick(uint8_t* destination, uint32_t bytes) {
  if (!Ready()) return 0;
  uint32_t frames = bytes >> shift_;
  for (int i = 0; i < voiceCount_; ++i) PrepareVoice(voices_[size_t(i)]);
  for (uint32_t done = 0; done < frames;) {
    uint32_t m = std::min(frames - done, kChunkFrames);
    MixChunk(destination + (size_t(done) << shift_), m);
    done += m;
  }
  return frames << shift_;
}

template <bool kStereo>
void ModMixer::AddVoice(MixVoice& v, int32_t* out, uint32_t frames) {
  const int8_t* data = store_.Data(v.slot);
  if (!data) {
    v.active = 0;
    return;
  }
  // The slot's own size bounds every read, whatever the voice was told.
  uint32_t length = std::min(v.length, store_.Frames(v.slot));
  uint32_t loopEnd = std::min(v.loopEnd, length);
  bool looped = (v.flags & SMP_LOOPED) && v.loopStart < loopEnd;
  bool silent = v.leftTable == Table(0) && (!kStereo || v.rightTable == Table(0));
  const int16_t* left = v.leftTable;
  const int16_t* right = v.rightTable;
  uint32_t done = 0;
  while (done < frames) {
    if (looped && v.samplePos >= loopEnd) {
      v.samplePos = v.loopStart;
    } else if (!looped && v.samplePos >= length) {
      v.samplePos = 0;
      v.fraction = 0;
      v.active = 0;
      return;
    }
    uint32_t end = looped ? loopEnd : length;
    // Output frames until the position reaches the end of the run.
    uint64_t need = (uint64_t(end - v.samplePos) << 16) - v.fraction;
    uint64_t n = v.step ? (need + v.step - 1) / v.step : frames - done;
    n = std::min<uint64_t>(n, frames - done);
    uint64_t pos = (uint64_t(v.samplePos) << 16) | v.fraction;
    const uint64_t step = v.step;
    if (silent) {
      pos += n * step;
    } else {
      // One table lookup and one addition per output value.
      int32_t* o = out + size_t(done) * (kStereo ? 2 : 1);
      int32_t* const stop = o + size_t(n) * (kStereo ? 2 : 1);
      while (o != stop) {
        uint8_t s = uint8_t(data[pos >> 16]);
        if constexpr (kStereo) {
          o[0] += left[s];
          o[1] += right[s];
          o += 2;
        } else {
          *o++ += left[s];
        }
        pos += step;
      }
    }
    v.samplePos = uint32_t(pos >> 16);
    v.fraction = uint16_t(pos & 0xFFFF);
    done += uint32_t(n);
  }
}

void ModMixer::MixChunk(uint8_t* destination, uint32_t frames) {
  uint32_t values = stereo_ ? frames * 2 : frames;
  int32_t* buffer = mixBuffer_.data();
  std::fill(buffer, buffer + values, 0);
  for (int i = 0; i < voiceCount_; ++i) {
    MixVoice& v = voices_[size_t(i)];
    if (!v.active) continue;
    if (stereo_) AddVoice<true>(v, buffer, frames);
    else AddVoice<false>(v, buffer, frames);
  }
  if (sixteenBits_) {
    // Sums saturate at the ends of the 16-bit range; stored little-endian.
    int16_t values16[kChunkFrames * 2];
    for (uint32_t i = 0; i < values; ++i) values16[i] = int16_t(std::clamp(buffer[i], -32768, 32767));
    if constexpr (std::endian::native == std::endian::little) {
      std::memcpy(destination, values16, size_t(values) * 2);
    } else {
      for (uint32_t i = 0; i < values; ++i) {
        destination[2 * i] = uint8_t(values16[i]);
        destination[2 * i + 1] = uint8_t(uint16_t(values16[i]) >> 8);
      }
    }
  } else {
    // The clip table covers sums of -8192..8191; louder ones clip at its ends.
    for (uint32_t i = 0; i < values; ++i) destination[i] = clipTable_[size_t(std::clamp(buffer[i] + 8192, 0, 16383))];
  }
}

}  // namespace pellora
