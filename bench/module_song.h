// The songs of the music benchmarks, made in code: every channel busy on
// every row with looped samples and the common effects, so that the
// mixer has all its voices to mix all the time.
#pragma once

#include <string>

#include "testing/mod_file_builder.h"

namespace pellora::bench {

// channels: 4 or 8; patterns of 64 rows at speed 6, 125 BPM (7.68 s each);
// sampleBytes: the size of each of the 31 samples.
inline std::string BusySong(int channels, int patterns, size_t sampleBytes = 8192) {
  test::ModFileBuilder b(channels == 4 ? "M.K." : "8CHN", channels);
  b.title = "benchmark";
  for (int i = 0; i < 31; ++i) {
    test::ModFileSample s{"s" + std::to_string(i), test::SineWave(sampleBytes, 3 + i, 90 + i)};
    s.repeatStart = uint16_t(sampleBytes / 8);
    s.repeatLength = uint16_t(sampleBytes / 4);
    b.samples.push_back(s);
  }
  const uint8_t effects[][2] = {{0x0, 0x37}, {0x4, 0x46}, {0xA, 0x02}, {0x0, 0}, {0xC, 0x30}, {0x1, 0x01}};
  for (int p = 0; p < patterns; ++p) {
    b.orders.push_back(uint8_t(p));
    for (int r = 0; r < 64; ++r)
      for (int k = 0; k < channels; ++k) {
        const uint8_t* e = effects[(r + k + p) % 6];
        bool note = (r + k) % 4 == 0;
        b.Cell(p, r, k) = {note ? test::AmigaPeriod(12 + (r * 7 + k * 5 + p) % 36) : uint16_t(0),
                           note ? uint8_t(1 + (r + k * 3 + p) % 31) : uint8_t(0), e[0], e[1]};
      }
  }
  return b.Build();
}

}  // namespace pellora::bench
