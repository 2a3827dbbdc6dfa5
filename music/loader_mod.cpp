// Amiga-style modules: "MOD" (31 samples, a signature at 1080 naming the
// channel count) and "M15" (15 samples, four channels, no signature).
// Sample data follows the patterns in sample order.
#include <algorithm>
#include <cstring>

#include "music/mod_loader.h"
#include "music/mod_song.h"
#include "music/mod_stream.h"
#include "music/track.h"

namespace pellora {

const uint16_t kAmigaPeriods[60] = {
    1712, 1616, 1524, 1440, 1356, 1280, 1208, 1140, 1076, 1016, 960, 906,
    856,  808,  762,  720,  678,  640,  604,  570,  538,  508,  480, 453,
    428,  404,  381,  360,  339,  320,  302,  285,  269,  254,  240, 226,
    214,  202,  190,  180,  170,  160,  151,  143,  135,  127,  120, 113,
    107,  101,  95,   90,   85,   80,   75,   71,   67,   63,   60,  56,
};

namespace {

struct Signature {
  char tag[5];
  uint8_t channels;
  const char* formatName;
};

const Signature kSignatures[] = {
    {"M.K.", 4, "MOD ProTracker"},  {"M!K!", 4, "MOD ProTracker"},  {"FLT4", 4, "MOD StarTracker"},
    {"4CHN", 4, "MOD FastTracker"}, {"6CHN", 6, "MOD FastTracker"}, {"8CHN", 8, "MOD FastTracker"},
    {"CD81", 8, "MOD Oktalyzer"},   {"OKTA", 8, "MOD Oktalyzer"},   {"16CN", 16, "MOD TakeTracker"},
    {"32CN", 32, "MOD TakeTracker"},
};

// Where the two layouts differ.
struct Layout {
  size_t headerSize;
  int sampleCount;
  size_t lengthOffset;  // song length byte; the order table follows one byte later
  size_t ordersOffset;
  bool loopStartInWords;
  // When junk in the order entries past the song asks for more patterns
  // than the file holds, the song's own positions give the count: for the
  // 31-sample layout the signature vouches for the file; a 15-sample file
  // carries none, so its patterns and samples must then fill it exactly.
  bool junkNeedsExactFit;
};

const Layout kLayout31 = {1084, 31, 950, 952, true, false};
const Layout kLayout15 = {600, 15, 470, 472, false, true};

// 1 + the highest pattern among the first `count` order entries.
uint16_t PatternsNamed(const uint8_t* orders, size_t count) {
  return uint16_t(*std::max_element(orders, orders + count) + 1);
}

// Whether the file holds exactly the header, the patterns the song's own
// positions name and the samples.
bool FillsFileExactly(const ModStream& stream, const uint8_t* header, const Layout& layout, uint8_t channels) {
  size_t used = std::min<size_t>(header[layout.lengthOffset], 128);
  if (used == 0) return false;
  uint64_t bytes = layout.headerSize + uint64_t(channels) * 256 * PatternsNamed(header + layout.ordersOffset, used);
  for (int i = 0; i < layout.sampleCount; ++i) bytes += uint64_t(GetU16BE(header + 20 + 30 * i + 22)) * 2;
  return stream.Length() == bytes;
}

const Signature* FindSignature(const uint8_t* tag) {
  for (const Signature& s : kSignatures)
    if (std::memcmp(tag, s.tag, 4) == 0) return &s;
  return nullptr;
}

void ConvertCell(TrackWriter& writer, const uint8_t* cell) {
  uint16_t period = uint16_t((cell[0] & 0x0F) * 256 + cell[1]);
  uint8_t sample = uint8_t((cell[0] & 0x10) | (cell[2] >> 4));
  if (sample != 0) writer.PutInstrument(uint8_t(sample - 1));
  if (period != 0) {
    for (int i = 0; i < 60; ++i) {
      if (kAmigaPeriods[i] <= period) {
        writer.PutNote(uint8_t(i + 24));
        break;
      }
    }
  }
  writer.PutEffect(cell[2] & 0x0F, cell[3]);
  writer.EndRow();
}

void ReadSamples(ModSong& song, const uint8_t* header, const Layout& layout) {
  for (int i = 0; i < layout.sampleCount; ++i) {
    const uint8_t* h = header + 20 + 30 * i;
    ModSample& s = song.samples[size_t(i)];
    uint32_t repeatStart = GetU16BE(h + 26);
    uint32_t repeatLength = GetU16BE(h + 28);
    s.name = TrimName(h, 22);
    s.c4Speed = kFinetuneC4Speed[h[24] & 0x0F];
    s.volume = h[25];
    s.length = uint32_t(GetU16BE(h + 22)) * 2;
    s.loopStart = layout.loopStartInWords ? repeatStart * 2 : repeatStart;
    s.loopEnd = std::min(s.loopStart + repeatLength * 2, s.length);
    s.flags = uint16_t(SMP_SIGNED_DATA | (repeatLength > 1 ? SMP_LOOPED : 0));
    s.fileOffset = 0;
  }
}

bool ReadPatterns(ModLoadContext& c) {
  ModSong& song = c.song;
  size_t patternBytes = size_t(song.channelCount) * 256;
  if (c.stream.Remaining() < uint64_t(patternBytes) * song.patternCount) return false;
  if (!song.AllocatePatterns() || !song.AllocateTracks()) return false;
  std::vector<uint8_t> pattern(patternBytes);
  for (size_t p = 0; p < song.patternCount; ++p) {
    if (!c.stream.Read(pattern.data(), pattern.size())) return false;
    for (size_t k = 0; k < song.channelCount; ++k) {
      c.writer.BeginTrack();
      for (size_t r = 0; r < 64; ++r) ConvertCell(c.writer, &pattern[(r * song.channelCount + k) * 4]);
      song.tracks[p * song.channelCount + k] = c.writer.EndTrack();
    }
  }
  return true;
}

bool LoadLayout(ModLoadContext& c, const uint8_t* header, const Layout& layout, uint8_t channels,
                const char* formatName) {
  ModSong& song = c.song;
  song.initialSpeed = 6;
  song.initialTempo = 125;
  song.channelCount = channels;
  song.formatName = formatName;
  song.songName = TrimName(header, 20);
  song.positionCount = header[layout.lengthOffset];
  std::memcpy(song.positions.data(), header + layout.ordersOffset, 128);
  // Every order entry counts, also those beyond the song's length, unless
  // they are junk (see Layout).
  const uint8_t* orders = header + layout.ordersOffset;
  song.patternCount = PatternsNamed(orders, 128);
  uint64_t patternBytes = uint64_t(channels) * 256;
  size_t used = std::min<size_t>(song.positionCount, 128);
  if (used > 0 && c.stream.Remaining() < patternBytes * song.patternCount &&
      (!layout.junkNeedsExactFit || FillsFileExactly(c.stream, header, layout, channels)))
    song.patternCount = PatternsNamed(orders, used);
  song.sampleCount = uint16_t(layout.sampleCount);
  song.trackCount = uint16_t(channels * song.patternCount);
  if (!song.AllocateSamples()) return false;
  ReadSamples(song, header, layout);
  return ReadPatterns(c);
}

bool DetectMod(ModStream& stream) {
  uint8_t tag[4];
  return stream.ReadAt(1080, tag, 4) && FindSignature(tag) != nullptr;
}

bool LoadMod(ModLoadContext& c) {
  std::vector<uint8_t> header(kLayout31.headerSize);
  if (!c.stream.ReadAt(0, header.data(), header.size())) return false;
  const Signature* signature = FindSignature(&header[1080]);
  if (!signature) return false;
  return LoadLayout(c, header.data(), kLayout31, signature->channels, signature->formatName);
}

bool DetectM15(ModStream& stream) {
  uint8_t header[600];
  if (!stream.ReadAt(0, header, sizeof(header))) return false;
  for (int i = 0; i < 15; ++i) {
    const uint8_t* h = header + 20 + 30 * i;
    if (h[24] != 0 || h[25] > 64) return false;
  }
  // Some writers leave any value in the byte after the song length; the
  // file is then one when its song and samples fill it exactly.
  return header[471] <= 127 || FillsFileExactly(stream, header, kLayout15, 4);
}

bool LoadM15(ModLoadContext& c) {
  std::vector<uint8_t> header(kLayout15.headerSize);
  if (!c.stream.ReadAt(0, header.data(), header.size())) return false;
  return LoadLayout(c, header.data(), kLayout15, 4, "MOD 15 instruments");
}

}  // namespace

const ModLoader kModLoader{"MOD", "Module ProTracker", DetectMod, LoadMod};
const ModLoader kM15Loader{"M15", "Module 15 instruments", DetectM15, LoadM15};

}  // namespace pellora
