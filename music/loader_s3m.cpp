// Scream Tracker 3 modules ("S3M"): a 96-byte header, the order list,
// parapointers (file position / 16) to the instrument headers and the
// packed patterns, and sample data at absolute positions. File channels
// are grouped into song channels by their channel setting.
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "music/loader_support.h"
#include "music/mod_loader.h"
#include "music/mod_song.h"
#include "music/mod_stream.h"
#include "music/scream_tracker_commands.h"

namespace pellora {
namespace {

constexpr size_t kHeaderSize = 96;
constexpr size_t kInstrumentSize = 80;
constexpr int kFileChannels = 32;
// Settings 0..7 are left channels, 8..15 right ones; above 15 (AdLib or
// unused) nothing plays.
constexpr int kSettings = 16;
constexpr uint8_t kLeftPan = 0x30;
constexpr uint8_t kRightPan = 0xC0;
constexpr uint8_t kEmpty = 255;

// Which song channel each file channel plays in (-1: none), and the
// setting of each song channel.
struct ChannelMap {
  std::array<int8_t, kFileChannels> songChannel{};
  std::array<uint8_t, kSettings> setting{};
  int count = 0;
};

ChannelMap MapChannels(const uint8_t* settings) {
  std::array<bool, kSettings> used{};
  for (int i = 0; i < kFileChannels; ++i)
    if ((settings[i] & 0x7F) < kSettings) used[settings[i] & 0x7F] = true;
  ChannelMap map;
  std::array<int8_t, kSettings> channelOfSetting{};
  for (int v = 0; v < kSettings; ++v) {
    if (!used[size_t(v)]) continue;
    channelOfSetting[size_t(v)] = int8_t(map.count);
    map.setting[size_t(map.count++)] = uint8_t(v);
  }
  for (int i = 0; i < kFileChannels; ++i) {
    uint8_t v = settings[i] & 0x7F;
    map.songChannel[size_t(i)] = v < kSettings ? channelOfSetting[v] : int8_t(-1);
  }
  return map;
}

struct Cell {
  uint8_t note = kEmpty, instrument = kEmpty, volume = kEmpty, command = kEmpty, info = kEmpty;
};
using Pattern = std::array<std::array<Cell, kTrackRows>, kSettings>;

// Song position of each order number as stored in the file, once the
// markers are dropped: a marker's is that of the next real entry (or the
// song's length after the last one); numbers past the list stay, as they
// are past every position too.
using OrderPositions = std::array<uint8_t, 256>;

constexpr uint8_t kPositionJump = 2;  // command B

void ConvertCell(TrackWriter& w, const Cell& c, const OrderPositions& positionOfOrder) {
  if (c.instrument != 0 && c.instrument != kEmpty) w.PutInstrument(uint8_t(c.instrument - 1));
  if (c.note == 254) w.PutEffect(0xC, 0);
  else if (c.note < kEmpty) w.PutNote(uint8_t((c.note >> 4) * 12 + (c.note & 15)));
  if (c.volume < kEmpty) w.PutEffect(0xC, c.volume);
  PutScreamTrackerCommand(w, c.command, c.command == kPositionJump ? positionOfOrder[c.info] : c.info);
}

// Unpacks 64 rows from the stream; false when the file ends inside them.
bool UnpackPattern(ModStream& stream, const ChannelMap& map, Pattern& pattern) {
  for (auto& channel : pattern) channel.fill(Cell{});
  for (int row = 0; row < kTrackRows; ++row) {
    for (;;) {
      uint8_t flag = 0;
      if (!stream.ReadU8(flag)) return false;
      if (flag == 0) break;
      uint8_t bytes[5] = {};
      bool ok = true;
      if (flag & 0x20) ok = ok && stream.Read(bytes, 2);
      if (flag & 0x40) ok = ok && stream.Read(bytes + 2, 1);
      if (flag & 0x80) ok = ok && stream.Read(bytes + 3, 2);
      if (!ok) return false;
      int channel = map.songChannel[flag & 31];
      if (channel < 0) continue;
      // A later cell on the same song channel overwrites what it holds.
      Cell& cell = pattern[size_t(channel)][size_t(row)];
      if (flag & 0x20) {
        cell.note = bytes[0];
        cell.instrument = bytes[1];
      }
      if (flag & 0x40) cell.volume = bytes[2];
      if (flag & 0x80) {
        cell.command = bytes[3];
        cell.info = bytes[4];
      }
    }
  }
  return true;
}

bool ReadInstrument(ModStream& stream, uint16_t parapointer, bool signedData, ModSample& sample) {
  // Parapointer 0 names no instrument: the header there is the song's.
  if (parapointer == 0) return true;
  uint8_t h[kInstrumentSize];
  if (!stream.ReadAt(uint64_t(parapointer) * 16, h, sizeof(h))) return false;
  sample.name = TrimName(h + 48, 28);
  sample.c4Speed = uint16_t(std::min<uint32_t>(GetU32LE(h + 32), 0xFFFF));
  sample.volume = h[28];
  sample.loopStart = GetU32LE(h + 20);
  sample.fileOffset = ((uint32_t(h[13]) << 16) + GetU16LE(h + 14)) * 16;
  sample.flags = uint16_t(((h[31] & 1) ? SMP_LOOPED : 0) | ((h[31] & 4) ? SMP_16BIT_DATA : 0) |
                          (signedData ? SMP_SIGNED_DATA : 0));
  // Only plain sample data plays: not AdLib instruments (no "SCRS"), not
  // packed data, not a sample without a data position.
  bool playable = std::memcmp(h + 76, "SCRS", 4) == 0 && h[30] == 0 && sample.fileOffset != 0;
  sample.length = playable ? GetU32LE(h + 16) : 0;
  sample.loopEnd = std::min(GetU32LE(h + 24), sample.length);
  return true;
}

bool DetectS3m(ModStream& stream) { return stream.BytesAt(44, "SCRM", 4); }

bool LoadS3m(ModLoadContext& c) {
  ModSong& song = c.song;
  ModStream& stream = c.stream;
  uint8_t h[kHeaderSize];
  if (!stream.ReadAt(0, h, sizeof(h))) return false;
  uint16_t orderCount = GetU16LE(h + 32);
  uint16_t instrumentCount = GetU16LE(h + 34);
  uint16_t filePatterns = GetU16LE(h + 36);
  bool signedData = GetU16LE(h + 42) == 1;
  song.formatName = "ScreamTracker 3";
  song.songName = TrimName(h, 28);
  song.sampleCount = instrumentCount;
  song.patternCount = uint16_t(std::min<int>(filePatterns, kMaxPlayablePatterns));
  song.initialSpeed = h[49];
  song.initialTempo = h[50];
  song.loopRestartsAfterFinishedLoop = true;

  ChannelMap map = MapChannels(h + 64);
  if (map.count == 0) return false;
  song.channelCount = uint8_t(map.count);
  song.trackCount = uint16_t(map.count * song.patternCount);
  for (int k = 0; k < map.count; ++k) song.panning[size_t(k)] = map.setting[size_t(k)] < 8 ? kLeftPan : kRightPan;

  // The order list without its markers (254) and end marks (255).
  if (!HasRoom(stream, orderCount)) return false;
  std::vector<uint8_t> orders(orderCount);
  if (!stream.Read(orders.data(), orders.size())) return false;
  // A position is never above its order number, so it fits the jump's byte.
  OrderPositions positionOfOrder{};
  for (size_t i = 0; i < orders.size(); ++i) {
    if (i < positionOfOrder.size()) positionOfOrder[i] = uint8_t(song.positionCount);
    if (orders[i] < 254 && song.positionCount < song.positions.size()) song.positions[song.positionCount++] = orders[i];
  }
  for (size_t i = orders.size(); i < positionOfOrder.size(); ++i) positionOfOrder[i] = uint8_t(i);

  size_t pointerCount = size_t(instrumentCount) + filePatterns;
  if (!HasRoom(stream, 2 * uint64_t(pointerCount))) return false;
  std::vector<uint8_t> pointers(2 * pointerCount);
  if (!stream.Read(pointers.data(), pointers.size())) return false;

  if (!song.AllocateSamples()) return false;
  for (size_t i = 0; i < instrumentCount; ++i)
    if (!ReadInstrument(stream, GetU16LE(&pointers[2 * i]), signedData, song.samples[i])) return false;

  if (!song.AllocateTracks() || !song.AllocatePatterns()) return false;
  auto pattern = std::make_unique<Pattern>();
  for (size_t p = 0; p < song.patternCount; ++p) {
    uint16_t pointer = GetU16LE(&pointers[2 * (instrumentCount + p)]);
    if (pointer == 0) {
      // No pattern stored: it plays as an empty one.
      for (auto& channel : *pattern) channel.fill(Cell{});
    } else if (!stream.Seek(uint64_t(pointer) * 16 + 2) || !UnpackPattern(stream, map, *pattern)) {
      return false;
    }
    for (int k = 0; k < map.count; ++k) {
      const auto& cells = (*pattern)[size_t(k)];
      song.tracks[p * map.count + size_t(k)] =
          WriteTrack(c.writer, [&](int row) { ConvertCell(c.writer, cells[size_t(row)], positionOfOrder); });
    }
  }
  return true;
}

}  // namespace

const ModLoader kS3mLoader{"S3M", "Module ScreamTracker 3", DetectS3m, LoadS3m};

}  // namespace pellora
