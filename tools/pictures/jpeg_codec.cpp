// JPEG through the player's own reader, reduced while decoding when the
// picture is to be scaled down anyway.
#include <cstring>

#include "image/jpeg_reader.h"
#include "tools/pictures/codecs.h"
#include "tools/pictures/exif.h"

namespace pellora::pictures {
namespace {

// The frame header's size: the first start-of-frame segment before the
// image data.
bool JpegFacts(std::span<const uint8_t> bytes, StoredFacts& facts, std::string& reason) {
  std::span<const uint8_t> exif = FindJpegExif(bytes);
  facts.exif.assign(exif.begin(), exif.end());
  size_t at = 2;
  while (at + 4 <= bytes.size() && bytes[at] == 0xFF) {
    uint8_t marker = bytes[at + 1];
    if (marker == 0xFF) {
      ++at;
      continue;
    }
    if (marker == 0xDA || marker == 0xD9) break;
    size_t length = size_t(bytes[at + 2]) << 8 | bytes[at + 3];
    if (length < 2 || bytes.size() - at - 2 < length) break;
    bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame && length >= 8) {
      facts.height = bytes[at + 5] << 8 | bytes[at + 6];
      facts.width = bytes[at + 7] << 8 | bytes[at + 8];
      return SizeAllowed(uint64_t(facts.width), uint64_t(facts.height), bytes.size(), reason);
    }
    at += 2 + length;
  }
  reason = "damaged JPEG: no frame header";
  return false;
}

bool JpegDecode(std::span<const uint8_t> bytes, int fitWidth, int fitHeight, HDIB& picture, std::string& reason,
                std::string& warning) {
  StoredFacts facts;
  int reduction = 1;
  if (fitWidth > 0 && fitHeight > 0 && JpegFacts(bytes, facts, reason)) {
    while (reduction < 8 && (facts.width + reduction * 2 - 1) / (reduction * 2) >= fitWidth &&
           (facts.height + reduction * 2 - 1) / (reduction * 2) >= fitHeight)
      reduction *= 2;
  }
  PictureRead read = ReadJpegReduced(bytes, reduction);
  if (!read.picture) {
    reason = read.reason;
    return false;
  }
  picture = std::move(read.picture);
  warning = read.warning;
  return true;
}

}  // namespace

const Codec kJpegCodec = {PictureFormat::Jpeg, &JpegFacts, &JpegDecode};

}  // namespace pellora::pictures
