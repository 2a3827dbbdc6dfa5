// The playback engine: walks a ModSong tick by tick, moving through rows
// and song positions, reading each channel's row from its track, running
// the effects, and after every tick handing each voice its sample start,
// volume, pan and frequency. The same tick runs silently to measure a
// song's length and to seek.
#pragma once

#include <array>
#include <cstdint>

#include "music/mod_song.h"
#include "music/track.h"

namespace pellora {

// What the engine drives after each tick: the mixer's voices.
class ModVoiceSink {
 public:
  virtual ~ModVoiceSink() = default;
  virtual void VoiceStart(int voice, int slot, uint32_t start, uint32_t length, uint32_t loopStart,
                          uint32_t loopEnd, uint16_t flags) = 0;
  virtual void VoiceSetVolume(int voice, int volume) = 0;
  virtual void VoiceSetPanning(int voice, int pan) = 0;
  virtual void VoiceSetFrequency(int voice, uint32_t hertz) = 0;
};

// The state of one channel.
struct ModChannel {
  uint8_t kick = 0;           // start the voice on this tick
  uint8_t sample = 0;         // current sample index
  int32_t voiceSlot = -1;     // sample store slot of the current sample
  uint32_t voiceFlags = 0;
  uint32_t voiceLength = 0;
  uint32_t voiceStart = 0;    // frame the next start begins at
  uint32_t voiceLoopStart = 0;
  uint32_t voiceLoopEnd = 0;
  int8_t outVolume = 0;       // sent to the voice for this tick, 0..64
  uint16_t outPeriod = 0;     // sent to the voice for this tick
  uint8_t note = 0;           // last note
  uint32_t ownPeriod = 0;     // an effect set outPeriod on this tick
  uint32_t ownVolume = 0;     // an effect set outVolume on this tick
  const uint8_t* rowData = nullptr;  // this row's record in the track, or none
  int8_t retrigCounter = 0;
  uint16_t c4Speed = 0;       // rate of the current sample, changed by E5x
  int8_t volume = 0;          // running volume 0..64
  uint16_t period = 0;
  uint16_t wantedPeriod = 0;  // target of tone portamento
  uint16_t slideSpeed = 0;
  uint16_t portaSpeed = 0;
  uint8_t tremorCounter = 0;
  uint8_t volSlideMemory = 0;
  int8_t retrigSpeed = 0;
  uint8_t retrigVolumeMode = 0;
  int8_t glissando = 0;       // set by E3x; nothing reads it
  uint8_t waveControl = 0;    // low nibble vibrato, high nibble tremolo waveform
  int8_t vibratoPos = 0;
  int8_t vibratoSpeed = 0;
  uint8_t vibratoDepth = 0;
  int8_t tremoloPos = 0;
  int8_t tremoloSpeed = 0;
  uint8_t tremoloDepth = 0;
  uint16_t sampleOffset = 0;
  // Pattern loop of this channel: the row before its start (set by E60)
  // and the repetitions still to play.
  uint16_t loopRow = 0;
  uint16_t loopCount = 0;
  TrackCursor cursor;         // speeds up reading the track row after row
};

// Milliseconds of one tick at a tempo: 1000 div ((tempo * 50) div 125).
uint32_t TickLengthMs(uint32_t tempo);
// Whole seconds, rounded to the nearest.
inline int RoundToSeconds(uint64_t ms) { return int((ms + 500) / 1000); }
// Song time after which every song counts as ended: the last guard against
// songs whose loops never end.
constexpr uint64_t kSongTimeLimitMs = 3ull * 3600 * 1000;
// The lowest tempo the engine takes; lower ones are refused.
constexpr uint8_t kMinTempo = 3;

class ModEngine {
 public:
  // A new song: clean channels as well, then ResetEngine.
  void StartSong(ModSong* newSong);
  // Back to the start of the song.
  void ResetEngine();
  // One tick; voices get their settings afterwards unless voices is null
  // (a silent run).
  void PlayTick(ModVoiceSink* voices);
  // The song has passed its last position (or its time limit).
  bool IsFinished() const;
  // Length of the song in seconds, from the start; leaves the engine at
  // the end.
  int MeasureDuration();
  // Runs silently from the start until `seconds` of song time are reached.
  void SeekTo(int seconds);
  // Seconds of song time heard so far.
  int GetPosition() const { return RoundToSeconds(positionMs); }
  // Period of a note with the sample transposition, for a rate.
  uint16_t NotePeriod(const ModChannel& channel, int note, uint16_t rate) const;

  ModSong* song = nullptr;
  uint16_t tick = 0;
  int16_t breakRow = 0;
  uint8_t delayRows = 0;
  uint8_t delayCount = 0;
  uint16_t rowCount = 0;
  int32_t positionStep = 0;  // 0 none; 2 restart the position at breakRow; 3 next position
  std::array<ModChannel, kMaxChannels> channels{};
  uint8_t tempo = 125;
  uint16_t row = 0;
  // The row whose effects run: a loop on one channel moves `row` before the
  // next channel's loop command reads it.
  uint16_t rowPlaying = 0;
  int32_t position = 0;
  uint16_t speed = 6;
  uint32_t ticksPlayed = 0;
  uint32_t positionTicks = 0;
  // Song time: the sum of every tick's own length since the start, and the
  // part of it that has been heard.
  uint64_t elapsedMs = 0;
  uint64_t positionMs = 0;
  // Song time at which the song counts as ended whatever its rows say.
  uint64_t songTimeLimitMs = kSongTimeLimitMs;

 private:
  int ChannelCount() const;
  int PositionLimit() const;
  bool HasPattern(size_t pattern) const;
  void FetchRow();
  void ReadNoteAndSample(int k);
  void RunEffects(int k);
  void RunProTrackerEffect(int k, uint8_t effect, uint8_t parameter);
  void RunExtendedEffect(int k, uint8_t x, uint8_t y);
  void RunSt3Command(int k, uint8_t opcode, uint8_t parameter);
  void UpdateVoice(int k, ModVoiceSink* voices);
  void SetTempo(uint8_t newTempo);
};

}  // namespace pellora
