#include "tests/music/music_test_support.h"

#include <algorithm>

#include "music/track.h"

namespace pellora::test {

ModSong BuildSong(const SongCells& shape, const SongCells::Writer& cells) {
  ModSong song;
  song.channelCount = uint8_t(shape.channels);
  song.patternCount = uint16_t(shape.patterns);
  song.trackCount = uint16_t(shape.channels * shape.patterns);
  song.positionCount = uint16_t(shape.orders.size());
  for (size_t i = 0; i < shape.orders.size(); ++i) song.positions[i] = shape.orders[i];
  song.initialSpeed = uint8_t(shape.speed);
  song.initialTempo = uint8_t(shape.tempo);
  song.sampleCount = uint16_t(shape.markRows ? std::max(shape.samples, shape.patterns) : shape.samples);
  song.AllocateSamples();
  for (ModSample& s : song.samples) {
    s.c4Speed = 8363;
    s.volume = 64;
    s.length = 1000;
  }
  song.AllocatePatterns();
  song.AllocateTracks();
  TrackWriter writer;
  for (int p = 0; p < shape.patterns; ++p)
    for (int k = 0; k < shape.channels; ++k) {
      writer.BeginTrack();
      for (int r = 0; r < 64; ++r) {
        if (shape.markRows && k == shape.channels - 1) {
          writer.PutInstrument(uint8_t(p));
          writer.PutNote(uint8_t(r));
        }
        if (cells) cells(writer, p, r, k);
        writer.EndRow();
      }
      song.tracks[size_t(p * shape.channels + k)] = writer.EndTrack();
    }
  return song;
}

std::vector<std::pair<int, int>> VisitedRows(ModEngine& engine, int maxTicks) {
  std::vector<std::pair<int, int>> rows;
  const ModChannel& marks = engine.channels[size_t(engine.song->channelCount - 1)];
  for (int i = 0; i < maxTicks && !engine.IsFinished(); ++i) {
    engine.PlayTick(nullptr);
    if (engine.tick == 0 && !engine.IsFinished()) rows.emplace_back(marks.sample, marks.note);
  }
  return rows;
}

}  // namespace pellora::test
