#include "testing/stm_file_builder.h"

#include "testing/file_bytes.h"

namespace pellora::test {

std::array<uint8_t, 4>& StmFileBuilder::Cell(int pattern, int row, int channel) {
  auto [it, added] = cells_[pattern].try_emplace({row, channel}, std::array<uint8_t, 4>{0xFF, 0x01, 0x80, 0x00});
  return it->second;
}

std::array<uint8_t, 4> StmFileBuilder::Note(int octave, int semitone, int instrument, int volume, int command,
                                            int parameter) {
  return {uint8_t((octave << 4) | semitone), uint8_t((instrument << 3) | (volume & 7)),
          uint8_t(((volume >> 3) << 4) | (command & 15)), uint8_t(parameter)};
}

std::string StmFileBuilder::Build() const {
  int patterns = patternCount;
  if (patterns == 0 && !cells_.empty()) patterns = cells_.rbegin()->first + 1;
  std::string out;
  PutText(out, title, 20);
  out += "!Scream!";
  PutU8(out, 0x1A);
  PutU8(out, 2);   // song
  PutU8(out, 2);   // version 2.21
  PutU8(out, 21);
  PutU8(out, tempo);
  PutU8(out, uint32_t(patterns));
  PutU8(out, 64);  // global volume
  out.resize(48, '\0');
  for (int i = 0; i < 31; ++i) {
    StmFileSample s = size_t(i) < samples.size() ? samples[size_t(i)] : StmFileSample{"", {}, 0, 0xFFFF, 0, 8448};
    std::string h;
    PutText(h, s.name, 12);
    PutU8(h, 0);
    PutU8(h, 0);
    PutU16LE(h, 0);  // data position, patched below
    PutU16LE(h, uint32_t(s.data.size()));
    PutU16LE(h, s.loopStart);
    PutU16LE(h, s.loopEnd);
    PutU8(h, s.volume);
    PutU8(h, 0);
    PutU16LE(h, s.c4Speed);
    h.resize(32, '\0');
    out += h;
  }
  std::string table(orders.begin(), orders.end());
  table.resize(128, char(terminate ? 99 : 0));
  out += table;
  for (int p = 0; p < patterns; ++p) {
    auto pattern = cells_.find(p);
    for (int row = 0; row < 64; ++row)
      for (int k = 0; k < 4; ++k) {
        std::array<uint8_t, 4> cell{0xFF, 0x01, 0x80, 0x00};
        if (pattern != cells_.end()) {
          auto it = pattern->second.find({row, k});
          if (it != pattern->second.end()) cell = it->second;
        }
        out.append(cell.begin(), cell.end());
      }
  }
  for (size_t i = 0; i < samples.size() && i < 31; ++i) {
    const StmFileSample& s = samples[i];
    if (s.data.empty() || s.volume == 0) continue;
    PadTo16(out);
    if (recordPositions) PatchU16LE(out, 48 + 32 * i + 14, uint32_t(out.size() / 16));
    out += SignedBytes(s.data);
  }
  return out;
}

}  // namespace pellora::test
