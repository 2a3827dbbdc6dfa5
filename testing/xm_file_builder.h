// Writes FastTracker II (XM) files from cells and instruments given in
// code: fixtures of the music tests, benchmark songs and fuzzing seeds.
// Version 0x0104 files store each pattern, then each instrument with its
// sample data; version 0x0102 files store the instruments' headers, then
// the patterns, then all sample data.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace pellora::test {

struct XmFileCell {
  uint8_t note = 0;  // 1 = C-0, 49 = C-4, 97 = key off
  uint8_t instrument = 0;
  uint8_t volume = 0;  // volume column: 0x10..0x50 set volume 0..64
  uint8_t effect = 0;
  uint8_t parameter = 0;
};

struct XmFileSample {
  std::string name;
  std::vector<int8_t> data{};     // 8-bit frames
  std::vector<int16_t> data16{};  // 16-bit frames, used instead when not empty
  uint8_t loopType = 0;         // 0 none, 1 forward, 2 ping-pong
  uint32_t loopStart = 0;       // frames
  uint32_t loopLength = 0;      // frames
  uint8_t volume = 64;
  int8_t finetune = 0;          // 1/128 semitone
  int8_t relativeNote = 0;
};

struct XmFileInstrument {
  std::string name;
  std::vector<XmFileSample> samples;
};

class XmFileBuilder {
 public:
  explicit XmFileBuilder(int channels = 4) : channels(channels) {}

  std::string title;
  std::string tracker = "Pellora tests";
  uint16_t version = 0x0104;
  int channels;
  uint16_t speed = 6;
  uint16_t bpm = 125;
  std::vector<uint8_t> orders;
  std::vector<XmFileInstrument> instruments;
  // Header sizes as stored; the writer pads or cuts to them.
  uint32_t headerSize = 276;            // from offset 60: 20 bytes of fields and the order table
  uint32_t instrumentHeaderSize = 263;  // of instruments with samples (29 without)
  uint32_t sampleHeaderSize = 40;
  uint32_t patternHeaderSize = 9;       // 8 in version 0x0102 files

  // A cell, growing the pattern list as needed (64 rows each by default).
  XmFileCell& Cell(int pattern, int row, int channel);
  void SetRows(int pattern, int rows);
  // Stores the pattern with a packed size of 0 (an empty pattern).
  void LeaveEmpty(int pattern);
  std::string Build() const;

 private:
  struct Pattern {
    int rows = 64;
    bool empty = false;
    std::map<std::pair<int, int>, XmFileCell> cells;  // (row, channel)
  };
  Pattern& At(int pattern);
  std::string PackedPattern(const Pattern& pattern) const;
  std::string InstrumentHeaders(const XmFileInstrument& instrument) const;
  std::vector<Pattern> patterns_;
};

}  // namespace pellora::test
