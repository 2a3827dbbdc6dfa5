// Writes Scream Tracker 3 (S3M) files from cells and samples given in
// code: fixtures of the music tests, benchmark songs and fuzzing seeds.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace pellora::test {

// One packed cell; a field is stored when it differs from its "absent"
// value (255 for note and volume, 0 for instrument and command).
struct S3mFileCell {
  uint8_t note = 255;       // high nibble octave, low nibble semitone; 254 = cut
  uint8_t instrument = 0;   // 1-based
  uint8_t volume = 255;
  uint8_t command = 0;      // 1 = A .. 26 = Z
  uint8_t info = 0;
};

struct S3mFileSample {
  std::string name;
  std::vector<int8_t> data{};     // 8-bit frames
  std::vector<int16_t> data16{};  // 16-bit frames, used instead when not empty
  uint8_t volume = 64;
  uint32_t c4Speed = 8363;
  bool looped = false;
  uint32_t loopStart = 0;
  uint32_t loopEnd = 0;
  bool scrs = true;  // the "SCRS" tag of a sampled instrument
};

class S3mFileBuilder {
 public:
  // `channels` file channels with the settings 0, 8, 1, 9, 2, 10 ...; the
  // others are unused (255).
  explicit S3mFileBuilder(int channels = 4);

  std::string title;
  uint8_t speed = 6;
  uint8_t tempo = 125;
  uint16_t sampleFormat = 2;  // 1 = signed data, 2 = unsigned
  std::array<uint8_t, 32> channelSettings{};
  std::vector<uint8_t> orders;  // stored as given (254 and 255 included)
  std::vector<S3mFileSample> samples;
  // Patterns whose parapointer is written as 0 (no pattern stored).
  std::vector<int> missingPatterns;
  // Patterns stored; by default 1 + the highest pattern given cells.
  int patternCount = 0;

  // Adds a cell of file channel `channel` to a row; cells of a row are
  // stored in the order they are added.
  void Add(int pattern, int row, int channel, const S3mFileCell& cell);
  std::string Build() const;

 private:
  // Per pattern, per row, the (channel, cell) pairs.
  std::map<int, std::map<int, std::vector<std::pair<int, S3mFileCell>>>> cells_;
};

}  // namespace pellora::test
