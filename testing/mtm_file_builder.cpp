#include "testing/mtm_file_builder.h"

#include <algorithm>

#include "testing/file_bytes.h"

namespace pellora::test {

MtmFileBuilder::MtmFileBuilder(int channels) : channels(channels) {
  for (size_t k = 0; k < pans.size(); ++k) pans[k] = k % 2 == 0 ? 4 : 11;
}

int MtmFileBuilder::AddTrack(const std::vector<MtmFileRow>& rows) {
  tracks_.push_back(rows);
  return int(tracks_.size());
}

std::string MtmFileBuilder::Build() const {
  std::string out = "MTM";
  PutU8(out, 0x10);
  PutText(out, title, 20);
  PutU16LE(out, uint32_t(tracks_.size()));
  PutU8(out, uint32_t(std::max<size_t>(patterns.size(), 1) - 1));
  PutU8(out, uint32_t(std::max<size_t>(orders.size(), 1) - 1));
  PutU16LE(out, uint32_t(comment.size()));
  PutU8(out, uint32_t(samples.size()));
  PutU8(out, 0);   // attributes
  PutU8(out, 64);  // rows per track
  PutU8(out, uint32_t(channels));
  out.append(pans.begin(), pans.end());
  for (const MtmFileSample& s : samples) {
    uint32_t bytesPerFrame = s.data16.empty() ? 1 : 2;
    PutText(out, s.name, 22);
    PutU32LE(out, uint32_t(s.data16.empty() ? s.data.size() : 2 * s.data16.size()));
    PutU32LE(out, s.loopStart * bytesPerFrame);
    PutU32LE(out, s.loopEnd * bytesPerFrame);
    PutU8(out, s.finetune);
    PutU8(out, s.volume);
    PutU8(out, s.data16.empty() ? 0 : 1);
  }
  std::string table(orders.begin(), orders.end());
  table.resize(128, '\0');
  out += table;
  for (const std::vector<MtmFileRow>& track : tracks_) {
    for (size_t r = 0; r < 64; ++r) {
      MtmFileRow row = r < track.size() ? track[r] : MtmFileRow{};
      PutU8(out, uint32_t((row.note << 2) | (row.instrument >> 4)));
      PutU8(out, uint32_t(((row.instrument & 15) << 4) | (row.effect & 15)));
      PutU8(out, row.parameter);
    }
  }
  std::vector<std::array<uint16_t, 32>> table32 = patterns;
  if (table32.empty()) table32.push_back({});
  for (const auto& pattern : table32)
    for (uint16_t t : pattern) PutU16LE(out, t);
  out += comment;
  for (const MtmFileSample& s : samples) {
    if (s.data16.empty()) {
      out += UnsignedBytes(s.data);
    } else {
      for (int16_t v : s.data16) PutU16LE(out, uint16_t(v) ^ 0x8000);
    }
  }
  return out;
}

}  // namespace pellora::test
