#include "testing/xm_file_builder.h"

#include "testing/file_bytes.h"

namespace pellora::test {
namespace {

// Delta-coded sample data as stored.
std::string SampleData(const XmFileSample& s) {
  std::string out;
  if (s.data16.empty()) {
    int8_t previous = 0;
    for (int8_t v : s.data) {
      PutU8(out, uint8_t(v - previous));
      previous = v;
    }
  } else {
    int16_t previous = 0;
    for (int16_t v : s.data16) {
      PutU16LE(out, uint16_t(v - previous));
      previous = v;
    }
  }
  return out;
}

}  // namespace

XmFileBuilder::Pattern& XmFileBuilder::At(int pattern) {
  if (patterns_.size() <= size_t(pattern)) patterns_.resize(size_t(pattern) + 1);
  return patterns_[size_t(pattern)];
}

XmFileCell& XmFileBuilder::Cell(int pattern, int row, int channel) { return At(pattern).cells[{row, channel}]; }

void XmFileBuilder::SetRows(int pattern, int rows) { At(pattern).rows = rows; }

void XmFileBuilder::LeaveEmpty(int pattern) { At(pattern).empty = true; }

std::string XmFileBuilder::PackedPattern(const Pattern& p) const {
  std::string data;
  if (p.empty) return data;
  for (int row = 0; row < p.rows; ++row) {
    for (int k = 0; k < channels; ++k) {
      auto it = p.cells.find({row, k});
      XmFileCell c = it == p.cells.end() ? XmFileCell{} : it->second;
      uint8_t fields[5] = {c.note, c.instrument, c.volume, c.effect, c.parameter};
      bool all = true;
      uint8_t mask = 0x80;
      for (int f = 0; f < 5; ++f) {
        if (fields[f]) mask = uint8_t(mask | (1 << f));
        else all = false;
      }
      // A cell with every field set is stored whole, the others packed.
      if (all) {
        data.append(reinterpret_cast<const char*>(fields), 5);
      } else {
        PutU8(data, mask);
        for (int f = 0; f < 5; ++f)
          if (fields[f]) PutU8(data, fields[f]);
      }
    }
  }
  return data;
}

std::string XmFileBuilder::InstrumentHeaders(const XmFileInstrument& in) const {
  std::string out;
  uint32_t size = in.samples.empty() ? 29 : instrumentHeaderSize;
  PutU32LE(out, size);
  PutText(out, in.name, 22);
  PutU8(out, 0);
  PutU16LE(out, uint32_t(in.samples.size()));
  PutU32LE(out, sampleHeaderSize);
  out.resize(size, '\0');
  for (const XmFileSample& s : in.samples) {
    std::string h;
    uint32_t bytesPerFrame = s.data16.empty() ? 1 : 2;
    PutU32LE(h, uint32_t(s.data16.empty() ? s.data.size() : s.data16.size() * 2));
    PutU32LE(h, s.loopStart * bytesPerFrame);
    PutU32LE(h, s.loopLength * bytesPerFrame);
    PutU8(h, s.volume);
    PutU8(h, uint8_t(s.finetune));
    PutU8(h, s.loopType | (s.data16.empty() ? 0 : 0x10));
    PutU8(h, 128);
    PutU8(h, uint8_t(s.relativeNote));
    PutU8(h, 0);
    PutText(h, s.name, 22);
    h.resize(sampleHeaderSize, '\0');
    out += h;
  }
  return out;
}

std::string XmFileBuilder::Build() const {
  bool patternsFirst = version >= 0x0104;
  std::string out = "Extended Module: ";
  PutText(out, title, 20);
  PutU8(out, 0x1A);
  PutText(out, tracker, 20);
  PutU16LE(out, version);
  PutU32LE(out, headerSize);
  PutU16LE(out, uint32_t(orders.size()));
  PutU16LE(out, 0);  // restart position
  PutU16LE(out, uint32_t(channels));
  PutU16LE(out, uint32_t(patterns_.size()));
  PutU16LE(out, uint32_t(instruments.size()));
  PutU16LE(out, 1);  // linear frequencies
  PutU16LE(out, speed);
  PutU16LE(out, bpm);
  std::string table(orders.begin(), orders.end());
  table.resize(256, '\0');
  out += table;
  out.resize(60 + headerSize, '\0');

  std::string patterns;
  for (const Pattern& p : patterns_) {
    std::string data = PackedPattern(p);
    std::string h;
    PutU32LE(h, patternHeaderSize);
    PutU8(h, 0);
    if (patternsFirst) PutU16LE(h, uint32_t(p.rows));
    else PutU8(h, uint32_t(p.rows - 1));
    PutU16LE(h, uint32_t(data.size()));
    h.resize(patternHeaderSize, '\0');
    patterns += h + data;
  }
  if (patternsFirst) {
    out += patterns;
    for (const XmFileInstrument& in : instruments) {
      out += InstrumentHeaders(in);
      for (const XmFileSample& s : in.samples) out += SampleData(s);
    }
  } else {
    for (const XmFileInstrument& in : instruments) out += InstrumentHeaders(in);
    out += patterns;
    for (const XmFileInstrument& in : instruments)
      for (const XmFileSample& s : in.samples) out += SampleData(s);
  }
  return out;
}

}  // namespace pellora::test
