// Playing a 1 MB module through the player's block cycle must keep the
// process's peak memory under 16 MB. Peak resident size from the kernel's
// process status, before loading and after playing to the end.
#include <cstdio>
#include <fstream>
#include <string>

#include "bench/module_song.h"
#include "bench/timing.h"
#include "music/mod_render.h"
#include "platform/headless/headless_backend.h"
#include "platform/os/file.h"

namespace {

// VmHWM: the peak resident set size so far, in kB.
long PeakKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = -1;
  while (status >> key) {
    if (key == "VmHWM:") {
      status >> value;
      break;
    }
    status.ignore(1 << 12, '\n');
  }
  return value;
}

}  // namespace

int main() {
  pellora::SetDefaultBackend(&pellora::HeadlessBackend::CreateDefault);
  using namespace pellora;
  std::string path = CreateUniqueTempFile(GetTempDirectory(), "benchmem");
  {
    std::string bytes = bench::BusySong(8, 16, 32 * 1024);
    CFile f;
    if (!f.Open(path, CFile::Mode::CreateWrite) || !f.Write(bytes.data(), bytes.size())) return 1;
    std::printf("module of %.2f MB\n", double(bytes.size()) / (1 << 20));
  }
  long before = PeakKilobytes();
  ModuleRenderResult r = RenderModule(path, {}, [](const WaveFormat&, const uint8_t*, size_t) {
    return true;
  });
  long after = PeakKilobytes();
  DeleteFileNormal(path);
  if (!r.ok || before < 0) return 1;
  std::printf("peak resident size: %.1f MB before loading, %.1f MB after playing %d s\n", before / 1024.0,
              after / 1024.0, r.duration);
  return bench::Report("peak memory playing a 1 MB module", after / 1024.0, 16.0, "MB") ? 0 : 1;
}
