// Bitmaps through the player's own reader.
#include "image/bmp_reader.h"
#include "image/dib_pixels.h"
#include "tools/pictures/codecs.h"

namespace pellora::pictures {
namespace {

uint32_t Get32(std::span<const uint8_t> b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

bool BmpFacts(std::span<const uint8_t> bytes, StoredFacts& facts, std::string& reason) {
  facts.lossless = true;
  if (bytes.size() < 26) {
    reason = "truncated BMP";
    return false;
  }
  if (Get32(bytes, 14) == 12) {
    facts.width = bytes[18] | bytes[19] << 8;
    facts.height = bytes[20] | bytes[21] << 8;
  } else {
    int32_t height = int32_t(Get32(bytes, 22));
    facts.width = int(int32_t(Get32(bytes, 18)));
    facts.height = height == INT32_MIN ? 0 : height < 0 ? -height : height;
  }
  if (facts.width < 0) facts.width = 0;
  return SizeAllowed(uint64_t(facts.width), uint64_t(facts.height), bytes.size(), reason);
}

bool BmpDecode(std::span<const uint8_t> bytes, int, int, HDIB& picture, std::string& reason, std::string& warning) {
  PictureRead read = ReadBitmap(bytes);
  std::optional<DibPixels> pixels = read.picture ? DibPixels::Open(read.picture) : std::nullopt;
  if (!pixels) {
    reason = read.picture ? "unsupported BMP" : read.reason;
    return false;
  }
  warning = read.warning;
  if (pixels->BitCount() == 24) {
    picture = std::move(read.picture);
    return true;
  }
  picture = CreateDIB(uint32_t(pixels->Width()), pixels->Height(), 24);
  std::optional<DibRows> out = DibRows::Open(picture);
  if (!out) {
    reason = "not enough memory for the picture";
    return false;
  }
  for (int y = 0; y < pixels->Height(); ++y) pixels->RowBgr(y, 0, pixels->Width(), out->Row(y));
  return true;
}

}  // namespace

const Codec kBmpCodec = {PictureFormat::Bmp, &BmpFacts, &BmpDecode};

}  // namespace pellora::pictures
