#include "image/bmp_reader.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "image/dib_pixels.h"
#include "platform/base/byte_order.h"

namespace pellora {
namespace {

constexpr uint16_t kBitmapMagic = 0x4D42;  // "BM"
constexpr size_t kFileHeaderSize = 14;
// A bitmap file is read only this far: no picture the reader accepts
// needs more than its pixels, a colour table and its headers.
constexpr size_t kMaxFileBytes = size_t(512) << 20;
// No picture of a slide show needs more pixel memory than this.
constexpr uint64_t kMaxPixelBytes = uint64_t(256) << 20;
// A file may be short of its pixels (the rest stays black), but a block
// may not grow far beyond what the file holds: at most this many times
// the bytes present, or kFreeAllowance whatever the file holds.
constexpr uint64_t kMaxUncompressedGrowth = 16;
constexpr uint64_t kMaxRunLengthGrowth = 2048;
constexpr uint64_t kFreeAllowance = uint64_t(4) << 20;

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

bool IsBitmap(std::span<const uint8_t> head) { return head.size() >= 2 && GetU16LE(head.data()) == kBitmapMagic; }

PictureRead Refused(std::string reason) { return {{}, std::move(reason), {}}; }

std::string Number(uint64_t n) { return std::to_string(n); }

// Reads the headers at the start of bytes; headerEnd is where the colour
// table begins. Empty, or why the headers cannot be read.
std::string ReadHeaders(std::span<const uint8_t> bytes, FileFacts& facts, size_t& headerEnd) {
  if (!IsBitmap(bytes)) return "not a BMP picture";
  if (bytes.size() < kFileHeaderSize + 4) return "truncated BMP";
  facts.pixelOffset = GetU32LE(bytes.data() + 10);
  const uint8_t* header = bytes.data() + kFileHeaderSize;
  size_t available = bytes.size() - kFileHeaderSize;
  facts.headerSize = GetU32LE(header);
  BITMAPINFOHEADER& info = facts.info;
  if (facts.headerSize == sizeof(BITMAPCOREHEADER)) {
    if (available < sizeof(BITMAPCOREHEADER)) return "truncated BMP";
    facts.core = true;
    info.biWidth = GetU16LE(header + 4);
    info.biHeight = GetU16LE(header + 6);
    info.biPlanes = GetU16LE(header + 8);
    info.biBitCount = GetU16LE(header + 10);
    headerEnd = kFileHeaderSize + sizeof(BITMAPCOREHEADER);
    return {};
  }
  if (!IsKnownHeaderSize(facts.headerSize)) return "unsupported BMP header of " + Number(facts.headerSize) + " bytes";
  if (available < facts.headerSize) return "truncated BMP";
  uint8_t kept[sizeof info] = {};
  std::memcpy(kept, header, std::min<size_t>(facts.headerSize, sizeof kept));
  std::memcpy(&info, kept, sizeof info);
  headerEnd = kFileHeaderSize + facts.headerSize;
  return {};
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

PictureRead ReadBitmap(std::span<const uint8_t> bytes) {
  FileFacts facts;
  size_t tableStart = 0;
  if (std::string refusal = ReadHeaders(bytes, facts, tableStart); !refusal.empty()) return Refused(refusal);
  const BITMAPINFOHEADER& info = facts.info;
  const uint64_t length = bytes.size();

  // Only what the rest of the system draws: 1, 4, 8 or 24 bits,
  // uncompressed, or 8 bits run-length; positive sizes.
  int bits = info.biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return Refused("unsupported BMP of " + Number(bits) + " bits");
  bool runLength = info.biCompression == BI_RLE8;
  if (info.biCompression != BI_RGB && !(runLength && bits == 8))
    return Refused("unsupported BMP compression " + Number(info.biCompression));
  if (info.biWidth <= 0 || info.biHeight == 0 || info.biHeight == INT32_MIN) return Refused("BMP of no size");
  // Top-down rows (negative height) are turned over once read; run-length
  // data may not be top-down.
  bool topDown = info.biHeight < 0;
  if (topDown && runLength) return Refused("unsupported top-down run-length BMP");
  int64_t width = info.biWidth, height = topDown ? -int64_t(info.biHeight) : info.biHeight;
  std::string size = Number(uint64_t(width)) + " x " + Number(uint64_t(height));
  if (width > kMaxPictureSide || height > kMaxPictureSide) return Refused("BMP picture too large (" + size + ")");

  // Colour table: the file's entries (3 bytes each in a core file); the
  // block keeps those a pixel can index, none for 24 bits.
  uint64_t fileEntries = info.biClrUsed != 0 ? info.biClrUsed : bits <= 8 ? (1u << bits) : 0;
  uint64_t entrySize = facts.core ? 3 : 4;
  if (fileEntries * entrySize > length - tableStart) return Refused("truncated BMP");
  uint32_t kept = bits <= 8 ? uint32_t(std::min<uint64_t>(fileEntries, 1u << bits)) : 0;

  size_t stride = DIBStride(uint32_t(bits), uint32_t(width));
  uint64_t area = uint64_t(stride) * uint64_t(height);
  uint64_t pixelStart = facts.pixelOffset != 0 ? facts.pixelOffset : tableStart + fileEntries * entrySize;
  uint64_t present = pixelStart < length ? length - pixelStart : 0;
  uint64_t streamBytes = runLength ? (info.biSizeImage != 0 ? std::min<uint64_t>(info.biSizeImage, present) : present)
                                   : 0;
  uint64_t allowed = std::max(kFreeAllowance, (runLength ? streamBytes * kMaxRunLengthGrowth
                                                         : present * kMaxUncompressedGrowth));
  if (area > kMaxPixelBytes) return Refused("BMP picture too large (" + size + ")");
  if (area > allowed) return Refused("truncated BMP: " + size + " pixels in " + Number(length) + " bytes");

  size_t tableBytes = size_t(kept) * sizeof(RGBQUAD);
  HDIB dib = GlobalBlock::Allocate(sizeof(BITMAPINFOHEADER) + tableBytes + size_t(area), true);
  if (!dib) return Refused("not enough memory for the BMP picture (" + size + ")");
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

  auto* entries = reinterpret_cast<RGBQUAD*>(dib.data() + sizeof(BITMAPINFOHEADER));
  for (uint32_t i = 0; i < kept; ++i) {
    const uint8_t* e = bytes.data() + tableStart + size_t(i) * entrySize;
    entries[i] = {e[0], e[1], e[2], 0};
  }

  uint8_t* pixels = dib.data() + sizeof(BITMAPINFOHEADER) + tableBytes;
  const uint8_t* source = bytes.data() + std::min(pixelStart, length);
  PictureRead read;
  if (runLength) {
    DecodeRLE8(out, pixels, size_t(area), source, size_t(streamBytes));
  } else {
    std::memcpy(pixels, source, size_t(std::min(area, present)));
    if (topDown) FlipRows(pixels, stride, size_t(height));
    // The rows the file lacks stay black.
    if (present < area) read.warning = "truncated BMP";
  }
  read.picture = std::move(dib);
  return read;
}

namespace {
constexpr const char* kBitmapTypes[] = {"BMP", "DIB", "RLE"};
}  // namespace

const PictureReader kBitmapReader = {"BMP", kBitmapTypes, &IsBitmap, &ReadBitmap, kMaxFileBytes};

HDIB ReadBitmapFile(const std::string& path) { return ReadPictureFile(kBitmapReader, path).picture; }

}  // namespace pellora
