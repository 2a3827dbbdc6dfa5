// Starting a slide's music from an embedded 8 MB MP3: the bytes written to
// their temporary file in pieces and the file opened and started on the
// media device (the previous one stopped and deleted first), against
// writing the same bytes to a new file and reading them back. The start
// delays the slide's transition, and must cost at most 1.5 times that
// baseline, on the headless device and on the SDL_mixer one (with SDL's
// silent audio driver).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/timing.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/os/file.h"
#include "platform/sdl/sdl_media_device.h"
#include "show/show_sound.h"

namespace {

using namespace pellora;

constexpr size_t kMusicBytes = 8 * 1024 * 1024;

// Silent MPEG-1 layer III frames (mono, 44.1 kHz, 128 kbit/s) filling
// 8 MB: audio a decoder takes, some nine minutes of it.
GlobalBlock Mp3Bytes() {
  GlobalBlock block = GlobalBlock::Allocate(kMusicBytes);
  const size_t frame = 417;
  for (size_t at = 0; at + 4 <= kMusicBytes; at += frame) {
    uint8_t* p = block.data() + at;
    p[0] = 0xFF, p[1] = 0xFB, p[2] = 0x90, p[3] = 0xC0;
  }
  return block;
}

// The headless backend with SDL_mixer's media device.
class MixerBackend : public HeadlessBackend {
 public:
  MixerBackend() : HeadlessBackend(Options{}) {}
  std::unique_ptr<MediaDevice> CreateMediaDevice() override { return CreateSdlMediaDevice(); }
};

}  // namespace

int main() {
  pellora::SetDefaultBackend(&pellora::HeadlessBackend::CreateDefault);
  namespace fs = std::filesystem;
  fs::path folder;
  do folder = fs::temp_directory_path() / ("pellora-bench-sound-" + std::to_string(std::random_device{}()));
  while (!fs::create_directory(folder));
  const std::string tempDirectory = folder.string() + "/";
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  GlobalBlock music = Mp3Bytes();
  const int runs = 15;

  int copy = 0;
  std::vector<uint8_t> back(kMusicBytes);
  double baseline = bench::MedianSeconds(runs, [&] {
    std::string path = tempDirectory + "copy" + std::to_string(copy++) + ".bin";
    CFile out;
    out.Open(path, CFile::Mode::CreateExclusive);
    WriteInPieces(out, music.data(), music.size());
    out.Close();
    CFile in;
    in.Open(path, CFile::Mode::Read);
    in.Read(back.data(), back.size());
  });
  std::printf("write 8 MB to a new file and read it back:           %.2f ms\n", baseline * 1000);

  bool ok = true;
  for (bool mixer : {false, true}) {
    if (mixer) InstallBackend(std::make_unique<MixerBackend>());
    else InstallBackend(std::make_unique<HeadlessBackend>(HeadlessBackend::Options{}));
    bool played = true;
    double start;
    {
      CShowSound sound(nullptr);
      sound.tempDirectory = tempDirectory;
      start = bench::MedianSeconds(runs, [&] {
        sound.StopSound();
        played = sound.PlayEmbeddedSound(music, uint32_t(music.size()), true, "mp3") && sound.mciDeviceId != 0 &&
                 played;
      });
    }
    if (mixer) ReleaseMixerAudio();
    ReleaseBackend();
    const char* device = mixer ? "SDL_mixer device" : "headless device";
    std::printf("music start, embedded 8 MB MP3, %-17s            %.2f ms%s\n", device, start * 1000,
                played ? "" : " (NOT PLAYED)");
    std::string what = std::string("music start / write and read back, ") + device;
    ok = bench::Report(what.c_str(), start / baseline, 1.5, "x") && played && ok;
  }
  fs::remove_all(folder);
  return ok ? 0 : 1;
}
