#include "music/mod_modulation.h"

#include <cstdlib>

namespace pellora {
namespace {

const uint8_t kSine[32] = {0,   24,  49,  74,  97,  120, 141, 161, 180, 197, 212, 224, 235, 244, 250, 253,
                           255, 253, 250, 244, 235, 224, 212, 197, 180, 161, 141, 120, 97,  74,  49,  24};

// The waveform's value 0..255 at a phase. Waveform 0 is a sine, 1 a ramp,
// 2 a square; 3 has no shape of its own and plays as a square too.
int WaveValue(int8_t position, uint8_t waveform) {
  int i = (uint8_t(position) >> 2) & 31;
  switch (waveform & 3) {
    case 0: return kSine[i];
    case 1: return position < 0 ? 255 - i * 8 : i * 8;
    default: return 255;
  }
}

}  // namespace

void VolumeSlide(ModChannel& c, uint8_t parameter, uint16_t tick) {
  if (tick == 0) return;
  c.volume = ClampVolume(c.volume + (parameter >> 4) - (parameter & 15));
}

void ToneSlide(ModChannel& c, uint16_t tick) {
  if (tick == 0) return;
  int d = int(c.outPeriod) - int(c.wantedPeriod);
  if (d == 0 || c.portaSpeed > std::abs(d)) c.outPeriod = c.wantedPeriod;
  else c.outPeriod = uint16_t(d > 0 ? c.outPeriod - c.portaSpeed : c.outPeriod + c.portaSpeed);
  c.period = c.outPeriod;
}

void Vibrato(ModChannel& c, uint16_t tick) {
  int amount = 4 * ((c.vibratoDepth * WaveValue(c.vibratoPos, c.waveControl & 3)) / 128);
  c.outPeriod = ClampPeriod(c.vibratoPos >= 0 ? c.period + amount : c.period - amount);
  if (tick != 0) c.vibratoPos = int8_t(uint8_t(c.vibratoPos + c.vibratoSpeed));
}

void Tremolo(ModChannel& c, uint16_t tick) {
  int amount = (c.tremoloDepth * WaveValue(c.tremoloPos, (c.waveControl >> 4) & 3)) / 64;
  c.outVolume = ClampVolume(c.tremoloPos >= 0 ? c.volume + amount : c.volume - amount);
  if (tick != 0) c.tremoloPos = int8_t(uint8_t(c.tremoloPos + c.tremoloSpeed));
}

}  // namespace pellora
