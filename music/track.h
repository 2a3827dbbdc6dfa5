// Encoded tracks: the pattern data of one channel of one pattern as a
// string of row records. A record starts with a header byte (bits 0..4 the
// record's length with the header, bits 5..7 how many identical rows it
// stands for, minus one), followed by opcodes, each but 0 with one argument
// byte. A header byte 0 ends the track.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pellora {

// Track opcodes.
enum : uint8_t {
  TRK_NOTE = 1,        // note number: 12 * octave + semitone
  TRK_INSTRUMENT = 2,  // sample index, from 0
  TRK_PT_0 = 3,        // ProTracker-style effect 0x0 .. 0xF: opcode = effect + 3
  TRK_PT_F = 18,
  TRK_ST3_SPEED = 19,  // Scream Tracker 3 commands A, D, E, F, I, Q, T
  TRK_ST3_VOLSLIDE = 20,
  TRK_ST3_PORTA_DOWN = 21,
  TRK_ST3_PORTA_UP = 22,
  TRK_ST3_TREMOR = 23,
  TRK_ST3_RETRIG = 24,
  TRK_ST3_TEMPO = 25,
};

// Longest record: what five header bits can state.
constexpr size_t kMaxTrackRecord = 31;

// Builds one track at a time; identical consecutive rows share a record,
// up to eight rows each.
class TrackWriter {
 public:
  TrackWriter();

  // Starts an empty track.
  void BeginTrack();
  // Adds a byte to the current row. A row keeps at most what a record can
  // hold; bytes beyond are dropped.
  void PutByte(uint8_t value);
  void PutNote(uint8_t note);
  void PutInstrument(uint8_t sample);
  // A ProTracker-style effect; nothing when effect and parameter are both 0.
  void PutEffect(uint8_t effect, uint8_t parameter);
  // Any opcode with its argument (the ST3 opcodes).
  void PutCommand(uint8_t opcode, uint8_t parameter);
  void EndRow();
  // The finished track: its records and the end byte.
  std::vector<uint8_t> EndTrack();

 private:
  std::vector<uint8_t> buffer_;
  size_t rowStart_ = 0;   // the current row's reserved header byte
  size_t previous_ = 0;   // header of the last record written
  bool hasPrevious_ = false;
};

// Calls f(opcode, argument) for each opcode of a record but opcode 0.
template <typename F>
void ForEachOpcode(const uint8_t* record, F&& f) {
  size_t length = record[0] & 31;
  size_t i = 1;
  while (i < length) {
    uint8_t opcode = record[i++];
    if (opcode == 0) continue;
    if (i >= length) break;
    f(opcode, record[i++]);
  }
}

// The record of row `row` (its header byte), or null when the track has no
// such row.
const uint8_t* LookupRow(const std::vector<uint8_t>& track, uint32_t row);

// Remembers where the last lookup of a channel ended, so that reading a
// track row after row costs one step per row.
class TrackCursor {
 public:
  void Forget() { track_ = nullptr; }
  // As LookupRow, continuing from the previous call when it asked for the
  // row before in the same track.
  const uint8_t* Lookup(const std::vector<uint8_t>& track, uint32_t row);

 private:
  const std::vector<uint8_t>* track_ = nullptr;
  uint32_t row_ = 0;        // row found last time
  size_t offset_ = 0;       // its record
  uint32_t rowsLeft_ = 0;   // rows of that record after it
};

}  // namespace pellora
