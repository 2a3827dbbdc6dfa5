// The Scream Tracker 3 commands that have no ProTracker equivalent:
// A (speed), D (volume slide), E and F (portamento), I (tremor),
// Q (retrigger with volume change) and T (tempo).
#include "music/mod_engine.h"
#include "music/mod_modulation.h"

namespace pellora {
namespace {

// Volume change of a Q retrigger by its mode.
int RetrigVolume(int volume, uint8_t mode) {
  static const int kSteps[16] = {0, -1, -2, -4, -8, -16, 0, 0, 0, 1, 2, 4, 8, 16, 0, 0};
  switch (mode & 15) {
    case 6: return volume * 2 / 3;
    case 7: return volume / 2;
    case 14: return volume * 3 / 2;
    case 15: return volume * 2;
    default: return volume + kSteps[mode & 15];
  }
}

}  // namespace

void ModEngine::RunSt3Command(int k, uint8_t opcode, uint8_t parameter) {
  ModChannel& c = channels[size_t(k)];
  switch (opcode) {
    case TRK_ST3_SPEED:
      if (tick == 0 && delayCount == 0 && parameter != 0) {
        speed = parameter;
        tick = 0;
      }
      break;
    case TRK_ST3_VOLSLIDE: {
      if (parameter != 0) c.volSlideMemory = parameter;
      uint8_t x = c.volSlideMemory >> 4, y = c.volSlideMemory & 15;
      int v = c.volume;
      if (x == 0) v -= y;
      else if (y == 0) v += x;
      else if (x == 15) v -= tick == 0 ? y : 0;
      else if (y == 15) v += tick == 0 ? x : 0;
      c.volume = ClampVolume(v);
      break;
    }
    case TRK_ST3_PORTA_DOWN:
    case TRK_ST3_PORTA_UP: {
      if (parameter != 0) c.slideSpeed = parameter;
      else parameter = uint8_t(c.slideSpeed);
      int sign = opcode == TRK_ST3_PORTA_DOWN ? 1 : -1;
      uint8_t x = parameter >> 4, y = parameter & 15;
      if (x == 15) {
        if (tick == 0) c.period = ClampPeriod(c.period + sign * y * 4);
      } else if (x == 14) {
        if (tick == 0) c.period = ClampPeriod(c.period + sign * y);
      } else if (tick != 0) {
        c.period = ClampPeriod(c.period + sign * parameter * 4);
      }
      break;
    }
    case TRK_ST3_TREMOR: {
      int on = (parameter >> 4) + 1, off = (parameter & 15) + 1;
      c.tremorCounter = uint8_t(c.tremorCounter % (on + off));
      c.outVolume = c.tremorCounter < on ? c.volume : 0;
      ++c.tremorCounter;
      c.ownVolume = 1;
      break;
    }
    case TRK_ST3_RETRIG: {
      uint8_t x = parameter >> 4, y = parameter & 15;
      if (y != 0) {
        c.retrigVolumeMode = x;
        c.retrigSpeed = int8_t(y);
      }
      if (x != 0) c.retrigVolumeMode = x;
      if (c.retrigSpeed == 0) break;
      if (c.retrigCounter == 0) {
        c.kick = 1;
        c.retrigCounter = c.retrigSpeed;
        if (tick != 0) c.volume = ClampVolume(RetrigVolume(c.volume, c.retrigVolumeMode));
      }
      --c.retrigCounter;
      break;
    }
    case TRK_ST3_TEMPO:
      if (tick == 0 && delayCount == 0) SetTempo(parameter);
      break;
    default:
      break;
  }
}

}  // namespace pellora
