// Scream Tracker 2 modules ("STM"): a 1168-byte header with 31 instrument
// headers and the order list, four-channel patterns of 1024 bytes, then
// the sample data, each sample at a 16-byte boundary.
#include <algorithm>
#include <cstring>

#include "music/loader_support.h"
#include "music/mod_loader.h"
#include "music/mod_song.h"
#include "music/mod_stream.h"
#include "music/scream_tracker_commands.h"

namespace pellora {
namespace {

constexpr size_t kHeaderSize = 1168;
constexpr size_t kOrdersOffset = 1040;
constexpr size_t kOrderSlots = 128;
constexpr uint8_t kEndOfOrders = 99;
constexpr int kChannels = 4;
constexpr int kInstruments = 31;
constexpr size_t kPatternSize = 1024;

uint64_t RoundUpTo16(uint64_t position) { return (position + 15) & ~uint64_t(15); }

void ConvertCell(TrackWriter& w, const uint8_t* b) {
  uint8_t instrument = b[1] >> 3;
  if (instrument != 0) w.PutInstrument(uint8_t(instrument - 1));
  if (b[0] == 252 || b[0] == 254) w.PutEffect(0xC, 0);
  else if (b[0] < 251) w.PutNote(uint8_t(((b[0] >> 4) + 2) * 12 + (b[0] & 15)));
  int volume = (b[1] & 7) + (b[2] >> 4) * 8;
  if (volume < 65) w.PutEffect(0xC, uint8_t(volume));
  uint8_t command = b[2] & 15;
  // Speed sits in the high nibble; B..L are the Scream Tracker 3 ones.
  if (command == 1) w.PutEffect(0xF, b[3] >> 4);
  else if (command >= 2 && command <= 12) PutScreamTrackerCommand(w, command, b[3]);
}

// The sample headers, with the data of each non-empty sample at the
// position its header records when that lies among the sample data, or
// else at the next 16-byte boundary after the previous sample.
void ReadSamples(ModSong& song, const uint8_t* header, uint64_t dataStart, uint64_t fileLength) {
  uint64_t position = dataStart;
  for (int i = 0; i < kInstruments; ++i) {
    const uint8_t* h = header + 48 + 32 * i;
    ModSample& s = song.samples[size_t(i)];
    uint16_t length = GetU16LE(h + 16);
    uint16_t loopEnd = GetU16LE(h + 20);
    s.name = TrimName(h, 12);
    s.c4Speed = GetU16LE(h + 24);
    s.volume = h[22];
    s.length = (s.volume == 0 || length == 1) ? 0 : length;
    s.loopStart = GetU16LE(h + 18);
    s.flags = uint16_t(SMP_SIGNED_DATA | (loopEnd != 0 && loopEnd != 0xFFFF ? SMP_LOOPED : 0));
    s.loopEnd = std::min<uint32_t>(loopEnd, s.length);
    if (s.length == 0) continue;
    uint64_t recorded = uint64_t(GetU16LE(h + 14)) * 16;
    if (recorded >= dataStart && recorded < fileLength) position = recorded;
    s.fileOffset = uint32_t(position);
    position = RoundUpTo16(position + s.length);
  }
}

bool DetectStm(ModStream& stream) {
  uint8_t b[31];
  return stream.ReadAt(0, b, sizeof(b)) && std::memcmp(b + 21, "!SCREAM!", 8) != 0 && b[30] == 2;
}

bool LoadStm(ModLoadContext& c) {
  ModSong& song = c.song;
  std::vector<uint8_t> h(kHeaderSize);
  if (!c.stream.ReadAt(0, h.data(), h.size())) return false;
  song.formatName = "ScreamTracker 2";
  song.songName = TrimName(h.data(), 20);
  song.patternCount = h[33];
  song.initialSpeed = h[32] >> 4;
  song.initialTempo = 125;
  song.channelCount = kChannels;
  song.sampleCount = kInstruments;
  song.trackCount = uint16_t(kChannels * song.patternCount);
  for (size_t i = 0; i < kOrderSlots && h[kOrdersOffset + i] != kEndOfOrders; ++i)
    song.positions[song.positionCount++] = h[kOrdersOffset + i];

  if (!HasRoom(c.stream, uint64_t(kPatternSize) * song.patternCount)) return false;
  if (!song.AllocateSamples() || !song.AllocatePatterns() || !song.AllocateTracks()) return false;
  std::vector<uint8_t> pattern(kPatternSize);
  for (size_t p = 0; p < song.patternCount; ++p) {
    if (!c.stream.Read(pattern.data(), pattern.size())) return false;
    for (int k = 0; k < kChannels; ++k)
      song.tracks[p * kChannels + size_t(k)] =
          WriteTrack(c.writer, [&](int row) { ConvertCell(c.writer, &pattern[size_t(row * kChannels + k) * 4]); });
  }
  ReadSamples(song, h.data(), RoundUpTo16(c.stream.Position()), c.stream.Length());
  return true;
}

}  // namespace

const ModLoader kStmLoader{"STM", "Module ScreamTracker 2", DetectStm, LoadStm};

}  // namespace pellora
