#include "testing/composer669_file_builder.h"

#include "testing/file_bytes.h"

namespace pellora::test {

std::array<uint8_t, 3>& Composer669FileBuilder::Cell(int pattern, int row, int channel) {
  auto [it, added] = cells_[pattern].try_emplace({row, channel}, std::array<uint8_t, 3>{0xFE, 0x00, 0xFF});
  return it->second;
}

std::array<uint8_t, 3> Composer669FileBuilder::Note(int note, int instrument, int volume) {
  return {uint8_t((note << 2) | ((instrument >> 4) & 3)), uint8_t(((instrument & 15) << 4) | (volume & 15)), 0xFF};
}

std::string Composer669FileBuilder::Build() const {
  int patterns = patternCount;
  if (patterns == 0 && !cells_.empty()) patterns = cells_.rbegin()->first + 1;
  std::string out = extended ? "JN" : "if";
  PutText(out, message, 108);
  PutU8(out, uint32_t(samples.size()));
  PutU8(out, uint32_t(patterns));
  PutU8(out, 0);  // loop order
  std::string table(orders.begin(), orders.end());
  table.resize(128, char(0xFF));
  out += table;
  out += std::string(128, char(4));  // tempo list
  for (int p = 0; p < 128; ++p) {
    auto it = breaks.find(p);
    PutU8(out, it == breaks.end() ? 63 : it->second);
  }
  for (const Composer669Sample& s : samples) {
    PutText(out, s.name, 13);
    PutU32LE(out, uint32_t(s.data.size()));
    PutU32LE(out, s.loopStart);
    PutU32LE(out, s.loopEnd);
  }
  for (int p = 0; p < patterns; ++p) {
    auto pattern = cells_.find(p);
    for (int row = 0; row < 64; ++row)
      for (int k = 0; k < 8; ++k) {
        std::array<uint8_t, 3> cell{0xFE, 0x00, 0xFF};
        if (pattern != cells_.end()) {
          auto it = pattern->second.find({row, k});
          if (it != pattern->second.end()) cell = it->second;
        }
        out.append(cell.begin(), cell.end());
      }
  }
  for (const Composer669Sample& s : samples) out += UnsignedBytes(s.data);
  return out;
}

}  // namespace pellora::test
