// MultiTracker modules ("MTM"): tracks of 64 rows are stored once and
// shared, and each pattern names the track of each of its channels; track
// 0 is the empty track and is not stored. The song message and then the
// sample data (unsigned) follow the pattern table.
#include <algorithm>

#include "music/loader_support.h"
#include "music/mod_loader.h"
#include "music/mod_song.h"
#include "music/mod_stream.h"

namespace pellora {
namespace {

constexpr size_t kHeaderSize = 66;
constexpr size_t kSampleHeaderSize = 37;
constexpr size_t kOrderSlots = 128;
constexpr size_t kTrackSize = kTrackRows * 3;
constexpr size_t kPatternSlots = 32;  // a track number per channel slot, used or not

void ConvertRow(TrackWriter& w, const uint8_t* b) {
  uint8_t note = b[0] >> 2;
  uint8_t instrument = uint8_t(((b[0] & 3) << 4) | (b[1] >> 4));
  uint8_t effect = b[1] & 15;
  uint8_t parameter = b[2];
  if (instrument != 0) w.PutInstrument(uint8_t(instrument - 1));
  if (note != 0) w.PutNote(uint8_t(note + 24));
  // A volume slide both up and down slides up.
  if (effect == 0xA && (parameter & 0xF0) != 0) parameter &= 0xF0;
  w.PutEffect(effect, parameter);
}

void ReadSample(const uint8_t* h, ModSample& s) {
  s.name = TrimName(h, 22);
  // Only the low four bits are a finetune code.
  s.c4Speed = kFinetuneC4Speed[h[34] & 0x0F];
  s.length = GetU32LE(h + 22);
  s.loopStart = GetU32LE(h + 26);
  s.loopEnd = GetU32LE(h + 30);
  s.volume = h[35];
  s.flags = s.loopEnd > s.loopStart && s.loopEnd - s.loopStart > 2 ? SMP_LOOPED : 0;
  if (h[36] & 1) {
    s.flags |= SMP_16BIT_DATA;
    s.length /= 2;
    s.loopStart /= 2;
    s.loopEnd /= 2;
  }
  s.loopEnd = std::min(s.loopEnd, s.length);
  s.fileOffset = 0;
}

bool DetectMtm(ModStream& stream) { return stream.BytesAt(0, "MTM", 3); }

bool LoadMtm(ModLoadContext& c) {
  ModSong& song = c.song;
  ModStream& stream = c.stream;
  uint8_t h[kHeaderSize];
  if (!stream.ReadAt(0, h, sizeof(h))) return false;
  uint16_t storedTracks = GetU16LE(h + 24);
  uint16_t commentLength = GetU16LE(h + 28);
  // Track numbers are 16-bit: a last track of 65535 could not be counted.
  if (storedTracks == 0xFFFF || h[33] == 0) return false;
  song.initialSpeed = 6;
  song.initialTempo = 125;
  song.formatName = "MultiModuleEdit";
  song.songName = TrimName(h + 4, 20);
  song.trackCount = uint16_t(storedTracks + 1);
  song.patternCount = uint16_t(h[26] + 1);
  song.positionCount = uint16_t(std::min<size_t>(h[27] + 1u, kOrderSlots));
  song.sampleCount = h[30];
  // A pattern has 32 channel slots; more channels have no tracks.
  song.channelCount = uint8_t(std::min<size_t>(h[33], kPatternSlots));
  for (size_t k = 0; k < kPatternSlots; ++k) song.panning[k] = uint8_t(std::min(h[34 + k] * 16, 255));

  if (!HasRoom(stream, kSampleHeaderSize * song.sampleCount) || !song.AllocateSamples()) return false;
  for (ModSample& sample : song.samples) {
    uint8_t sh[kSampleHeaderSize];
    if (!stream.Read(sh, sizeof(sh))) return false;
    ReadSample(sh, sample);
  }
  if (!stream.Read(song.positions.data(), kOrderSlots)) return false;

  if (!HasRoom(stream, uint64_t(kTrackSize) * storedTracks)) return false;
  if (!song.AllocateTracks() || !song.AllocatePatterns()) return false;
  song.tracks[0] = WriteTrack(c.writer, [](int) {});
  uint8_t track[kTrackSize];
  for (size_t t = 1; t < song.trackCount; ++t) {
    if (!stream.Read(track, sizeof(track))) return false;
    song.tracks[t] = WriteTrack(c.writer, [&](int row) { ConvertRow(c.writer, &track[size_t(row) * 3]); });
  }

  uint8_t table[kPatternSlots * 2];
  for (size_t p = 0; p < song.patternCount; ++p) {
    if (!stream.Read(table, sizeof(table))) return false;
    for (size_t k = 0; k < song.channelCount; ++k) {
      uint16_t t = GetU16LE(&table[2 * k]);
      // A track the file does not hold plays as the empty one.
      song.patternTracks[p * song.channelCount + k] = t < song.trackCount ? t : 0;
    }
  }
  song.comment = ReadComment(stream, commentLength);
  return true;
}

}  // namespace

const ModLoader kMtmLoader{"MTM", "Module MultiModuleEdit", DetectMtm, LoadMtm};

}  // namespace pellora
