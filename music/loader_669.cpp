// Composer 669 ("if") and Extended 669 ("JN") modules: eight channels,
// patterns of 64 rows with a break row each, every pattern starting at
// tempo 78 and speed 3; unsigned 8-bit sample data after the patterns.
#include <algorithm>
#include <cstring>

#include "music/loader_support.h"
#include "music/mod_loader.h"
#include "music/mod_song.h"
#include "music/mod_stream.h"

namespace pellora {
namespace {

constexpr size_t kHeaderSize = 497;
constexpr size_t kSampleHeaderSize = 25;
constexpr int kChannels = 8;
constexpr size_t kPatternSize = kTrackRows * kChannels * 3;
constexpr size_t kOrdersOffset = 113;
constexpr size_t kBreaksOffset = 369;
constexpr size_t kOrderSlots = 128;
constexpr uint8_t kEndOfOrders = 255;
// A loop end of 0xFFFFF is how the format says "no loop".
constexpr uint32_t kNoLoop = 0xFFFFF;
constexpr uint8_t kNoNote = 62;     // note field 62: volume only
constexpr uint8_t kEmptyCell = 63;  // note field 63: nothing

void ConvertCell(TrackWriter& w, const uint8_t* b) {
  uint8_t note = b[0] >> 2;
  uint8_t instrument = uint8_t(((b[0] & 3) << 4) | (b[1] >> 4));
  if (note < kNoNote) {
    w.PutInstrument(instrument);
    w.PutNote(uint8_t(note + 24));
  }
  if (note < kEmptyCell) w.PutEffect(0xC, uint8_t((b[1] & 15) * 4));
}

void ReadSample(const uint8_t* h, ModSample& s) {
  uint32_t loopEnd = GetU32LE(h + 21);
  s.name = TrimName(h, 13);
  s.c4Speed = 8363;
  s.volume = 64;
  s.length = GetU32LE(h + 13);
  s.loopStart = GetU32LE(h + 17);
  s.loopEnd = std::min(loopEnd, s.length);
  s.flags = s.loopStart < loopEnd && loopEnd != kNoLoop ? SMP_LOOPED : 0;
  s.fileOffset = 0;
}

bool Detect669(ModStream& stream) { return stream.BytesAt(0, "if", 2) || stream.BytesAt(0, "JN", 2); }

bool Load669(ModLoadContext& c) {
  ModSong& song = c.song;
  ModStream& stream = c.stream;
  std::vector<uint8_t> h(kHeaderSize);
  if (!stream.ReadAt(0, h.data(), h.size())) return false;
  song.initialSpeed = 6;
  song.initialTempo = 125;
  song.channelCount = kChannels;
  song.formatName = std::memcmp(h.data(), "JN", 2) == 0 ? "Extended 669" : "Composer 669";
  song.sampleCount = h[110];
  song.patternCount = h[111];
  song.trackCount = uint16_t(kChannels * song.patternCount);
  for (size_t i = 0; i < kOrderSlots && h[kOrdersOffset + i] != kEndOfOrders; ++i)
    song.positions[song.positionCount++] = h[kOrdersOffset + i];

  if (!HasRoom(stream, kSampleHeaderSize * song.sampleCount) || !song.AllocateSamples()) return false;
  for (ModSample& sample : song.samples) {
    uint8_t sh[kSampleHeaderSize];
    if (!stream.Read(sh, sizeof(sh))) return false;
    ReadSample(sh, sample);
  }

  if (!HasRoom(stream, kPatternSize * song.patternCount)) return false;
  if (!song.AllocateTracks() || !song.AllocatePatterns()) return false;
  std::vector<uint8_t> pattern(kPatternSize);
  for (size_t p = 0; p < song.patternCount; ++p) {
    // Rows after the break row do not play; a track has 64 at most. The
    // break list has no entry for patterns from 128 on.
    if (p < kOrderSlots) song.patternRows[p] = uint16_t(std::min<int>(h[kBreaksOffset + p] + 1, kTrackRows));
    if (!stream.Read(pattern.data(), pattern.size())) return false;
    for (int k = 0; k < kChannels; ++k) {
      song.tracks[p * kChannels + size_t(k)] = WriteTrack(c.writer, [&](int row) {
        if (row == 0) {
          c.writer.PutEffect(0xF, 78);
          c.writer.PutEffect(0xF, 3);
        }
        ConvertCell(c.writer, &pattern[size_t(row * kChannels + k) * 3]);
      });
    }
  }
  return true;
}

}  // namespace

const ModLoader k669Loader{"669", "Module Composer 669", Detect669, Load669};

}  // namespace pellora
