// Helpers of the music tests: module files written into a scratch folder,
// songs built directly in memory, and a voice sink that records what the
// engine asks of the mixer.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "music/mod_engine.h"
#include "music/mod_player.h"
#include "music/mod_song.h"
#include "testing/mod_file_builder.h"
#include "tests/support/sound_files.h"
#include "tests/support/test_support.h"

namespace pellora::test {

// A song in memory: channels, rows per pattern, with cells set through a
// callback that writes each (pattern, row, channel) cell into the writer.
struct SongCells {
  using Writer = std::function<void(TrackWriter& writer, int pattern, int row, int channel)>;
  int channels = 4;
  int patterns = 1;
  std::vector<uint8_t> orders{0};
  int speed = 6;
  int tempo = 125;
  int samples = 1;
  // The last channel's row r of pattern p selects sample p and plays note
  // r, so that VisitedRows can tell which row was fetched.
  bool markRows = false;
};
ModSong BuildSong(const SongCells& shape, const SongCells::Writer& cells);

// Remembers the engine's voice calls.
struct RecordingVoices : ModVoiceSink {
  struct Start {
    int voice, slot;
    uint32_t start, length;
  };
  std::vector<Start> starts;
  std::map<int, int> volume;
  std::map<int, int> pan;
  std::map<int, uint32_t> frequency;
  void VoiceStart(int voice, int slot, uint32_t start, uint32_t length, uint32_t, uint32_t, uint16_t) override {
    starts.push_back({voice, slot, start, length});
  }
  void VoiceSetVolume(int voice, int v) override { volume[voice] = v; }
  void VoiceSetPanning(int voice, int p) override { pan[voice] = p; }
  void VoiceSetFrequency(int voice, uint32_t hz) override { frequency[voice] = hz; }
};

// The (pattern, row) fetched at each new row (a repeated row counts again),
// read from the marks of a song built with markRows, until the song ends
// or `maxTicks` ticks have passed.
std::vector<std::pair<int, int>> VisitedRows(ModEngine& engine, int maxTicks = 100000);

}  // namespace pellora::test
