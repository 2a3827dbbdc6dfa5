// pellora modrender's path (engine, mixer, blocks of ten ticks through the
// window messages, WAV file) at 44100 Hz 16-bit stereo must run at 2000
// times real time or faster for a 4-channel MOD and 1000 times for an
// 8-channel song, on one core. The baseline is the song's own length; the
// time is the process's processor time, so that other work on the machine
// does not count.
#include <cstdio>

#include "bench/module_song.h"
#include "bench/timing.h"
#include "music/mod_render.h"
#include "platform/headless/headless_backend.h"
#include "platform/os/file.h"
#include "tools/lib/wav_writer.h"

namespace {

using namespace pellora;

struct TempFile {
  TempFile() : path(CreateUniqueTempFile(GetTempDirectory(), "benchmod")) {}
  ~TempFile() { DeleteFileNormal(path); }
  std::string path;
};

// Renders the module to a WAV file as `pellora modrender` does; the song's
// length in seconds.
double RenderToWav(const std::string& module, const std::string& wav, bool toFile) {
  tools::WavWriter writer(wav);
  bool started = false;
  ModuleRenderResult r = RenderModule(module, {}, [&](const WaveFormat& f, const uint8_t* d, size_t n) {
    if (!toFile) return true;
    if (!started) started = writer.Start(f);
    return writer.Append(d, n);
  });
  if (toFile) writer.Commit();
  return r.ok ? r.duration : 0;
}

bool Measure(const char* what, int channels, int patterns, double target) {
  TempFile module, wav;
  {
    CFile f;
    std::string bytes = bench::BusySong(channels, patterns);
    if (!f.Open(module.path, CFile::Mode::CreateWrite) || !f.Write(bytes.data(), bytes.size())) return false;
  }
  double length = 0;
  double withFile = bench::MedianCpuSeconds(7, [&] { length = RenderToWav(module.path, wav.path, true); });
  double mixingOnly = bench::MedianCpuSeconds(7, [&] { RenderToWav(module.path, wav.path, false); });
  std::printf("%s: %.0f s of song rendered in %.1f ms (%.1f ms without the WAV file)\n", what, length,
              withFile * 1e3, mixingOnly * 1e3);
  std::string label = std::string(what) + " speed, times real time";
  return bench::Report(label.c_str(), length / withFile, target, "x", false);
}

}  // namespace

int main() {
  pellora::SetDefaultBackend(&pellora::HeadlessBackend::CreateDefault);
  bool ok = Measure("4-channel MOD", 4, 24, 2000);
  ok &= Measure("8-channel MOD", 8, 24, 1000);
  return ok ? 0 : 1;
}
