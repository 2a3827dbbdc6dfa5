#include "platform/audio/media_file.h"

#include <algorithm>
#include <span>
#include <vector>

#include "platform/base/byte_order.h"
#include "platform/os/file.h"

namespace pellora {
namespace {

// How far into a file the start of MPEG audio is looked for.
constexpr size_t kMpegSearchBytes = 64 * 1024;
// Standard MIDI files are small; larger ones are not read whole.
constexpr long long kMaxMidiBytes = 16 * 1024 * 1024;
// The tail of an Ogg stream searched for its last page.
constexpr size_t kOggTailBytes = 64 * 1024;
// RIFF chunks walked at most before the sound data must have been seen.
constexpr int kMaxWaveChunks = 1024;

uint64_t Le64(const uint8_t* p) { return uint64_t(GetU32LE(p + 4)) << 32 | GetU32LE(p); }

const uint8_t* Bytes(const std::string& s, size_t offset = 0) {
  return reinterpret_cast<const uint8_t*>(s.data()) + offset;
}

// A sound file's bytes as the readers below see them: read where needed
// from an open file, or all in memory.
class Source {
 public:
  explicit Source(CFile& file) : file_(&file), length_(file.Length()) {}
  explicit Source(std::span<const uint8_t> bytes) : bytes_(bytes), length_(static_cast<long long>(bytes.size())) {}
  long long Length() const { return length_; }

  // Bytes [offset, offset + count); fewer at the end, none when they cannot
  // be read there. Callers keep count small or bounded by the length.
  std::string ReadAt(long long offset, size_t count) const {
    if (offset < 0 || offset >= length_) return {};
    if (!file_) {
      size_t n = std::min(count, bytes_.size() - size_t(offset));
      return std::string(reinterpret_cast<const char*>(bytes_.data()) + offset, n);
    }
    if (file_->Seek(offset, CFile::Origin::Begin) != offset) return {};
    std::string bytes(std::min<unsigned long long>(count, (unsigned long long)(length_ - offset)), '\0');
    long long n = file_->Read(bytes.data(), bytes.size());
    bytes.resize(n < 0 ? 0 : size_t(n));
    return bytes;
  }

 private:
  CFile* file_ = nullptr;
  std::span<const uint8_t> bytes_;
  long long length_ = 0;
};

// Playing times longer than this come from damaged fields, not from sound.
constexpr uint64_t kLongestDurationMs = uint64_t(1) << 40;

// Whole milliseconds of `units` at `perSecond` units a second; none when
// the fields give a time no file could play.
std::optional<uint64_t> UnitsToMs(uint64_t units, uint64_t perSecond) {
  if (perSecond == 0 || units / perSecond > kLongestDurationMs / 1000) return std::nullopt;
  return units / perSecond * 1000 + units % perSecond * 1000 / perSecond;
}

std::string LowerExtension(const std::string& path) {
  size_t dot = path.find_last_of('.');
  size_t slash = path.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string ext = path.substr(dot + 1);
  for (char& c : ext)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return ext;
}

// ---- MPEG audio -----------------------------------------------------------

struct MpegFrame {
  bool mpeg1 = false;
  int layer = 0;
  uint32_t bitrate = 0;  // bits per second
  uint32_t rate = 0;     // samples per second
  uint32_t samples = 0;  // per frame
  uint32_t length = 0;   // bytes, header included
  bool mono = false;
};

std::optional<MpegFrame> ParseMpegHeader(const uint8_t* p) {
  if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return std::nullopt;
  int versionBits = (p[1] >> 3) & 3, layerBits = (p[1] >> 1) & 3;
  int bitrateIndex = p[2] >> 4, rateIndex = (p[2] >> 2) & 3, padding = (p[2] >> 1) & 1;
  if (versionBits == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
    return std::nullopt;
  // Kilobits per second by MPEG-1 or not, layer and index.
  static const uint16_t kBitrates[2][3][15] = {
      {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
       {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
       {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
      {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
       {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
       {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}}};
  static const uint32_t kRates[3] = {44100, 48000, 32000};
  MpegFrame f;
  f.mpeg1 = versionBits == 3;
  f.layer = 4 - layerBits;
  f.bitrate = uint32_t(kBitrates[f.mpeg1 ? 0 : 1][f.layer - 1][bitrateIndex]) * 1000;
  // MPEG-2 halves the rates, MPEG-2.5 quarters them.
  f.rate = kRates[rateIndex] >> (f.mpeg1 ? 0 : versionBits == 2 ? 1 : 2);
  if (f.layer == 1) {
    f.samples = 384;
    f.length = (12 * f.bitrate / f.rate + uint32_t(padding)) * 4;
  } else {
    f.samples = f.layer == 3 && !f.mpeg1 ? 576 : 1152;
    f.length = f.samples / 8 * f.bitrate / f.rate + uint32_t(padding);
  }
  f.mono = (p[3] >> 6) == 3;
  return f;
}

bool SameStream(const MpegFrame& a, const MpegFrame& b) {
  return a.mpeg1 == b.mpeg1 && a.layer == b.layer && a.rate == b.rate;
}

// Where the audio starts: after an ID3v2 tag, the first header that
// another header of the same stream follows (or that ends the file).
// searchBytes = 0 accepts only a frame right at that start.
std::optional<long long> FindMpegStart(const Source& file, long long length, size_t searchBytes) {
  long long start = 0;
  std::string tag = file.ReadAt(0, 10);
  if (tag.size() == 10 && tag.compare(0, 3, "ID3") == 0) {
    const uint8_t* t = Bytes(tag);
    long long size = (t[6] & 0x7F) << 21 | (t[7] & 0x7F) << 14 | (t[8] & 0x7F) << 7 | (t[9] & 0x7F);
    start = 10 + size + ((t[5] & 0x10) ? 10 : 0);
  }
  std::string window = file.ReadAt(start, searchBytes + 4);
  for (size_t i = 0; i + 4 <= window.size() && i <= searchBytes; ++i) {
    std::optional<MpegFrame> frame = ParseMpegHeader(Bytes(window, i));
    if (!frame) continue;
    long long next = start + static_cast<long long>(i) + frame->length;
    if (next == length) return start + static_cast<long long>(i);
    std::string after = next + 4 <= start + static_cast<long long>(window.size())
                            ? window.substr(size_t(next - start), 4)
                            : file.ReadAt(next, 4);
    if (after.size() == 4)
      if (std::optional<MpegFrame> second = ParseMpegHeader(Bytes(after)); second && SameStream(*frame, *second))
        return start + static_cast<long long>(i);
  }
  return std::nullopt;
}

std::optional<uint64_t> MpegDurationMs(const Source& file, long long length) {
  std::optional<long long> start = FindMpegStart(file, length, kMpegSearchBytes);
  if (!start) return std::nullopt;
  std::string first = file.ReadAt(*start, 4 + 32 + 4 + 8 + 18);
  if (first.size() < 4) return std::nullopt;
  std::optional<MpegFrame> frame = ParseMpegHeader(Bytes(first));
  if (!frame) return std::nullopt;
  // A variable bit-rate stream says how many frames it has in a first
  // frame of its own, after the side information (Xing or Info) or at a
  // fixed place (VBRI).
  size_t sideInfo = frame->mpeg1 ? (frame->mono ? 17 : 32) : (frame->mono ? 9 : 17);
  size_t xing = 4 + sideInfo;
  uint64_t frames = 0;
  if (frame->layer == 3 && first.size() >= xing + 12 &&
      (first.compare(xing, 4, "Xing") == 0 || first.compare(xing, 4, "Info") == 0) &&
      (GetU32BE(Bytes(first, xing + 4)) & 1))
    frames = GetU32BE(Bytes(first, xing + 8));
  else if (frame->layer == 3 && first.size() >= 36 + 18 && first.compare(36, 4, "VBRI") == 0)
    frames = GetU32BE(Bytes(first, 36 + 14));
  if (frames) return UnitsToMs(frames * frame->samples, frame->rate);
  // Otherwise a constant bit rate over the bytes up to an ID3v1 tag.
  long long end = length;
  if (std::string tail = file.ReadAt(length - 128, 3); length - 128 >= *start && tail == "TAG") end -= 128;
  if (end <= *start) return std::nullopt;
  return uint64_t(end - *start) * 8000 / frame->bitrate;
}

// ---- RIFF wave ------------------------------------------------------------

std::optional<uint64_t> WaveDurationMs(const Source& file, long long length) {
  std::string riff = file.ReadAt(0, 12);
  if (riff.size() < 12 || riff.compare(0, 4, "RIFF") != 0 || riff.compare(8, 4, "WAVE") != 0) return std::nullopt;
  uint32_t bytesPerSecond = 0;
  std::optional<uint64_t> dataBytes;
  long long pos = 12;
  for (int chunk = 0; chunk < kMaxWaveChunks && pos + 8 <= length; ++chunk) {
    std::string head = file.ReadAt(pos, 8);
    if (head.size() < 8) break;
    uint32_t size = GetU32LE(Bytes(head, 4));
    long long body = pos + 8;
    if (head.compare(0, 4, "fmt ") == 0) {
      std::string fmt = file.ReadAt(body, std::min<uint32_t>(size, 16));
      if (fmt.size() < 16) return std::nullopt;
      bytesPerSecond = GetU32LE(Bytes(fmt, 8));
    } else if (head.compare(0, 4, "data") == 0) {
      // A streamed or cut file claims more than it holds.
      dataBytes = uint64_t(std::min<long long>(size, length - body));
      break;
    }
    pos = body + size + (size & 1);
  }
  if (!dataBytes || bytesPerSecond == 0) return std::nullopt;
  return UnitsToMs(*dataBytes, bytesPerSecond);
}

// ---- Standard MIDI file ---------------------------------------------------

// A variable-length quantity of at most four bytes.
bool ReadVlq(const std::string& data, size_t& p, size_t end, uint32_t& value) {
  value = 0;
  for (int i = 0; i < 4; ++i) {
    if (p >= end) return false;
    uint8_t b = uint8_t(data[p++]);
    value = value << 7 | (b & 0x7F);
    if (!(b & 0x80)) return true;
  }
  return false;
}

struct TempoChange {
  uint64_t tick;
  uint32_t microsPerQuarter;
};

// Walks one track's events; returns the tick of its last complete event
// and collects its tempo changes.
uint64_t ScanMidiTrack(const std::string& data, size_t p, size_t end, std::vector<TempoChange>& tempos) {
  uint64_t tick = 0, last = 0;
  uint8_t status = 0;
  while (p < end) {
    uint32_t delta;
    if (!ReadVlq(data, p, end, delta) || p >= end) break;
    tick += delta;
    uint8_t b = uint8_t(data[p]);
    if (b & 0x80) {
      status = b;
      ++p;
    } else if (status == 0) {
      break;  // a data byte without a running status
    }
    if (status == 0xFF) {
      if (p >= end) break;
      uint8_t type = uint8_t(data[p++]);
      uint32_t length;
      if (!ReadVlq(data, p, end, length) || length > end - p) break;
      if (type == 0x51 && length >= 3)
        tempos.push_back({tick, uint32_t(uint8_t(data[p])) << 16 | uint32_t(uint8_t(data[p + 1])) << 8 |
                                    uint8_t(data[p + 2])});
      p += length;
      // Meta and system-exclusive events cancel the running status.
      status = 0;
      last = tick;
      if (type == 0x2F) break;
    } else if (status == 0xF0 || status == 0xF7) {
      uint32_t length;
      if (!ReadVlq(data, p, end, length) || length > end - p) break;
      p += length;
      status = 0;
      last = tick;
    } else if (status >= 0xF0) {
      break;  // no other system message belongs in a file
    } else {
      size_t n = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
      if (n > end - p) break;
      p += n;
      last = tick;
    }
  }
  return last;
}

std::optional<uint64_t> MidiDurationMs(const Source& file, long long length) {
  if (length > kMaxMidiBytes) return std::nullopt;
  std::string data = file.ReadAt(0, size_t(length));
  if (data.size() < 14 || data.compare(0, 4, "MThd") != 0) return std::nullopt;
  uint32_t headerLength = GetU32BE(Bytes(data, 4));
  if (headerLength < 6 || headerLength > data.size() - 8) return std::nullopt;
  uint16_t trackCount = GetU16BE(Bytes(data, 10));
  uint16_t division = GetU16BE(Bytes(data, 12));
  std::vector<TempoChange> tempos;
  uint64_t endTick = 0;
  int tracks = 0;
  for (size_t pos = 8 + headerLength; tracks < trackCount && pos + 8 <= data.size();) {
    uint32_t chunkLength = GetU32BE(Bytes(data, pos + 4));
    size_t body = pos + 8;
    size_t end = body + std::min<size_t>(chunkLength, data.size() - body);
    // Chunks of other kinds are skipped, as readers of the format must.
    if (data.compare(pos, 4, "MTrk") == 0) {
      endTick = std::max(endTick, ScanMidiTrack(data, body, end, tempos));
      ++tracks;
    }
    pos = end;
  }
  if (tracks == 0) return std::nullopt;
  if (division & 0x8000) {
    // Frames a second (stored negative) times ticks a frame; no tempo.
    int framesPerSecond = -int(int8_t(division >> 8));
    int ticksPerFrame = division & 0xFF;
    if (framesPerSecond <= 0 || ticksPerFrame == 0) return std::nullopt;
    return UnitsToMs(endTick, uint64_t(framesPerSecond) * uint64_t(ticksPerFrame));
  }
  if (division == 0) return std::nullopt;
  std::stable_sort(tempos.begin(), tempos.end(),
                   [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
  // Microseconds, in floating point: a hostile file's ticks times its
  // tempo would overflow an integer.
  double micros = 0;
  uint64_t tick = 0;
  uint32_t tempo = 500000;  // 120 beats a minute until told otherwise
  for (const TempoChange& change : tempos) {
    if (change.tick >= endTick) break;
    micros += double(change.tick - tick) * tempo / division;
    tick = change.tick;
    tempo = change.microsPerQuarter;
  }
  micros += double(endTick - tick) * tempo / division;
  constexpr double kLongest = double(uint64_t(1) << 52);
  return uint64_t(std::min(micros / 1000, kLongest));
}

// ---- FLAC -----------------------------------------------------------------

std::optional<uint64_t> FlacDurationMs(const Source& file) {
  std::string head = file.ReadAt(0, 8 + 34);
  if (head.size() < 8 + 34 || head.compare(0, 4, "fLaC") != 0 || (uint8_t(head[4]) & 0x7F) != 0)
    return std::nullopt;
  const uint8_t* info = Bytes(head, 8);
  uint32_t rate = uint32_t(info[10]) << 12 | uint32_t(info[11]) << 4 | info[12] >> 4;
  uint64_t samples = uint64_t(info[13] & 0x0F) << 32 | GetU32BE(info + 14);
  if (rate == 0 || samples == 0) return std::nullopt;
  return UnitsToMs(samples, rate);
}

// ---- Ogg (Vorbis, Opus) ---------------------------------------------------

constexpr size_t kOggPageHeader = 27;

// The first packet of the first page, as far as the page holds it.
std::string FirstOggPacket(const std::string& head) {
  if (head.size() < kOggPageHeader || head.compare(0, 4, "OggS") != 0) return {};
  size_t segments = uint8_t(head[26]);
  size_t start = kOggPageHeader + segments;
  return start < head.size() ? head.substr(start) : std::string();
}

std::optional<uint64_t> OggDurationMs(const Source& file, long long length, MediaFileKind kind) {
  std::string head = file.ReadAt(0, 512);
  std::string packet = FirstOggPacket(head);
  uint32_t serial = head.size() >= kOggPageHeader ? GetU32LE(Bytes(head, 14)) : 0;
  uint64_t rate = 0, preSkip = 0;
  if (kind == MediaFileKind::OggVorbis && packet.size() >= 16) rate = GetU32LE(Bytes(packet, 12));
  if (kind == MediaFileKind::OggOpus && packet.size() >= 12) {
    rate = 48000;  // Opus granules always count at 48 kHz
    preSkip = GetU16LE(Bytes(packet, 10));
  }
  if (rate == 0) return std::nullopt;
  // The last page of the stream carries the granule position of its end.
  long long from = std::max<long long>(0, length - static_cast<long long>(kOggTailBytes));
  std::string tail = file.ReadAt(from, size_t(length - from));
  for (size_t i = tail.size() >= kOggPageHeader ? tail.size() - kOggPageHeader + 1 : 0; i-- > 0;) {
    if (tail.compare(i, 4, "OggS") != 0 || GetU32LE(Bytes(tail, i + 14)) != serial) continue;
    uint64_t granule = Le64(Bytes(tail, i + 6));
    if (granule == ~uint64_t(0)) continue;  // no packet ends on that page
    return UnitsToMs(granule > preSkip ? granule - preSkip : 0, rate);
  }
  return std::nullopt;
}

bool IsMpegExtension(const std::string& ext) {
  static const char* const kExtensions[] = {"mp3", "mp2", "mp1", "mpa", "mpga"};
  return std::any_of(std::begin(kExtensions), std::end(kExtensions), [&](const char* e) { return ext == e; });
}

MediaFileKind IdentifyMedia(const Source& file, const std::string& name) {
  std::string head = file.ReadAt(0, 64);
  if (head.size() >= 12 && head.compare(0, 4, "RIFF") == 0 && head.compare(8, 4, "WAVE") == 0)
    return MediaFileKind::Wave;
  if (head.compare(0, 4, "MThd") == 0) return MediaFileKind::Midi;
  if (head.compare(0, 4, "fLaC") == 0) return MediaFileKind::Flac;
  if (head.compare(0, 4, "OggS") == 0) {
    std::string packet = FirstOggPacket(head);
    if (packet.compare(0, 7, "\x01vorbis") == 0) return MediaFileKind::OggVorbis;
    if (packet.compare(0, 8, "OpusHead") == 0) return MediaFileKind::OggOpus;
    return MediaFileKind::Unknown;
  }
  // MPEG audio has no signature: a tag, a frame at the start, or, for a
  // file named as MPEG audio, frames a little further in.
  if (head.compare(0, 3, "ID3") == 0) return MediaFileKind::Mpeg;
  size_t search = IsMpegExtension(LowerExtension(name)) ? kMpegSearchBytes : 0;
  if (FindMpegStart(file, file.Length(), search)) return MediaFileKind::Mpeg;
  return MediaFileKind::Unknown;
}

std::optional<uint64_t> MediaDurationMs(const Source& file, MediaFileKind kind) {
  long long length = file.Length();
  if (length <= 0) return std::nullopt;
  switch (kind) {
    case MediaFileKind::Wave: return WaveDurationMs(file, length);
    case MediaFileKind::Midi: return MidiDurationMs(file, length);
    case MediaFileKind::Mpeg: return MpegDurationMs(file, length);
    case MediaFileKind::Flac: return FlacDurationMs(file);
    case MediaFileKind::OggVorbis:
    case MediaFileKind::OggOpus: return OggDurationMs(file, length, kind);
    case MediaFileKind::Unknown: break;
  }
  return std::nullopt;
}

}  // namespace

MediaFileKind IdentifyMediaFile(const std::string& path) {
  CFile file;
  if (!file.Open(path, CFile::Mode::Read)) return MediaFileKind::Unknown;
  return IdentifyMedia(Source(file), path);
}

MediaFileKind IdentifyMediaBytes(std::span<const uint8_t> bytes, const std::string& name) {
  return IdentifyMedia(Source(bytes), name);
}

std::optional<uint64_t> MediaFileDurationMs(const std::string& path, MediaFileKind kind) {
  CFile file;
  if (!file.Open(path, CFile::Mode::Read)) return std::nullopt;
  return MediaDurationMs(Source(file), kind);
}

std::optional<uint64_t> MediaBytesDurationMs(std::span<const uint8_t> bytes, MediaFileKind kind) {
  return MediaDurationMs(Source(bytes), kind);
}

}  // namespace pellora
