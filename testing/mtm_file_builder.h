// Writes MultiTracker (MTM) files from tracks, patterns and samples given
// in code: fixtures of the music tests and fuzzing seeds.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pellora::test {

struct MtmFileRow {
  uint8_t note = 0;        // 0 = none
  uint8_t instrument = 0;  // 1-based, 0 = none
  uint8_t effect = 0;
  uint8_t parameter = 0;
};

struct MtmFileSample {
  std::string name;
  std::vector<int8_t> data{};     // stored unsigned
  std::vector<int16_t> data16{};  // 16-bit frames (stored unsigned), used instead when not empty
  uint32_t loopStart = 0;       // frames
  uint32_t loopEnd = 0;         // frames
  uint8_t finetune = 0;
  uint8_t volume = 64;
};

class MtmFileBuilder {
 public:
  explicit MtmFileBuilder(int channels = 4);

  std::string title;
  int channels;
  std::array<uint8_t, 32> pans{};  // 0..15
  std::vector<uint8_t> orders;
  std::vector<MtmFileSample> samples;
  // Track number of each channel slot of each pattern (0 = the empty track).
  std::vector<std::array<uint16_t, 32>> patterns;
  std::string comment;

  // Adds a stored track (rows beyond those given are empty); returns its
  // number, from 1.
  int AddTrack(const std::vector<MtmFileRow>& rows);
  std::string Build() const;

 private:
  std::vector<std::vector<MtmFileRow>> tracks_;
};

}  // namespace pellora::test
