// Rendering tracker songs through the module player's own path (loading,
// engine, mixer, blocks of ten ticks, as `pellora modrender` does) at
// 44100 Hz, 16-bit stereo, on one core. A 16-channel XM and S3M must
// render at least 600 times faster than they play, a 32-channel XM 400
// times; the song's own length is the baseline, the time the process's
// processor time.
#include <cstdio>
#include <string>

#include "bench/timing.h"
#include "music/mod_render.h"
#include "platform/headless/headless_backend.h"
#include "platform/os/file.h"
#include "testing/mod_file_builder.h"
#include "testing/s3m_file_builder.h"
#include "testing/xm_file_builder.h"

namespace {

using namespace pellora;

constexpr int kPatterns = 8;

// Every channel busy all the time: a note every four rows on looped
// samples of several pitches, with vibrato, volume slides and arpeggios.
std::string XmSong(int channels) {
  test::XmFileBuilder b(channels);
  b.title = "benchmark";
  for (int i = 0; i < 4; ++i) {
    test::XmFileSample s{"loop", test::SineWave(size_t(2048 + 512 * i), 16 + i, 100 - 10 * i)};
    s.loopType = 1;
    s.loopStart = 256;
    s.loopLength = uint32_t(2048 + 512 * i - 256);
    b.instruments.push_back({"instrument", {s}});
  }
  for (int p = 0; p < kPatterns; ++p) {
    b.orders.push_back(uint8_t(p));
    for (int row = 0; row < 64; ++row)
      for (int k = 0; k < channels; ++k) {
        test::XmFileCell& c = b.Cell(p, row, k);
        if ((row + k) % 4 == 0) {
          c.note = uint8_t(37 + (row + 3 * k + p) % 36);
          c.instrument = uint8_t(1 + (k + p) % 4);
          c.volume = uint8_t(0x30 + (k % 4) * 8);
        }
        static const uint8_t kEffects[4][2] = {{0x4, 0x46}, {0xA, 0x01}, {0x0, 0x37}, {0x0, 0x00}};
        c.effect = kEffects[(row / 4 + k) % 4][0];
        c.parameter = kEffects[(row / 4 + k) % 4][1];
      }
  }
  return b.Build();
}

std::string S3mSong(int channels) {
  test::S3mFileBuilder b(channels);
  b.title = "benchmark";
  for (int i = 0; i < 4; ++i) {
    test::S3mFileSample s{"loop", test::SineWave(size_t(2048 + 512 * i), 16 + i, 100 - 10 * i)};
    s.looped = true;
    s.loopStart = 256;
    s.loopEnd = uint32_t(2048 + 512 * i);
    b.samples.push_back(s);
  }
  for (int p = 0; p < kPatterns; ++p) {
    b.orders.push_back(uint8_t(p));
    for (int row = 0; row < 64; ++row)
      for (int k = 0; k < channels; ++k) {
        test::S3mFileCell c;
        if ((row + k) % 4 == 0) {
          int note = (row + 3 * k + p) % 36;
          c.note = uint8_t(((3 + note / 12) << 4) | (note % 12));
          c.instrument = uint8_t(1 + (k + p) % 4);
          c.volume = uint8_t(32 + (k % 4) * 8);
        }
        static const uint8_t kCommands[4][2] = {{8, 0x46}, {4, 0x01}, {10, 0x37}, {0, 0x00}};
        c.command = kCommands[(row / 4 + k) % 4][0];
        c.info = kCommands[(row / 4 + k) % 4][1];
        b.Add(p, row, k, c);
      }
  }
  return b.Build();
}

struct Measure {
  double seconds = 0;  // wall time of one render
  int songSeconds = 0;
  bool ok = false;
};

Measure Render(const std::string& path) {
  Measure m;
  m.seconds = bench::MedianCpuSeconds(5, [&] {
    size_t bytes = 0;
    ModuleRenderResult r =
        RenderModule(path, {}, [&](const WaveFormat&, const uint8_t*, size_t size) {
          bytes += size;
          return true;
        });
    m.ok = r.ok && bytes > 0;
    m.songSeconds = r.duration;
  });
  return m;
}

bool Run(const char* what, const std::string& bytes, double target) {
  std::string path = CreateUniqueTempFile(GetTempDirectory(), "bench");
  {
    CFile file;
    if (!file.Open(path, CFile::Mode::CreateWrite) || !WriteInPieces(file, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())) return false;
  }
  Measure m = Render(path);
  DeleteFileNormal(path);
  if (!m.ok) {
    std::printf("%s did not render\n", what);
    return false;
  }
  std::printf("%s: %d s of song rendered in %.1f ms\n", what, m.songSeconds, m.seconds * 1e3);
  return bench::Report(what, m.songSeconds / m.seconds, target, "x rt", false);
}

}  // namespace

int main() {
  pellora::SetDefaultBackend(&pellora::HeadlessBackend::CreateDefault);
  bool ok = Run("16-channel XM, times real time", XmSong(16), 600);
  ok &= Run("16-channel S3M, times real time", S3mSong(16), 600);
  ok &= Run("32-channel XM, times real time", XmSong(32), 400);
  return ok ? 0 : 1;
}
