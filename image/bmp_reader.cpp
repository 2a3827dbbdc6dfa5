#include "image/bmp_reader.h"

#include <algorithm>
#include <cstring>

#include "image/dib_pixels.h"
#include "platform/file.h"

namespace pellora {
namespace {

constexpr uint16_t kBitmapMagic = 0x4D42;  // "BM"
constexpr size_t kFileHeaderSize = 14;
// Pixel data is read in pieces of this size.
constexpr size_t kReadPiece = 0x7FFF;
// No picture of a slide show needs more pixel memory than this.
constexpr uint64_t kMaxPixelBytes = uint64_t(256) << 20;
// A file may be short of its pixels (the rest stays black), but a block
// may not grow far beyond what the file holds: at most this many times
// the bytes present, or kFreeAllowance whatever the file holds.
constexpr uint64_t kMaxUncompressedGrowth = 16;
constexpr uint64_t kMaxRunLengthGrowth = 2048;
constexpr uint64_t kFreeAllowance = uint64_t(4) << 20;

uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

// Reads up to count bytes, in pieces, stopping at the first short read.
size_t ReadUpTo(CFile& file, uint8_t* data, size_t count) {
  size_t done = 0;
  while (done < count) {
    size_t piece = std::min(kReadPiece, count - done);
    long long got = file.Read(data + done, piece);
    if (got <= 0) break;
    done += size_t(got);
    if (size_t(got) < piece) break;
  }
  return done;
}

bool ReadExactly(CFile& file, uint8_t* data, size_t count) { return ReadUpTo(file, data, count) == count; }

// Header sizes that begin with the Windows information header's fields
// (Windows 3, its bit-field and alpha successors, V4, V5, OS/2 2.x) or
// with its first five fields only (the short OS/2 2.x form).
bool IsKnownHeaderSize(uint32_t size) {
  switch (size) {
    case 16: case 40: case 52: case 56: case 64: case 108: case 124: return true;
    default: return false;
  }
}

// What the file's headers say, in the form this reader checks.
struct FileFacts {
  uint32_t pixelOffset = 0;  // bfOffBits
  bool core = false;
  BITMAPINFOHEADER info{};
  uint32_t headerSize = 0;
};

bool ReadHeaders(CFile& file, FileFacts& facts) {
  uint8_t fileHeader[kFileHeaderSize];
  if (!ReadExactly(file, fileHeader, sizeof fileHeader) || U16(fileHeader) != kBitmapMagic) return false;
  facts.pixelOffset = U32(fileHeader + 10);
  uint8_t header[40] = {};
  if (!ReadExactly(file, header, 4)) return false;
  facts.headerSize = U32(header);
  BITMAPINFOHEADER& info = facts.info;
  if (facts.headerSize == sizeof(BITMAPCOREHEADER)) {
    if (!ReadExactly(file, header + 4, 8)) return false;
    facts.core = true;
    info.biWidth = U16(header + 4);
    info.biHeight = U16(header + 6);
    info.biPlanes = U16(header + 8);
    info.biBitCount = U16(header + 10);
    return true;
  }
  if (!IsKnownHeaderSize(facts.headerSize)) return false;
  size_t kept = std::min<size_t>(facts.headerSize, sizeof header);
  if (!ReadExactly(file, header + 4, kept - 4)) return false;
  if (facts.headerSize > kept && file.Seek(facts.headerSize - kept, CFile::Origin::Current) < 0) return false;
  std::memcpy(&info, header, sizeof info);
  return true;
}

// Flips the rows of a top-down picture into the bottom-up order of blocks.
void FlipRows(uint8_t* bits, size_t stride, size_t height) {
  std::vector<uint8_t> swap(stride);
  for (size_t top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
    uint8_t* a = bits + top * stride;
    uint8_t* b = bits + bottom * stride;
    std::memcpy(swap.data(), a, stride);
    std::memcpy(a, b, stride);
    std::memcpy(b, swap.data(), stride);
  }
}

}  // namespace

void DecodeRLE8(const BITMAPINFOHEADER& header, uint8_t* pixels, size_t pixelBytes, const uint8_t* stream,
                size_t streamBytes) {
  if (header.biWidth <= 0) return;
  const size_t rowLength = (size_t(header.biWidth) + 3) & ~size_t(3);
  size_t pos = 0;       // output position
  size_t rowStart = 0;  // start of the row the last end-of-line or delta reached
  size_t in = 0;
  // Writes n copies of value (or n stream bytes) at pos, clipped to the area.
  auto clippedLength = [&](size_t n) { return pos < pixelBytes ? std::min(n, pixelBytes - pos) : 0; };
  while (in + 2 <= streamBytes && pos < pixelBytes) {
    uint8_t count = stream[in], value = stream[in + 1];
    in += 2;
    if (count > 0) {
      std::memset(pixels + pos, value, clippedLength(count));
      pos += count;
      continue;
    }
    switch (value) {
      case 0:  // end of line
        rowStart += rowLength;
        pos = rowStart;
        break;
      case 1:  // end of bitmap
        return;
      case 2: {  // delta: right dx, up dy rows
        if (in + 2 > streamBytes) return;
        size_t dx = stream[in], dy = stream[in + 1];
        in += 2;
        rowStart += dy * rowLength;
        pos += dy * rowLength + dx;
        break;
      }
      default: {  // literal run of `value` bytes, padded to a word
        size_t n = value;
        size_t present = std::min(n, streamBytes - in);
        std::memcpy(pixels + pos, stream + in, clippedLength(present));
        if (present < n) return;
        pos += n;
        in += n + (n & 1);
        break;
      }
    }
  }
}

HDIB ReadBitmap(CFile& file) {
  long long start = file.Position();
  long long length = file.Length();
  if (start < 0 || length < start) return {};
  FileFacts facts;
  if (!ReadHeaders(file, facts)) return {};
  const BITMAPINFOHEADER& info = facts.info;

  // Only what the rest of the system draws: 1, 4, 8 or 24 bits,
  // uncompressed, or 8 bits run-length; positive sizes.
  int bits = info.biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return {};
  bool runLength = info.biCompression == BI_RLE8;
  if (info.biCompression != BI_RGB && !(runLength && bits == 8)) return {};
  if (info.biWidth <= 0 || info.biHeight == 0 || info.biHeight == INT32_MIN) return {};
  // Top-down rows (negative height) are turned over once read; run-length
  // data may not be top-down.
  bool topDown = info.biHeight < 0;
  if (topDown && runLength) return {};
  int64_t width = info.biWidth, height = topDown ? -int64_t(info.biHeight) : info.biHeight;
  if (width > kMaxPictureSide || height > kMaxPictureSide) return {};

  // Colour table: the file's entries (3 bytes each in a core file); the
  // block keeps those a pixel can index, none for 24 bits.
  uint64_t fileEntries = info.biClrUsed != 0 ? info.biClrUsed : bits <= 8 ? (1u << bits) : 0;
  uint64_t entrySize = facts.core ? 3 : 4;
  long long tableStart = file.Position();
  if (tableStart < 0 || fileEntries * entrySize > uint64_t(length - tableStart)) return {};
  uint32_t kept = bits <= 8 ? uint32_t(std::min<uint64_t>(fileEntries, 1u << bits)) : 0;

  size_t stride = DIBStride(uint32_t(bits), uint32_t(width));
  uint64_t area = uint64_t(stride) * uint64_t(height);
  uint64_t pixelStart = facts.pixelOffset != 0 ? uint64_t(start) + facts.pixelOffset
                                               : uint64_t(tableStart) + fileEntries * entrySize;
  uint64_t present = pixelStart < uint64_t(length) ? uint64_t(length) - pixelStart : 0;
  uint64_t streamBytes = runLength ? (info.biSizeImage != 0 ? std::min<uint64_t>(info.biSizeImage, present) : present)
                                   : 0;
  uint64_t allowed = std::max(kFreeAllowance, (runLength ? streamBytes * kMaxRunLengthGrowth
                                                         : present * kMaxUncompressedGrowth));
  if (area > kMaxPixelBytes || area > allowed) return {};

  size_t tableBytes = size_t(kept) * sizeof(RGBQUAD);
  HDIB dib = GlobalBlock::Allocate(sizeof(BITMAPINFOHEADER) + tableBytes + size_t(area), true);
  if (!dib) return dib;
  BITMAPINFOHEADER out{};
  out.biSize = sizeof(BITMAPINFOHEADER);
  out.biWidth = int32_t(width);
  out.biHeight = int32_t(height);
  out.biPlanes = 1;
  out.biBitCount = uint16_t(bits);
  out.biCompression = BI_RGB;
  out.biSizeImage = uint32_t(area);
  out.biXPelsPerMeter = info.biXPelsPerMeter;
  out.biYPelsPerMeter = info.biYPelsPerMeter;
  out.biClrUsed = kept;
  out.biClrImportant = info.biClrImportant;
  std::memcpy(dib.data(), &out, sizeof out);

  if (kept != 0) {
    std::vector<uint8_t> table(size_t(kept) * entrySize);
    if (!ReadExactly(file, table.data(), table.size())) return {};
    auto* entries = reinterpret_cast<RGBQUAD*>(dib.data() + sizeof(BITMAPINFOHEADER));
    for (uint32_t i = 0; i < kept; ++i) {
      const uint8_t* e = &table[size_t(i) * entrySize];
      entries[i] = {e[0], e[1], e[2], 0};
    }
  }
  if (file.Seek(static_cast<long long>(pixelStart), CFile::Origin::Begin) < 0) return {};

  uint8_t* pixels = dib.data() + sizeof(BITMAPINFOHEADER) + tableBytes;
  if (runLength) {
    GlobalBlock stream = GlobalBlock::Allocate(size_t(streamBytes), false);
    if (!stream) return {};
    size_t got = ReadUpTo(file, stream.data(), size_t(streamBytes));
    DecodeRLE8(out, pixels, size_t(area), stream.data(), got);
  } else {
    ReadUpTo(file, pixels, size_t(area));
    if (topDown) FlipRows(pixels, stride, size_t(height));
  }
  return dib;
}

HDIB ReadBitmapFile(const std::string& path) {
  CFile file;
  if (!file.Open(path, CFile::Mode::Read)) return {};
  return ReadBitmap(file);
}

}  // namespace pellora
