// FastTracker II modules ("XM"): a header whose size field says where the
// patterns start, packed patterns with their own header and row count,
// and instruments whose first sample is kept. From version 1.04 each
// instrument's sample data follows its headers and the instruments follow
// the patterns; older files store the instrument headers first, then the
// patterns, then the sample data of all instruments.
//
// Pitch: the file's note 1 is C-0, and C-4 (note 49) plays the sample at
// 8363 frames per second before its relative note and finetune. A song's
// note 48 plays at the sample's c4Speed, so notes go in one lower, the
// relative note becomes the sample's transposition and the finetune
// (1/128 semitone) its c4Speed.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>

#include "music/loader_support.h"
#include "music/mod_loader.h"
#include "music/mod_song.h"
#include "music/mod_stream.h"

namespace pellora {
namespace {

const char kSignature[] = "Extended Module: ";
constexpr size_t kSignatureLength = 17;
// The header fields this loader reads end at 80, where the order table
// starts; the header size (from offset 60) covers 20 bytes of fields.
constexpr size_t kFixedHeader = 80;
constexpr uint32_t kHeaderFieldsAfterSize = 20;
constexpr uint16_t kVersionPatternsFirst = 0x0104;
constexpr size_t kSampleHeaderSize = 40;
constexpr size_t kInstrumentFields = 33;  // size, name, type, sample count, sample header size
constexpr uint8_t kKeyOff = 97;
constexpr uint8_t kHighestNote = 96;

struct Cell {
  uint8_t note = 0, instrument = 0, volume = 0, effect = 0, parameter = 0;
};
using Pattern = std::array<std::array<Cell, kTrackRows>, kMaxChannels>;

// Where and how the patterns and instruments lie.
struct Layout {
  bool patternsFirst = true;
  size_t patternHeaderSize = 9;
  uint32_t channels = 0;  // as the file states; channels beyond the song's are read and dropped
};

void ConvertCell(TrackWriter& w, const Cell& c) {
  if (c.instrument != 0) w.PutInstrument(uint8_t(c.instrument - 1));
  if (c.note >= 1 && c.note <= kHighestNote) w.PutNote(uint8_t(c.note - 1));
  else if (c.note == kKeyOff) w.PutEffect(0xC, 0);  // no envelopes here: key off silences
  if (c.volume >= 0x10 && c.volume <= 0x50) w.PutEffect(0xC, uint8_t(c.volume - 0x10));
  // Types 16 and above are the format's own effects, which nothing plays.
  if (c.effect < 16) w.PutEffect(c.effect, c.parameter);
}

// Unpacks rows x channels cells; data that ends early leaves the rest
// empty. Only the first 64 rows and 32 channels are kept.
void UnpackPattern(const std::vector<uint8_t>& data, uint32_t rows, uint32_t channels, Pattern& pattern) {
  for (auto& channel : pattern) channel.fill(Cell{});
  size_t i = 0;
  auto next = [&]() -> uint8_t { return i < data.size() ? data[i++] : 0; };
  for (uint32_t row = 0; row < rows && i < data.size(); ++row) {
    for (uint32_t k = 0; k < channels && i < data.size(); ++k) {
      Cell cell;
      uint8_t first = next();
      uint8_t mask = 0x1E;
      if (first & 0x80) {
        mask = first;
        if (mask & 1) cell.note = next();
      } else {
        cell.note = first;
      }
      if (mask & 2) cell.instrument = next();
      if (mask & 4) cell.volume = next();
      if (mask & 8) cell.effect = next();
      if (mask & 16) cell.parameter = next();
      if (row < kTrackRows && k < kMaxChannels) pattern[k][row] = cell;
    }
  }
}

// Reads the patterns from `position` on and returns where they end. A
// pattern whose header lies beyond the file plays as an empty one.
uint64_t ReadPatterns(ModLoadContext& c, const Layout& layout, uint16_t filePatterns, uint64_t position) {
  ModSong& song = c.song;
  auto pattern = std::make_unique<Pattern>();
  std::vector<uint8_t> data;
  for (size_t p = 0; p < filePatterns; ++p) {
    uint8_t h[9] = {};
    if (!c.stream.ReadAt(position, h, layout.patternHeaderSize)) break;
    uint64_t headerLength = std::max<uint64_t>(GetU32LE(h), layout.patternHeaderSize);
    uint32_t rows = layout.patternsFirst ? GetU16LE(h + 5) : h[5] + 1u;
    uint16_t packedSize = GetU16LE(h + layout.patternHeaderSize - 2);
    if (p < song.patternCount) {
      data.assign(packedSize, 0);
      size_t got = c.stream.Seek(position + headerLength) ? c.stream.ReadSome(data.data(), data.size()) : 0;
      data.resize(got);
      UnpackPattern(data, rows, layout.channels, *pattern);
      song.patternRows[p] = uint16_t(std::clamp<uint32_t>(rows, 1, kTrackRows));
      for (size_t k = 0; k < song.channelCount; ++k) {
        const auto& cells = (*pattern)[k];
        song.tracks[p * song.channelCount + k] =
            WriteTrack(c.writer, [&](int row) { ConvertCell(c.writer, cells[size_t(row)]); });
      }
    }
    position += headerLength + packedSize;
  }
  return position;
}

uint16_t C4SpeedOfFinetune(int8_t finetune) {
  return uint16_t(std::lround(8363.0 * std::exp2(finetune / (128.0 * 12.0))));
}

// One instrument as found at some position: its first sample, where the
// data of its samples starts and how many bytes it takes.
struct Instrument {
  ModSample sample;
  uint64_t dataStart = 0;
  uint64_t dataBytes = 0;
};

ModSample SampleFromHeader(const uint8_t* h) {
  uint32_t length = GetU32LE(h);
  uint32_t loopStart = GetU32LE(h + 4);
  uint32_t loopLength = GetU32LE(h + 8);
  uint8_t type = h[14];
  ModSample s;
  s.flags = SMP_DELTA_DATA | SMP_SIGNED_DATA;
  if (type & 0x10) {
    // Lengths are in bytes: two per frame.
    length /= 2;
    loopStart /= 2;
    loopLength /= 2;
    s.flags |= SMP_16BIT_DATA;
  }
  // Forward and ping-pong loops both play forward.
  if ((type & 3) != 0 && loopLength > 0) s.flags |= SMP_LOOPED;
  s.length = length;
  s.loopStart = loopStart;
  s.loopEnd = uint32_t(std::min<uint64_t>(uint64_t(loopStart) + loopLength, length));
  s.volume = h[12];
  s.c4Speed = C4SpeedOfFinetune(int8_t(h[13]));
  s.transpose = int8_t(h[16]);
  return s;
}

// Reads the instrument at `position`; false when the file ends before
// its headers do.
bool ReadInstrument(ModStream& stream, uint64_t position, Instrument& out) {
  uint8_t h[kInstrumentFields] = {};
  if (!stream.Seek(position) || stream.ReadSome(h, sizeof(h)) < 4) return false;
  uint32_t headerSize = GetU32LE(h);
  // Fields beyond the header's own size are not the instrument's.
  uint32_t valid = std::clamp<uint32_t>(headerSize, 4, kInstrumentFields);
  std::memset(h + valid, 0, kInstrumentFields - valid);
  out = Instrument{};
  out.sample.name = TrimName(h + 4, 22);
  uint16_t sampleCount = GetU16LE(h + 27);
  uint32_t sampleHeaderSize = headerSize >= kInstrumentFields ? GetU32LE(h + 29) : 0;
  uint64_t stride = std::max<uint64_t>(sampleHeaderSize, kSampleHeaderSize);
  uint64_t headers = position + std::max<uint32_t>(headerSize, 4);
  for (uint16_t j = 0; j < sampleCount; ++j) {
    uint8_t sh[kSampleHeaderSize];
    if (!stream.ReadAt(headers + j * stride, sh, sizeof(sh))) return false;
    out.dataBytes += GetU32LE(sh);
    if (j == 0) {
      std::optional<std::string> name = out.sample.name;
      out.sample = SampleFromHeader(sh);
      out.sample.name = name;
    }
  }
  out.dataStart = headers + sampleCount * stride;
  return true;
}

// Reads instruments from `position`; the list ends where the file does.
// Returns where the last one read ends.
uint64_t ReadInstruments(ModStream& stream, uint16_t count, bool dataFollows, uint64_t position,
                         std::vector<Instrument>& instruments) {
  for (uint16_t i = 0; i < count; ++i) {
    Instrument instrument;
    if (!ReadInstrument(stream, position, instrument)) break;
    position = instrument.dataStart + (dataFollows ? instrument.dataBytes : 0);
    instruments.push_back(std::move(instrument));
  }
  return position;
}

bool FillSamples(ModSong& song, std::vector<Instrument>& instruments, uint64_t fileLength) {
  song.sampleCount = uint16_t(instruments.size());
  if (!song.AllocateSamples()) return false;
  for (size_t i = 0; i < instruments.size(); ++i) {
    ModSample& s = song.samples[i];
    s = std::move(instruments[i].sample);
    uint64_t start = instruments[i].dataStart;
    // Data beyond the file is no data (a file offset of 0 would mean "here").
    if (start == 0 || start >= fileLength || start > UINT32_MAX) s.length = s.loopStart = s.loopEnd = 0;
    s.fileOffset = s.length ? uint32_t(start) : 0;
  }
  return true;
}

bool DetectXm(ModStream& stream) { return stream.BytesAt(0, kSignature, kSignatureLength); }

bool LoadXm(ModLoadContext& c) {
  ModSong& song = c.song;
  ModStream& stream = c.stream;
  uint8_t h[kFixedHeader];
  if (!stream.ReadAt(0, h, sizeof(h))) return false;
  uint32_t headerSize = GetU32LE(h + 60);
  if (headerSize < kHeaderFieldsAfterSize) return false;
  Layout layout;
  layout.patternsFirst = GetU16LE(h + 58) >= kVersionPatternsFirst;
  layout.patternHeaderSize = layout.patternsFirst ? 9 : 8;
  layout.channels = GetU16LE(h + 68);
  if (layout.channels == 0) return false;
  uint16_t filePatterns = GetU16LE(h + 70);
  uint16_t instrumentCount = GetU16LE(h + 72);

  song.songName = TrimName(h + 17, 20);
  song.formatName = TrimName(h + 38, 20);
  song.channelCount = uint8_t(std::min<uint32_t>(layout.channels, kMaxChannels));
  song.initialSpeed = uint8_t(std::min<uint16_t>(GetU16LE(h + 76), 255));
  song.initialTempo = uint8_t(std::min<uint16_t>(GetU16LE(h + 78), 255));
  // The order table holds what the header size leaves room for.
  size_t orders = std::min<uint64_t>({GetU16LE(h + 64), headerSize - kHeaderFieldsAfterSize, song.positions.size()});
  song.positionCount = uint16_t(stream.ReadSome(song.positions.data(), orders));

  uint64_t position = 60 + uint64_t(headerSize);
  // Each pattern the song keeps has its header in the file.
  uint64_t headersInFile = stream.Length() > position ? (stream.Length() - position) / layout.patternHeaderSize : 0;
  song.patternCount = uint16_t(std::min<uint64_t>({filePatterns, kMaxPlayablePatterns, headersInFile}));
  song.trackCount = uint16_t(song.patternCount * song.channelCount);
  if (!song.AllocatePatterns() || !song.AllocateTracks()) return false;

  std::vector<Instrument> instruments;
  if (layout.patternsFirst) {
    position = ReadPatterns(c, layout, filePatterns, position);
    ReadInstruments(stream, instrumentCount, true, position, instruments);
  } else {
    position = ReadInstruments(stream, instrumentCount, false, position, instruments);
    position = ReadPatterns(c, layout, filePatterns, position);
    for (Instrument& instrument : instruments) {
      instrument.dataStart = position;
      position += instrument.dataBytes;
    }
  }
  return FillSamples(song, instruments, stream.Length());
}

}  // namespace

const ModLoader kXmLoader{"XM", "Module FastTracker II", DetectXm, LoadXm};

}  // namespace pellora
