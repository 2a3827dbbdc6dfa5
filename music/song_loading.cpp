#include "music/song_loading.h"

#include <algorithm>
#include <new>

#include "music/mod_loader.h"
#include "music/mod_song.h"
#include "music/mod_stream.h"
#include "music/mod_wait_cursor.h"
#include "music/sample_store.h"
#include "music/track.h"

namespace pellora {
namespace {

bool RunLoader(const ModLoader& loader, ModStream& stream, ModSong& song) {
  try {
    TrackWriter writer;
    ModLoadContext context{stream, song, writer};
    if (!loader.load(context)) return false;
  } catch (const std::bad_alloc&) {
    return false;
  }
  // What the engine and mixer rely on, whatever a loader left behind.
  return song.channelCount <= kMaxChannels;
}

}  // namespace

bool LoadSampleData(ModStream& stream, ModSample& sample, ModSampleStore& store) {
  if (sample.length == 0) return true;
  uint32_t bytesPerFrame = (sample.flags & SMP_16BIT_DATA) ? 2 : 1;
  uint64_t available = 0;
  if (sample.fileOffset == 0 || stream.Seek(sample.fileOffset)) available = stream.Remaining() / bytesPerFrame;
  uint32_t frames = uint32_t(std::min<uint64_t>(sample.length, available));
  if (frames < sample.length) {
    sample.length = frames;
    sample.loopEnd = std::min(sample.loopEnd, frames);
  }
  if (frames == 0) return true;
  int slot = store.Take(frames);
  if (slot < 0) return false;
  int8_t* out = store.MutableData(slot);
  uint16_t sum = 0;
  uint8_t chunk[4096];
  uint32_t done = 0;
  while (done < frames) {
    uint32_t n = std::min<uint32_t>(frames - done, sizeof(chunk) / bytesPerFrame);
    stream.Read(chunk, n * bytesPerFrame);
    for (uint32_t i = 0; i < n; ++i) {
      uint16_t v = bytesPerFrame == 2 ? GetU16LE(chunk + 2 * i) : uint16_t(chunk[i] << 8);
      if (sample.flags & SMP_DELTA_DATA) v = sum = uint16_t(sum + v);
      if (!(sample.flags & SMP_SIGNED_DATA)) v = uint16_t(v - 0x8000);
      out[done + i] = int8_t(uint8_t(v >> 8));
    }
    done += n;
  }
  sample.slot = int16_t(slot);
  return true;
}

void ReleaseSongSamples(ModSong& song, ModSampleStore& store) {
  for (ModSample& sample : song.samples) {
    if (sample.slot >= 0) store.Release(sample.slot);
    sample.slot = -1;
  }
}

bool LoadModSong(ModStream& stream, std::span<const ModLoader* const> loaders, ModSampleStore& store, ModSong& song,
                 bool waitCursor) {
  song = ModSong();
  const ModLoader* loader = DetectModFormat(loaders, stream);
  bool ok = loader && RunLoader(*loader, stream, song);
  if (ok) {
    ModWaitCursor wait(waitCursor);
    for (ModSample& sample : song.samples) {
      if (!LoadSampleData(stream, sample, store)) {
        ok = false;
        break;
      }
    }
  }
  if (!ok) {
    ReleaseSongSamples(song, store);
    song = ModSong();
  }
  return ok;
}

}  // namespace pellora
