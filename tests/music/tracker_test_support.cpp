#include "tests/music/tracker_test_support.h"

#include <algorithm>

#include "music/mod_loader.h"
#include "music/mod_stream.h"
#include "music/sample_store.h"
#include "music/song_loading.h"
#include "music/track.h"
#include "tests/music/music_test_support.h"

namespace pellora::test {

LoadedModule LoadModuleBytes(const std::string& bytes) {
  ModStream stream;
  stream.Open({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
  LoadedModule loaded;
  std::span<const ModLoader* const> loaders = kModLoaders;
  if (const ModLoader* found = DetectModFormat(loaders, stream)) loaded.detected = found->shortName;
  ModSampleStore store;
  loaded.ok = LoadModSong(stream, loaders, store, loaded.song);
  for (const ModSample& s : loaded.song.samples) {
    const int8_t* data = store.Data(s.slot);
    loaded.data.emplace_back(data, data ? data + store.Frames(s.slot) : data);
  }
  ReleaseSongSamples(loaded.song, store);
  return loaded;
}

std::vector<int> TrackRowOps(const ModSong& song, int track, int row) {
  std::vector<int> ops;
  if (track < 0 || size_t(track) >= song.tracks.size()) return ops;
  const uint8_t* record = LookupRow(song.tracks[size_t(track)], uint32_t(row));
  if (!record) return {-1};
  ForEachOpcode(record, [&](uint8_t op, uint8_t arg) {
    ops.push_back(op);
    ops.push_back(arg);
  });
  return ops;
}

std::vector<int> RowOps(const ModSong& song, int pattern, int channel, int row) {
  size_t index = size_t(pattern) * song.channelCount + size_t(channel);
  if (index >= song.patternTracks.size()) return {-1};
  return TrackRowOps(song, song.patternTracks[index], row);
}

std::string RenderModuleBytes(const std::string& bytes, int* duration) {
  TempDir dir;
  return RenderToMemory(WriteModule(dir, "module", bytes), duration);
}

double LeftFrequency(const std::string& pcm, size_t fromFrame, size_t toFrame) {
  auto left = [&](size_t frame) {
    size_t at = frame * 4;
    return int16_t(uint8_t(pcm[at]) | (uint8_t(pcm[at + 1]) << 8));
  };
  toFrame = std::min(toFrame, pcm.size() / 4);
  // Rising crossings: the first and the last one bound whole periods.
  size_t first = 0, last = 0, count = 0;
  for (size_t f = fromFrame + 1; f < toFrame; ++f) {
    if (left(f - 1) < 0 && left(f) >= 0) {
      if (count == 0) first = f;
      last = f;
      ++count;
    }
  }
  if (count < 2) return 0;
  return double(count - 1) * 44100.0 / double(last - first);
}

}  // namespace pellora::test
