// Helpers of the loader tests of the tracker formats: a module loaded from
// bytes with its sample data, the opcodes of a track row, and the
// frequency of rendered sound.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "music/mod_song.h"

namespace pellora::test {

struct LoadedModule {
  bool ok = false;
  std::string detected;  // short name of the loader that recognised the bytes
  ModSong song;
  // Each sample's data as the store holds it (empty when not loaded).
  std::vector<std::vector<int8_t>> data;
};
LoadedModule LoadModuleBytes(const std::string& bytes);

// The (opcode, argument) pairs of row `row` of the track that channel k
// plays in pattern p, flattened; empty for an empty row.
std::vector<int> RowOps(const ModSong& song, int pattern, int channel, int row);
// The same for a track by number.
std::vector<int> TrackRowOps(const ModSong& song, int track, int row);

// Renders module bytes through the player (44100 Hz, 16-bit stereo); the
// PCM, and the duration the player measured.
std::string RenderModuleBytes(const std::string& bytes, int* duration = nullptr);

// Frequency of the left channel of 16-bit stereo PCM at 44100 Hz, from its
// rising zero crossings between two frame positions.
double LeftFrequency(const std::string& pcm, size_t fromFrame, size_t toFrame);

// Small S3M, STM, XM (both layouts), MTM and 669 songs, by file name:
// seeds of the module fuzzer.
std::map<std::string, std::string> TrackerSeeds();

}  // namespace pellora::test
