#include "music/mod_song.h"

#include <algorithm>
#include <new>

#include "music/mod_stream.h"

namespace pellora {

const uint16_t kFinetuneC4Speed[16] = {8363, 8413, 8463, 8529, 8581, 8651, 8723, 8757,
                                       7895, 7941, 7985, 8046, 8107, 8169, 8232, 8280};

ModSong::ModSong() {
  for (int k = 0; k < kMaxChannels; ++k) panning[k] = ((k + 1) & 2) ? 255 : 0;
}

bool ModSong::AllocatePatterns() {
  if (channelCount > kMaxChannels) return false;
  try {
    size_t entries = size_t(patternCount) * channelCount;
    patternTracks.resize(entries);
    for (size_t i = 0; i < entries; ++i) patternTracks[i] = uint16_t(i);
    patternRows.assign(patternCount, 64);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool ModSong::AllocateTracks() {
  try {
    tracks.assign(trackCount, {});
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool ModSong::AllocateSamples() {
  try {
    samples.assign(sampleCount, ModSample{});
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

std::optional<std::string> TrimName(const uint8_t* field, size_t width) {
  size_t n = width;
  while (n > 0 && (field[n - 1] < 33 || field[n - 1] == 255)) --n;
  if (n == 0) return std::nullopt;
  std::string name(reinterpret_cast<const char*>(field), n);
  for (char& c : name)
    if (uint8_t(c) <= 32) c = ' ';
  return name;
}

std::optional<std::string> ReadComment(ModStream& stream, size_t length) {
  if (length == 0) return std::nullopt;
  std::string text(size_t(std::min<uint64_t>(length, stream.Remaining())), '\0');
  text.resize(stream.ReadSome(text.data(), text.size()));
  for (char& c : text)
    if (int8_t(c) < 32) c = ' ';
  return text;
}

}  // namespace pellora
