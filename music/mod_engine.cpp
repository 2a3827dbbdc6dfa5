#include "music/mod_engine.h"

#include <algorithm>

#include "music/mod_modulation.h"

namespace pellora {
namespace {

// 16 times the Amiga periods of octave 0, semitones C..B.
const uint16_t kNoteBasePeriods[12] = {27392, 25856, 24384, 23040, 21696, 20480,
                                       19328, 18240, 17216, 16256, 15360, 14512};

constexpr uint32_t kPeriodClock = 14318184;

}  // namespace

uint32_t TickLengthMs(uint32_t tempo) {
  uint32_t divisor = (tempo * 50) / 125;
  return divisor ? 1000 / divisor : 1000;
}

uint16_t ModEngine::NotePeriod(const ModChannel& channel, int note, uint16_t rate) const {
  int transpose = 0;
  if (song && channel.sample < song->samples.size()) transpose = song->samples[channel.sample].transpose;
  int n = int8_t(uint8_t(note + transpose));
  // Below note 0 there is no octave to shift by: the lowest note plays.
  if (n < 0) n = 0;
  if (rate == 0) return 4242;
  uint32_t period = ((uint32_t(kNoteBasePeriods[n % 12]) * 8363) >> (n / 12)) / rate;
  return uint16_t(period);
}

int ModEngine::ChannelCount() const { return song ? std::min<int>(song->channelCount, kMaxChannels) : 0; }

int ModEngine::PositionLimit() const { return song ? std::min<int>(song->positionCount, 256) : 0; }

bool ModEngine::HasPattern(size_t pattern) const {
  const ModSong& s = *song;
  return pattern < s.patternCount && pattern < s.patternRows.size() &&
         (pattern + 1) * s.channelCount <= s.patternTracks.size();
}

bool ModEngine::IsFinished() const {
  return !song || position >= PositionLimit() || elapsedMs >= songTimeLimitMs;
}

void ModEngine::SetTempo(uint8_t newTempo) {
  // A tempo below 3 would make a tick last for ever.
  if (newTempo >= kMinTempo) tempo = newTempo;
}

void ModEngine::StartSong(ModSong* newSong) {
  channels = {};
  song = newSong;
  ResetEngine();
}

void ModEngine::ResetEngine() {
  ticksPlayed = positionTicks = 0;
  elapsedMs = positionMs = 0;
  position = 0;
  speed = song ? song->initialSpeed : 6;
  tick = speed;
  delayRows = delayCount = 0;
  tempo = song && song->initialTempo >= kMinTempo ? song->initialTempo : 125;
  row = rowPlaying = 0;
  rowCount = 0;
  positionStep = 2;
  breakRow = 0;
  for (int k = 0; k < ChannelCount(); ++k) {
    ModChannel& c = channels[size_t(k)];
    c.kick = 0;
    c.volume = 0;
    c.retrigCounter = 0;
    c.waveControl = 0;
    c.glissando = 0;
    c.sampleOffset = 0;
    c.loopRow = c.loopCount = 0;
    c.cursor.Forget();
  }
}

void ModEngine::PlayTick(ModVoiceSink* voices) {
  if (IsFinished()) return;
  ++ticksPlayed;
  ++tick;
  bool ended = false;
  if (tick >= speed) {
    ++row;
    tick = 0;
    if (delayRows != 0) {
      delayCount = delayRows;
      delayRows = 0;
    }
    if (delayCount != 0 && delayCount-- != 1) --row;
    // Past the last row (also after a break beyond it) the next position
    // starts, unless a change is already pending.
    if (positionStep == 0 && row >= rowCount) positionStep = 3;
    if (positionStep != 0) {
      row = uint16_t(breakRow);
      position += positionStep - 2;
      positionStep = 0;
      breakRow = 0;
      // An order entry naming a pattern the song lacks ends the song there.
      if (position < PositionLimit() && !HasPattern(song->positions[size_t(position)])) position = PositionLimit();
      ended = position >= PositionLimit();
    }
    rowPlaying = row;
    if (!ended && delayCount == 0) FetchRow();
  }
  if (!ended)
    for (int k = 0; k < ChannelCount(); ++k) RunEffects(k);
  elapsedMs += TickLengthMs(tempo);
  if (ended) return;
  for (int k = 0; k < ChannelCount(); ++k) UpdateVoice(k, voices);
}

void ModEngine::FetchRow() {
  const ModSong& s = *song;
  // Only positions whose pattern the song has are played.
  size_t pattern = s.positions[size_t(position)];
  if (ChannelCount() > 0) rowCount = s.patternRows[pattern];
  for (int k = 0; k < ChannelCount(); ++k) {
    ModChannel& c = channels[size_t(k)];
    c.rowData = nullptr;
    uint16_t track = s.patternTracks[pattern * s.channelCount + size_t(k)];
    if (track < s.trackCount && track < s.tracks.size()) c.rowData = c.cursor.Lookup(s.tracks[track], row);
    if (c.rowData) ReadNoteAndSample(k);
  }
}

void ModEngine::ReadNoteAndSample(int k) {
  ModChannel& c = channels[size_t(k)];
  size_t samples = std::min<size_t>(song->sampleCount, song->samples.size());
  ForEachOpcode(c.rowData, [&](uint8_t opcode, uint8_t argument) {
    if (opcode == TRK_NOTE) {
      uint16_t rate = c.sample < samples ? song->samples[c.sample].c4Speed : c.c4Speed;
      c.note = argument;
      c.wantedPeriod = c.period = NotePeriod(c, argument, rate);
      c.kick = 1;
      c.voiceStart = 0;
      if (!(c.waveControl & 0x80)) c.tremoloPos = 0;
      if (!(c.waveControl & 0x08)) c.vibratoPos = 0;
    } else if (opcode == TRK_INSTRUMENT && argument < samples) {
      const ModSample& m = song->samples[argument];
      c.sample = argument;
      c.voiceSlot = m.slot;
      // Files may give volumes above 64; the engine keeps to 0..64.
      c.volume = c.outVolume = int8_t(std::min<int>(m.volume, 64));
      c.voiceLength = m.length;
      c.c4Speed = m.c4Speed;
      c.voiceFlags = m.flags;
      c.voiceLoopStart = m.loopStart;
      c.voiceLoopEnd = m.loopEnd;
      c.retrigCounter = 0;
      c.tremorCounter = 0;
    }
  });
}

void ModEngine::RunEffects(int k) {
  ModChannel& c = channels[size_t(k)];
  if (!c.rowData) return;
  c.ownPeriod = c.ownVolume = 0;
  ForEachOpcode(c.rowData, [&](uint8_t opcode, uint8_t argument) {
    if (opcode >= TRK_PT_0 && opcode <= TRK_PT_F) RunProTrackerEffect(k, uint8_t(opcode - TRK_PT_0), argument);
    else if (opcode >= TRK_ST3_SPEED && opcode <= TRK_ST3_TEMPO) RunSt3Command(k, opcode, argument);
  });
  if (!c.ownPeriod) c.outPeriod = c.period;
  if (!c.ownVolume) c.outVolume = c.volume;
}

void ModEngine::UpdateVoice(int k, ModVoiceSink* voices) {
  ModChannel& c = channels[size_t(k)];
  c.outPeriod = std::clamp<uint16_t>(c.outPeriod, 40, 8000);
  bool kick = c.kick != 0;
  c.kick = 0;
  if (!voices) return;
  if (kick)
    voices->VoiceStart(k, c.voiceSlot, c.voiceStart, c.voiceLength, c.voiceLoopStart, c.voiceLoopEnd,
                       uint16_t(c.voiceFlags));
  voices->VoiceSetVolume(k, ClampVolume(c.outVolume));
  voices->VoiceSetPanning(k, song->panning[size_t(k)]);
  voices->VoiceSetFrequency(k, kPeriodClock / c.outPeriod);
}

int ModEngine::MeasureDuration() {
  while (!IsFinished()) PlayTick(nullptr);
  return RoundToSeconds(elapsedMs);
}

void ModEngine::SeekTo(int seconds) {
  ResetEngine();
  while (!IsFinished() && RoundToSeconds(elapsedMs) < seconds) PlayTick(nullptr);
  positionTicks = ticksPlayed;
  positionMs = elapsedMs;
}

}  // namespace pellora
