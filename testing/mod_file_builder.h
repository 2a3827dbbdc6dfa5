// Writes Amiga-style module files (31-sample with a signature, or the old
// 15-sample layout) from cells and samples given in code: the fixtures of
// the music tests, the benchmark songs and the fuzzing seeds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pellora::test {

struct ModFileCell {
  uint16_t period = 0;  // Amiga period, 0 = no note
  uint8_t sample = 0;   // 1-based, 0 = none
  uint8_t effect = 0;
  uint8_t parameter = 0;
};

struct ModFileSample {
  std::string name;           // up to 22 bytes
  std::vector<int8_t> data;   // an even number of bytes
  uint8_t finetune = 0;
  uint8_t volume = 64;
  uint16_t repeatStart = 0;   // as stored: words (31 samples) or bytes (15)
  uint16_t repeatLength = 1;  // words; 2 or more loops
};

class ModFileBuilder {
 public:
  // signature: four bytes at 1080, such as "M.K." or "8CHN"; empty for the
  // 15-sample layout (four channels).
  explicit ModFileBuilder(std::string signature = "M.K.", int channels = 4);

  std::string title;                 // up to 20 bytes
  std::vector<ModFileSample> samples;  // up to 31 (15)
  std::vector<uint8_t> orders;       // the song; the pattern count follows from it
  uint8_t songLengthOverride = 0;    // when not 0, stored instead of orders.size()

  ModFileCell& Cell(int pattern, int row, int channel);
  std::string Build() const;

 private:
  std::string signature_;
  int channels_;
  std::vector<std::vector<ModFileCell>> patterns_;
};

// Amiga period of note index i of the five-octave table (i = 0 is the
// lowest C; note index 24 is period 428).
uint16_t AmigaPeriod(int noteIndex);
// One period of a square wave, `length` bytes, of the given amplitude.
std::vector<int8_t> SquareWave(size_t length, int8_t amplitude);
// A sine of `cycles` periods in `length` bytes.
std::vector<int8_t> SineWave(size_t length, int cycles, int amplitude);

}  // namespace pellora::test
