// Feeds arbitrary bytes to the media devices' file reading: the kind told
// from the first bytes, and the playing time read as every kind.
#include <cstddef>
#include <cstdint>

#include "platform/audio/media_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pellora;
  std::span<const uint8_t> bytes(data, size);
  // The name matters only to MPEG audio found past the start.
  MediaFileKind kind = IdentifyMediaBytes(bytes, size % 2 ? "input.mp3" : "input");
  std::optional<uint64_t> duration = MediaBytesDurationMs(bytes, kind);
  // A file of a known kind has a time or none, never one past what the
  // readers allow.
  if (duration && *duration > (uint64_t(1) << 62)) __builtin_trap();
  for (MediaFileKind other : {MediaFileKind::Wave, MediaFileKind::Midi, MediaFileKind::Mpeg, MediaFileKind::Flac,
                              MediaFileKind::OggVorbis, MediaFileKind::OggOpus})
    MediaBytesDurationMs(bytes, other);
  return 0;
}
