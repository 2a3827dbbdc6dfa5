#include "testing/s3m_file_builder.h"

#include <algorithm>

#include "testing/file_bytes.h"

namespace pellora::test {

S3mFileBuilder::S3mFileBuilder(int channels) {
  channelSettings.fill(255);
  for (int i = 0; i < channels && i < 16; ++i) channelSettings[size_t(i)] = uint8_t(i % 2 == 0 ? i / 2 : 8 + i / 2);
}

void S3mFileBuilder::Add(int pattern, int row, int channel, const S3mFileCell& cell) {
  cells_[pattern][row].emplace_back(channel, cell);
}

namespace {

std::string PackPattern(const std::map<int, std::vector<std::pair<int, S3mFileCell>>>& rows) {
  std::string data;
  for (int row = 0; row < 64; ++row) {
    auto it = rows.find(row);
    if (it != rows.end()) {
      for (const auto& [channel, c] : it->second) {
        bool noteOrInstrument = c.note != 255 || c.instrument != 0;
        uint8_t flag = uint8_t((channel & 31) | (noteOrInstrument ? 0x20 : 0) | (c.volume != 255 ? 0x40 : 0) |
                               (c.command != 0 ? 0x80 : 0));
        PutU8(data, flag);
        if (flag & 0x20) {
          PutU8(data, c.note);
          PutU8(data, c.instrument);
        }
        if (flag & 0x40) PutU8(data, c.volume);
        if (flag & 0x80) {
          PutU8(data, c.command);
          PutU8(data, c.info);
        }
      }
    }
    PutU8(data, 0);
  }
  return data;
}

std::string SampleBytes(const S3mFileSample& s, bool signedData) {
  if (s.data16.empty()) return signedData ? SignedBytes(s.data) : UnsignedBytes(s.data);
  std::string out;
  for (int16_t v : s.data16) PutU16LE(out, uint16_t(v) ^ (signedData ? 0 : 0x8000));
  return out;
}

}  // namespace

std::string S3mFileBuilder::Build() const {
  int patterns = patternCount;
  if (patterns == 0 && !cells_.empty()) patterns = cells_.rbegin()->first + 1;
  std::string out;
  PutText(out, title, 28);
  PutU8(out, 0x1A);
  PutU8(out, 16);
  PutU16LE(out, 0);
  PutU16LE(out, uint32_t(orders.size()));
  PutU16LE(out, uint32_t(samples.size()));
  PutU16LE(out, uint32_t(patterns));
  PutU16LE(out, 0);       // flags
  PutU16LE(out, 0x1320);  // tracker version
  PutU16LE(out, sampleFormat);
  out += "SCRM";
  PutU8(out, 64);  // global volume
  PutU8(out, speed);
  PutU8(out, tempo);
  PutU8(out, 0xB0);  // master volume, stereo
  out.resize(64, '\0');
  out.append(channelSettings.begin(), channelSettings.end());
  out.append(orders.begin(), orders.end());
  size_t pointers = out.size();
  out.resize(out.size() + 2 * (samples.size() + size_t(patterns)), '\0');
  PadTo16(out);

  // Instrument headers, then patterns, then sample data.
  std::vector<size_t> headerAt;
  for (size_t i = 0; i < samples.size(); ++i) {
    headerAt.push_back(out.size());
    PatchU16LE(out, pointers + 2 * i, uint32_t(out.size() / 16));
    const S3mFileSample& s = samples[i];
    uint32_t frames = uint32_t(s.data16.empty() ? s.data.size() : s.data16.size());
    PutU8(out, 1);
    out.resize(out.size() + 15, '\0');  // file name and data position, patched below
    PutU32LE(out, frames);
    PutU32LE(out, s.loopStart);
    PutU32LE(out, s.loopEnd);
    PutU8(out, s.volume);
    PutU8(out, 0);
    PutU8(out, 0);  // not packed
    PutU8(out, (s.looped ? 1 : 0) | (s.data16.empty() ? 0 : 4));
    PutU32LE(out, s.c4Speed);
    out.resize(out.size() + 12, '\0');
    PutText(out, s.name, 28);
    out += s.scrs ? "SCRS" : "SCRI";
  }
  for (int p = 0; p < patterns; ++p) {
    if (std::find(missingPatterns.begin(), missingPatterns.end(), p) != missingPatterns.end()) continue;
    PadTo16(out);
    PatchU16LE(out, pointers + 2 * (samples.size() + size_t(p)), uint32_t(out.size() / 16));
    auto it = cells_.find(p);
    std::string data = PackPattern(it == cells_.end() ? decltype(it->second){} : it->second);
    PutU16LE(out, uint32_t(data.size() + 2));
    out += data;
  }
  for (size_t i = 0; i < samples.size(); ++i) {
    PadTo16(out);
    uint32_t paragraph = uint32_t(out.size() / 16);
    out[headerAt[i] + 13] = char(paragraph >> 16);
    PatchU16LE(out, headerAt[i] + 14, paragraph & 0xFFFF);
    out += SampleBytes(samples[i], sampleFormat == 1);
  }
  return out;
}

}  // namespace pellora::test
