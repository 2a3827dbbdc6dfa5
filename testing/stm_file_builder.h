// Writes Scream Tracker 2 (STM) files from raw cells and samples given in
// code: fixtures of the music tests and fuzzing seeds.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace pellora::test {

struct StmFileSample {
  std::string name;            // up to 12 bytes
  std::vector<int8_t> data;
  uint16_t loopStart = 0;
  uint16_t loopEnd = 0xFFFF;   // 0xFFFF (or 0): no loop
  uint8_t volume = 64;
  uint16_t c4Speed = 8448;
};

class StmFileBuilder {
 public:
  std::string title;
  uint8_t tempo = 0x60;  // speed in the high nibble
  // Stored as given, then 99 up to 128 entries unless `terminate` is off
  // (the rest is then filled with 0).
  std::vector<uint8_t> orders;
  bool terminate = true;
  std::vector<StmFileSample> samples;  // up to 31
  // Whether each sample header records where its data is (paragraphs).
  bool recordPositions = true;
  int patternCount = 0;  // by default 1 + the highest pattern given cells

  // The four bytes of a cell (empty: FF 01 80 00: no note, no instrument,
  // volume 65 = none, no command).
  std::array<uint8_t, 4>& Cell(int pattern, int row, int channel);
  // A note cell: octave and semitone, instrument (1-based), volume (65 none),
  // command and parameter.
  static std::array<uint8_t, 4> Note(int octave, int semitone, int instrument, int volume = 65, int command = 0,
                                     int parameter = 0);
  std::string Build() const;

 private:
  std::map<int, std::map<std::pair<int, int>, std::array<uint8_t, 4>>> cells_;
};

}  // namespace pellora::test
