// Sound files as the media devices see them: which kind a file is, told
// from its first bytes (and, for MPEG audio without a clean start, its
// name), and how long it plays, read from its headers without decoding
// the sound. Tracker modules are never a kind here: they have their own
// player.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace pellora {

enum class MediaFileKind { Unknown, Wave, Midi, Mpeg, OggVorbis, OggOpus, Flac };

// Unknown when the file cannot be read or is of no kind that plays here.
MediaFileKind IdentifyMediaFile(const std::string& path);
// The same for a file's bytes in memory; name gives its extension.
MediaFileKind IdentifyMediaBytes(std::span<const uint8_t> bytes, const std::string& name);

// The playing time in milliseconds, from the headers of a file of that
// kind; nothing when they are missing, inconsistent or do not say.
std::optional<uint64_t> MediaFileDurationMs(const std::string& path, MediaFileKind kind);
std::optional<uint64_t> MediaBytesDurationMs(std::span<const uint8_t> bytes, MediaFileKind kind);

}  // namespace pellora
