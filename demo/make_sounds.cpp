// Composes the demo show's sounds: a four-channel tracker module (lead,
// bass, arpeggio and drums on waveforms drawn here) for the show's music,
// and a bell chime as a WAV file for the slide that waits for its sound.
//
//   pellora-demo-sounds DIR      writes DIR/tune.mod and DIR/chime.wav
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"
#include "testing/mod_file_builder.h"

namespace {

using pellora::test::AmigaPeriod;
using pellora::test::ModFileBuilder;
using pellora::test::ModFileSample;

constexpr double kPi = std::numbers::pi;

// Note indexes: a 32-byte cycle played at index 24 sounds a middle C.
enum Note : int {
  F2 = 5, G2 = 7, A2 = 9, B2 = 11, C3 = 12, D3 = 14, E3 = 16, F3 = 17, G3 = 19, A3 = 21, B3 = 23,
  C4 = 24, D4 = 26, E4 = 28, F4 = 29, G4 = 31, A4 = 33, B4 = 35, C5 = 36, D5 = 38, E5 = 40,
  F5 = 41, G5 = 43, A5 = 45, REST = -1,
};
enum Instrument : uint8_t { LEAD = 1, BASS, ARPEGGIO, KICK, HAT };

int8_t Clip(double v) { return int8_t(std::lround(std::fmax(-127, std::fmin(127, v)))); }

// One looping cycle of `length` bytes drawn by shape(phase in [0, 1)).
template <class Shape>
ModFileSample Cycle(const char* name, size_t length, uint8_t volume, Shape shape) {
  ModFileSample s;
  s.name = name;
  s.volume = volume;
  for (size_t i = 0; i < length; ++i) s.data.push_back(Clip(shape(double(i) / double(length))));
  s.repeatStart = 0;
  s.repeatLength = uint16_t(length / 2);
  return s;
}

// A drum sound played once: `seconds` at the rate of note index 24.
template <class Shape>
ModFileSample Hit(const char* name, double seconds, uint8_t volume, Shape shape) {
  constexpr double kRate = 8287;  // Hz at period 428
  ModFileSample s;
  s.name = name;
  s.volume = volume;
  size_t length = size_t(seconds * kRate) & ~size_t(1);
  for (size_t i = 0; i < length; ++i) s.data.push_back(Clip(shape(double(i) / kRate)));
  return s;
}

struct Bar {
  Note chord[3];       // the arpeggio's notes
  Note bass;           // the root, played with its octave
  Note melody[4];      // a note each four rows
};

// Am, F, C, G, twice over, the melody answering itself the second time.
const Bar kBars[2][4] = {
    {{{A3, C4, E4}, A2, {E5, C5, A4, C5}},
     {{F3, A3, C4}, F2, {A4, C5, F5, E5}},
     {{C4, E4, G4}, C3, {G4, C5, E5, G5}},
     {{G3, B3, D4}, G2, {D5, B4, G4, B4}}},
    {{{A3, C4, E4}, A2, {A5, G5, E5, C5}},
     {{F3, A3, C4}, F2, {F5, E5, C5, A4}},
     {{C4, E4, G4}, C3, {E5, G5, C5, E5}},
     {{G3, B3, D4}, G2, {D5, G4, B4, D5}}},
};

void Put(ModFileBuilder& mod, int pattern, int row, int channel, int note, Instrument instrument) {
  if (note == REST) return;
  mod.Cell(pattern, row, channel) = {AmigaPeriod(note), instrument, 0, 0};
}

std::string ComposeTune() {
  ModFileBuilder mod;
  mod.title = "Pellora demo";
  mod.samples.push_back(Cycle("lead", 32, 44, [](double p) { return 100 * std::sin(2 * kPi * p) + 25 * std::sin(6 * kPi * p); }));
  mod.samples.push_back(Cycle("bass", 32, 40, [](double p) { return p < 0.5 ? 90 : -90; }));
  mod.samples.push_back(Cycle("arpeggio", 32, 22, [](double p) { return 180 * p - 90; }));
  mod.samples.push_back(Hit("kick", 0.22, 64, [](double t) {
    return 120 * std::exp(-t * 14) * std::sin(2 * kPi * (50 * t + 160 * (1 - std::exp(-t * 25)) / 25));
  }));
  std::mt19937 noise(7);
  mod.samples.push_back(Hit("hat", 0.07, 20, [&noise](double t) {
    return std::exp(-t * 60) * (double(noise() % 200) - 100);
  }));
  for (int pattern = 0; pattern < 2; ++pattern)
    for (int bar = 0; bar < 4; ++bar) {
      const Bar& b = kBars[pattern][bar];
      int first = bar * 16;
      for (int beat = 0; beat < 4; ++beat) Put(mod, pattern, first + beat * 4, 0, b.melody[beat], LEAD);
      for (int step = 0; step < 8; ++step) {
        Put(mod, pattern, first + step * 2, 1, step % 2 ? b.bass + 12 : b.bass, BASS);
        Put(mod, pattern, first + step * 2, 2, b.chord[step % 3] + 12, ARPEGGIO);
      }
      Put(mod, pattern, first, 3, C4, KICK);
      Put(mod, pattern, first + 8, 3, C4, KICK);
      for (int off : {4, 12}) Put(mod, pattern, first + off, 3, C4, HAT);
    }
  mod.orders = {0, 1, 0, 1};
  return mod.Build();
}

void Put16(std::string& s, uint32_t v) { s += char(v), s += char(v >> 8); }
void Put32(std::string& s, uint32_t v) { Put16(s, v), Put16(s, v >> 16); }

// A struck bell: a few inharmonic partials dying away, 16-bit mono.
std::string ComposeChime() {
  constexpr uint32_t kRate = 22050;
  constexpr double kSeconds = 2.5;
  const double partials[][3] = {{1.0, 1.0, 2.0}, {2.76, 0.5, 3.5}, {5.40, 0.25, 6.0}, {8.93, 0.12, 9.0}};
  uint32_t frames = uint32_t(kSeconds * kRate);
  std::string wav = "RIFF";
  Put32(wav, 36 + frames * 2);
  wav += "WAVEfmt ";
  Put32(wav, 16);
  Put16(wav, 1);
  Put16(wav, 1);
  Put32(wav, kRate);
  Put32(wav, kRate * 2);
  Put16(wav, 2);
  Put16(wav, 16);
  wav += "data";
  Put32(wav, frames * 2);
  for (uint32_t i = 0; i < frames; ++i) {
    double t = double(i) / kRate, v = 0;
    for (const auto& p : partials) v += p[1] * std::exp(-t * p[2]) * std::sin(2 * kPi * 660 * p[0] * t);
    // A soft attack keeps the start from clicking.
    v *= std::fmin(1.0, t * 200);
    Put16(wav, uint32_t(uint16_t(int16_t(std::lround(11000 * v)))));
  }
  return wav;
}

bool Save(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  if (out) return true;
  std::fprintf(stderr, "pellora-demo-sounds: cannot write %s\n", path.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  pellora::SetDefaultBackend(&pellora::HeadlessBackend::CreateDefault);
  if (argc != 2) {
    std::fprintf(stderr, "usage: pellora-demo-sounds DIR\n");
    return 2;
  }
  std::string dir = argv[1];
  bool ok = Save(dir + "/tune.mod", ComposeTune()) && Save(dir + "/chime.wav", ComposeChime());
  return ok ? 0 : 1;
}
