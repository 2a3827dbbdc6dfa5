// Feeds arbitrary bytes to the media devices' file reading: the kind told
// from the first bytes, and the playing time read as every kind.
#include <cstddef>
#include <cstdint>

#include "fuzz/input_file.h"
#include "platform/media_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pellora;
  static const fuzz::InputFile input("fuzzmedia");
  if (!input.Write(data, size)) return 0;
  MediaFileKind kind = IdentifyMediaFile(input.Path());
  std::optional<uint64_t> duration = MediaFileDurationMs(input.Path(), kind);
  // A file of a known kind has a time or none, never one past what the
  // readers allow.
  if (duration && *duration > (uint64_t(1) << 62)) __builtin_trap();
  for (MediaFileKind other : {MediaFileKind::Wave, MediaFileKind::Midi, MediaFileKind::Mpeg, MediaFileKind::Flac,
                              MediaFileKind::OggVorbis, MediaFileKind::OggOpus})
    MediaFileDurationMs(input.Path(), other);
  return 0;
}
