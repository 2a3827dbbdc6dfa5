#include "tests/support/sound_files.h"

#include <cmath>
#include <cstdint>
#include <numbers>

#include "music/mod_render.h"
#include "testing/mod_file_builder.h"
#include "tests/support/test_support.h"

namespace pellora::test {

std::string ToneWav(double seconds, int frequency, uint32_t rate) {
  uint32_t frames = uint32_t(seconds * rate);
  Bytes b;
  b.Raw("RIFF").DWord(36 + frames * 2).Raw("WAVE");
  b.Raw("fmt ").DWord(16).Word(1).Word(1).DWord(rate).DWord(rate * 2).Word(2).Word(16);
  b.Raw("data").DWord(frames * 2);
  for (uint32_t i = 0; i < frames; ++i)
    b.Word(uint16_t(int16_t(9000 * std::sin(2 * std::numbers::pi * frequency * i / rate))));
  return b.str();
}

namespace {

std::string Vlq(uint32_t value) {
  std::string out(1, char(value & 0x7F));
  while (value >>= 7) out.insert(out.begin(), char(0x80 | (value & 0x7F)));
  return out;
}

}  // namespace

std::string NoteMidi(double seconds) {
  uint32_t ticks = uint32_t(seconds * 192);  // 96 ticks = half a second
  std::string track = Vlq(0) + std::string("\x90\x3C\x64", 3) + Vlq(ticks) + std::string("\x80\x3C\x40", 3) +
                      Vlq(0) + std::string("\xFF\x2F\x00", 3);
  // Big-endian sizes: the header's 6 bytes (format 0, one track, 96
  // ticks a quarter), then the track's length.
  std::string header = std::string("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60", 14);
  std::string length{char(track.size() >> 24), char(track.size() >> 16), char(track.size() >> 8),
                     char(track.size())};
  return header + "MTrk" + length + track;
}

std::string SilentMp3Frame(int bitrateIndex) {
  static const int kKbps[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
  size_t length = size_t(144 * kKbps[bitrateIndex] * 1000 / 44100);
  std::string frame(length, '\0');
  frame[0] = char(0xFF);
  frame[1] = char(0xFB);  // MPEG-1, layer III, no checksum
  frame[2] = char(bitrateIndex << 4);  // 44.1 kHz, no padding
  frame[3] = char(0xC0);               // mono
  return frame;
}

std::string SilentMp3(int frames) {
  std::string out;
  std::string frame = SilentMp3Frame();
  for (int i = 0; i < frames; ++i) out += frame;
  return out;
}

std::string ShortModule(int rows) {
  test::ModFileBuilder mod;
  mod.title = "test tone";
  test::ModFileSample square;
  square.name = "square";
  square.data = test::SquareWave(64, 100);
  square.repeatStart = 0;
  square.repeatLength = 32;
  mod.samples.push_back(square);
  mod.orders = {0};
  mod.Cell(0, 0, 0) = {test::AmigaPeriod(24), 1, 0, 0};
  // The pattern breaks off after `rows` rows, which ends the one-order song.
  mod.Cell(0, rows - 1, 1) = {0, 0, 0xD, 0};
  return mod.Build();
}


std::string WriteModule(const TempDir& dir, const std::string& name, const std::string& bytes) {
  std::string path = dir.File(name);
  WriteFile(path, bytes);
  return path;
}

std::string RenderToMemory(const std::string& path, int* duration, uint32_t rate, uint16_t channels,
                           uint16_t bits) {
  std::string pcm;
  ModuleRenderResult r = RenderModule(
      path, {rate, channels, bits}, [&](const WaveFormat&, const uint8_t* data, size_t size) {
        pcm.append(reinterpret_cast<const char*>(data), size);
        return true;
      });
  if (duration) *duration = r.ok ? r.duration : -1;
  return pcm;
}

double Rms16(const std::string& pcm) {
  size_t n = pcm.size() / 2;
  if (n == 0) return 0;
  double sum = 0;
  for (size_t i = 0; i < n; ++i) {
    int16_t v = int16_t(uint8_t(pcm[2 * i]) | (uint8_t(pcm[2 * i + 1]) << 8));
    sum += double(v) * v;
  }
  return std::sqrt(sum / double(n));
}

}  // namespace pellora::test
