#include "testing/mod_file_builder.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "music/mod_song.h"

namespace pellora::test {
namespace {

void Put16BE(std::string& out, uint16_t v) {
  out += char(v >> 8);
  out += char(v & 0xFF);
}

void PutField(std::string& out, const std::string& text, size_t width) {
  std::string field = text.substr(0, width);
  field.resize(width, '\0');
  out += field;
}

}  // namespace

ModFileBuilder::ModFileBuilder(std::string signature, int channels)
    : signature_(std::move(signature)), channels_(signature_.empty() ? 4 : channels) {}

ModFileCell& ModFileBuilder::Cell(int pattern, int row, int channel) {
  if (patterns_.size() <= size_t(pattern)) patterns_.resize(size_t(pattern) + 1);
  std::vector<ModFileCell>& cells = patterns_[size_t(pattern)];
  cells.resize(size_t(64 * channels_));
  return cells[size_t(row * channels_ + channel)];
}

std::string ModFileBuilder::Build() const {
  bool old = signature_.empty();
  size_t sampleSlots = old ? 15 : 31;
  std::string out;
  PutField(out, title, 20);
  for (size_t i = 0; i < sampleSlots; ++i) {
    ModFileSample s = i < samples.size() ? samples[i] : ModFileSample{};
    PutField(out, s.name, 22);
    Put16BE(out, uint16_t(s.data.size() / 2));
    out += char(s.finetune);
    out += char(s.volume);
    Put16BE(out, s.repeatStart);
    Put16BE(out, s.repeatLength);
  }
  out += char(songLengthOverride ? songLengthOverride : uint8_t(orders.size()));
  out += old ? char(0x78) : char(0x7F);
  std::string table(128, '\0');
  std::copy(orders.begin(), orders.begin() + long(std::min<size_t>(orders.size(), 128)), table.begin());
  out += table;
  if (!old) out += signature_.substr(0, 4);
  int patternCount = 1 + (orders.empty() ? 0 : *std::max_element(table.begin(), table.end(), [](char a, char b) {
    return uint8_t(a) < uint8_t(b);
  }) & 0xFF);
  for (int p = 0; p < patternCount; ++p) {
    for (int cell = 0; cell < 64 * channels_; ++cell) {
      ModFileCell c;
      if (size_t(p) < patterns_.size() && !patterns_[size_t(p)].empty()) c = patterns_[size_t(p)][size_t(cell)];
      out += char((c.sample & 0xF0) | ((c.period >> 8) & 0x0F));
      out += char(c.period & 0xFF);
      out += char(((c.sample & 0x0F) << 4) | (c.effect & 0x0F));
      out += char(c.parameter);
    }
  }
  for (size_t i = 0; i < std::min(samples.size(), sampleSlots); ++i)
    out.append(reinterpret_cast<const char*>(samples[i].data.data()), samples[i].data.size() & ~size_t(1));
  return out;
}

uint16_t AmigaPeriod(int noteIndex) { return kAmigaPeriods[std::clamp(noteIndex, 0, 59)]; }

std::vector<int8_t> SquareWave(size_t length, int8_t amplitude) {
  std::vector<int8_t> data(length);
  for (size_t i = 0; i < length; ++i) data[i] = i < length / 2 ? amplitude : int8_t(-amplitude);
  return data;
}

std::vector<int8_t> SineWave(size_t length, int cycles, int amplitude) {
  std::vector<int8_t> data(length);
  for (size_t i = 0; i < length; ++i)
    data[i] = int8_t(std::lround(amplitude * std::sin(2 * std::numbers::pi * cycles * double(i) / double(length))));
  return data;
}

}  // namespace pellora::test
