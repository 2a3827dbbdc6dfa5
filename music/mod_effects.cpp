// The ProTracker-style effects 0x0..0xF and the extended effects E0x..EFx.
#include <algorithm>

#include "music/mod_engine.h"
#include "music/mod_modulation.h"

namespace pellora {

void ModEngine::RunProTrackerEffect(int k, uint8_t effect, uint8_t parameter) {
  ModChannel& c = channels[size_t(k)];
  uint8_t x = parameter >> 4, y = parameter & 15;
  switch (effect) {
    case 0x0:  // arpeggio
      if (parameter != 0) {
        int steps[3] = {0, x, y};
        c.outPeriod = NotePeriod(c, c.note + steps[tick % 3], c.c4Speed);
        c.ownPeriod = 1;
      }
      break;
    case 0x1:  // portamento up
      if (parameter != 0) c.slideSpeed = uint16_t(parameter * 4);
      if (tick != 0) c.period = ClampPeriod(c.period - c.slideSpeed);
      break;
    case 0x2:  // portamento down
      if (parameter != 0) c.slideSpeed = uint16_t(parameter * 4);
      if (tick != 0) c.period = ClampPeriod(c.period + c.slideSpeed);
      break;
    case 0x3:  // tone portamento
      c.kick = 0;
      if (parameter != 0) c.portaSpeed = uint16_t(parameter * 4);
      ToneSlide(c, tick);
      c.ownPeriod = 1;
      break;
    case 0x4:  // vibrato
      if (y != 0) c.vibratoDepth = y;
      if (x != 0) c.vibratoSpeed = int8_t(x * 4);
      Vibrato(c, tick);
      c.ownPeriod = 1;
      break;
    case 0x5:  // tone portamento and volume slide
      c.kick = 0;
      ToneSlide(c, tick);
      VolumeSlide(c, parameter, tick);
      c.ownPeriod = 1;
      break;
    case 0x6:  // vibrato and volume slide
      Vibrato(c, tick);
      VolumeSlide(c, parameter, tick);
      c.ownPeriod = 1;
      break;
    case 0x7:  // tremolo
      if (y != 0) c.tremoloDepth = y;
      if (x != 0) c.tremoloSpeed = int8_t(x * 4);
      Tremolo(c, tick);
      c.ownVolume = 1;
      break;
    case 0x8:  // set panning
      song->panning[size_t(k)] = parameter;
      break;
    case 0x9:  // sample offset
      if (parameter != 0) c.sampleOffset = uint16_t(parameter * 256);
      c.voiceStart = std::min<uint32_t>(c.sampleOffset, c.voiceLength);
      break;
    case 0xA:
      VolumeSlide(c, parameter, tick);
      break;
    case 0xB:  // position jump, never backwards
      if (delayCount != 0) break;
      breakRow = 0;
      if (parameter > position) position = parameter - 1;
      positionStep = 3;
      break;
    case 0xC:
      c.volume = int8_t(std::min<int>(parameter, 64));
      break;
    case 0xD:  // pattern break
      if (delayCount != 0) break;
      breakRow = int16_t(std::min(x * 10 + y, 64));
      positionStep = 3;
      break;
    case 0xE:
      RunExtendedEffect(k, x, y);
      break;
    case 0xF:  // speed or tempo
      if (tick != 0 || delayCount != 0) break;
      if (parameter >= 32) {
        SetTempo(parameter);
      } else if (parameter != 0) {
        speed = parameter;
        tick = 0;
      }
      break;
  }
}

void ModEngine::RunExtendedEffect(int k, uint8_t x, uint8_t y) {
  ModChannel& c = channels[size_t(k)];
  switch (x) {
    case 0x1:  // fine portamento up
      if (tick == 0) c.period = ClampPeriod(c.period - y * 4);
      break;
    case 0x2:  // fine portamento down
      if (tick == 0) c.period = ClampPeriod(c.period + y * 4);
      break;
    case 0x3:
      c.glissando = int8_t(y);
      break;
    case 0x4:  // vibrato waveform
      c.waveControl = uint8_t((c.waveControl & 0xF0) | y);
      break;
    case 0x5:  // set finetune
      c.c4Speed = kFinetuneC4Speed[y];
      c.period = NotePeriod(c, c.note, c.c4Speed);
      break;
    case 0x6:  // pattern loop of this channel; E60 marks the row it restarts at
      if (tick != 0) break;
      if (y == 0) {
        c.loopRow = uint16_t(rowPlaying - 1);
      } else {
        if (c.loopCount > 0) --c.loopCount;
        else c.loopCount = y;
        if (c.loopCount != 0) row = c.loopRow;
        // Scream Tracker starts a later loop after the one just finished.
        else if (song->loopRestartsAfterFinishedLoop) c.loopRow = rowPlaying;
      }
      break;
    case 0x7:  // tremolo waveform
      c.waveControl = uint8_t((c.waveControl & 0x0F) | (y << 4));
      break;
    case 0x8:
      song->panning[size_t(k)] = uint8_t(y * 16);
      break;
    case 0x9:  // retrigger every y ticks
      if (y != 0) {
        if (c.retrigCounter == 0) {
          c.kick = 1;
          c.retrigCounter = int8_t(y);
        }
        --c.retrigCounter;
      }
      break;
    case 0xA:
      if (tick == 0) c.volume = ClampVolume(c.volume + y);
      break;
    case 0xB:
      if (tick == 0) c.volume = ClampVolume(c.volume - y);
      break;
    case 0xC:  // note cut
      if (tick >= y) c.volume = 0;
      break;
    case 0xD:  // note delay
      c.kick = tick == y ? 1 : 0;
      break;
    case 0xE:  // pattern delay
      if (tick == 0 && delayCount == 0) delayRows = uint8_t(y + 1);
      break;
    default:  // E0x and EFx do nothing
      break;
  }
}

}  // namespace pellora
