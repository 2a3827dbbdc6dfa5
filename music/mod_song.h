// The in-memory song every loader fills and the engine plays: song
// settings, the order list, channel panning, sample descriptors and the
// encoded tracks (see track.h) with the pattern tables that pick them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pellora {

class ModStream;

// Sample flags (ModSample::flags).
enum : uint16_t {
  SMP_16BIT_DATA = 0x01,   // two bytes per frame in the file, little-endian
  SMP_SIGNED_DATA = 0x04,  // signed data; otherwise unsigned, centred on 0x80 / 0x8000
  SMP_LOOPED = 0x08,       // loops from loopStart to loopEnd
  SMP_DELTA_DATA = 0x10,   // each value is the difference to the previous one
};

// c4Speed of each 4-bit finetune code: 0..7 mean finetune 0..+7, 8..15
// mean -8..-1.
extern const uint16_t kFinetuneC4Speed[16];

// Amiga periods of five octaves, lowest C first: index i is the note
// i + 24 of a song (MOD cells store periods).
extern const uint16_t kAmigaPeriods[60];

// The most channels a song may have (and the mixer's voice count).
constexpr int kMaxChannels = 32;

// One sample descriptor.
struct ModSample {
  uint16_t c4Speed = 0;   // Hz of note 48 (C-4); 0 plays every note at period 4242
  int8_t transpose = 0;   // semitones added to every note played with it
  uint8_t volume = 0;     // default volume; the engine uses at most 64
  uint32_t length = 0;    // frames; 0 = empty, never loaded
  uint32_t loopStart = 0;
  uint32_t loopEnd = 0;   // frame after the loop's last one
  uint16_t flags = 0;
  uint32_t fileOffset = 0;  // absolute file position of the data; 0 = where the stream stands
  std::optional<std::string> name;
  int16_t slot = -1;      // index in the player's sample store; -1 = not loaded
};

struct ModSong {
  // Every field empty, and the default panning: left, right, right, left...
  ModSong();

  uint8_t channelCount = 0;
  uint16_t positionCount = 0;
  uint16_t patternCount = 0;
  uint16_t trackCount = 0;
  uint16_t sampleCount = 0;
  uint8_t initialSpeed = 0;  // ticks per row
  uint8_t initialTempo = 0;  // BPM
  std::array<uint8_t, 256> positions{};
  std::array<uint8_t, kMaxChannels> panning{};  // 0 = left .. 255 = right
  // Once a channel's pattern loop has played out, its next loop starts on
  // the row after the loop command (Scream Tracker 3), not at the old start.
  bool loopRestartsAfterFinishedLoop = false;
  std::optional<std::string> songName;
  std::optional<std::string> formatName;
  std::optional<std::string> comment;
  std::vector<ModSample> samples;
  // Track of channel k in pattern p at p * channelCount + k.
  std::vector<uint16_t> patternTracks;
  std::vector<uint16_t> patternRows;
  // One encoded track each; an empty one has no rows.
  std::vector<std::vector<uint8_t>> tracks;

  // The three allocators loaders call once the counts are known; each is
  // false when the memory cannot be had. Loaders check counts against what
  // is left of the file before they call them.
  // patternTracks = 0, 1, 2 ... and patternRows = 64 for patternCount
  // patterns; also false when channelCount is above kMaxChannels.
  bool AllocatePatterns();
  // trackCount empty tracks.
  bool AllocateTracks();
  // sampleCount empty descriptors.
  bool AllocateSamples();
};

// A name from a fixed-width field: trailing bytes below 33 or equal to 255
// dropped, other bytes at or below 32 turned into spaces; none when
// nothing is left.
std::optional<std::string> TrimName(const uint8_t* field, size_t width);

// A song message of length bytes read from the stream (what the file
// holds of it), with every byte below 32 as a signed value made a space;
// none when length is 0.
std::optional<std::string> ReadComment(ModStream& stream, size_t length);

}  // namespace pellora
