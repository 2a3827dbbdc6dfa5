// Pieces the tracker-format loaders share: writing a track of 64 rows
// from the rows of a pattern, and checks of what is left of the file
// before a count read from it is trusted.
#pragma once

#include <cstdint>
#include <vector>

#include "music/mod_stream.h"
#include "music/track.h"

namespace pellora {

// Rows a track holds; longer patterns play their first 64 rows.
constexpr int kTrackRows = 64;
// Song positions name patterns with one byte: later patterns never play.
constexpr int kMaxPlayablePatterns = 256;

// One track: putRow(row) writes the opcodes of each row in turn.
template <typename PutRow>
std::vector<uint8_t> WriteTrack(TrackWriter& writer, PutRow&& putRow) {
  writer.BeginTrack();
  for (int row = 0; row < kTrackRows; ++row) {
    putRow(row);
    writer.EndRow();
  }
  return writer.EndTrack();
}

// True when the file holds at least `bytes` more bytes after the current
// position.
inline bool HasRoom(const ModStream& stream, uint64_t bytes) { return stream.Remaining() >= bytes; }

}  // namespace pellora
