// Writes Composer 669 and Extended 669 files from cells and samples given
// in code: fixtures of the music tests and fuzzing seeds.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace pellora::test {

struct Composer669Sample {
  std::string name;            // up to 13 bytes
  std::vector<int8_t> data;    // stored unsigned
  uint32_t loopStart = 0;
  uint32_t loopEnd = 0xFFFFF;  // 0xFFFFF: no loop
};

class Composer669FileBuilder {
 public:
  bool extended = false;  // "JN" instead of "if"
  std::string message;
  std::vector<uint8_t> orders;  // 255 after them, up to 128 entries
  std::vector<Composer669Sample> samples;
  // Break row of each pattern (63 when not given).
  std::map<int, uint8_t> breaks;
  int patternCount = 0;  // by default 1 + the highest pattern given cells

  // The three bytes of a cell (empty: FE 00 FF).
  std::array<uint8_t, 3>& Cell(int pattern, int row, int channel);
  // A note cell: note field (0..61), instrument (from 0), volume 0..15.
  static std::array<uint8_t, 3> Note(int note, int instrument, int volume);
  std::string Build() const;

 private:
  std::map<int, std::map<std::pair<int, int>, std::array<uint8_t, 3>>> cells_;
};

}  // namespace pellora::test
