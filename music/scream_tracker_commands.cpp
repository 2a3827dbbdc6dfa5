#include "music/scream_tracker_commands.h"

namespace pellora {

namespace {

// Sxy by x: the extended ProTracker effect it plays as (E with that high
// nibble), or 0xFF for none.
const uint8_t kSpecialToExtended[16] = {0x0, 0x3, 0x5, 0x4, 0x7, 0xFF, 0xFF, 0xFF,
                                        0x8, 0xFF, 0xFF, 0x6, 0xC, 0xD, 0xE, 0xFF};

}  // namespace

void PutScreamTrackerCommand(TrackWriter& w, uint8_t command, uint8_t info) {
  switch (command) {
    case 1: w.PutCommand(TRK_ST3_SPEED, info); break;       // A
    case 2: w.PutEffect(0xB, info); break;                   // B position jump
    case 3: w.PutEffect(0xD, info); break;                   // C pattern break
    case 4: w.PutCommand(TRK_ST3_VOLSLIDE, info); break;     // D
    case 5: w.PutCommand(TRK_ST3_PORTA_DOWN, info); break;   // E
    case 6: w.PutCommand(TRK_ST3_PORTA_UP, info); break;     // F
    case 7: w.PutEffect(0x3, info); break;                   // G tone portamento
    case 8: w.PutEffect(0x4, info); break;                   // H vibrato
    case 9: w.PutCommand(TRK_ST3_TREMOR, info); break;       // I
    case 10: w.PutEffect(0x0, info); break;                  // J arpeggio
    case 11:                                                 // K vibrato + volume slide
      w.PutEffect(0x4, 0);
      w.PutCommand(TRK_ST3_VOLSLIDE, info);
      break;
    case 12:                                                 // L tone portamento + volume slide
      w.PutEffect(0x3, 0);
      w.PutCommand(TRK_ST3_VOLSLIDE, info);
      break;
    case 15: w.PutEffect(0x9, info); break;                  // O sample offset
    case 17: w.PutCommand(TRK_ST3_RETRIG, info); break;      // Q
    case 18: w.PutEffect(0x7, info); break;                  // R tremolo
    case 19: {                                               // S special
      uint8_t extended = kSpecialToExtended[info >> 4];
      if (extended != 0xFF) w.PutEffect(0xE, uint8_t((extended << 4) | (info & 15)));
      break;
    }
    case 20:                                                 // T tempo; below 33 it is no tempo
      if (info >= 33) w.PutCommand(TRK_ST3_TEMPO, info);
      break;
    case 24: w.PutEffect(0x8, info); break;                  // X panning
    default: break;                                          // M, N, P, U..Z and none
  }
}

}  // namespace pellora
