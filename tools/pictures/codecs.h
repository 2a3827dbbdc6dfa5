// The decoders behind probing and converting, one per format, each over
// its Debian library. A build without a format's library has its entry
// with no functions, so that such files are named, not mistaken.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "image/dib.h"
#include "tools/pictures/picture_format.h"

namespace pellora::pictures {

// What a file's header says, without decoding its pixels.
struct StoredFacts {
  int width = 0, height = 0;  // as stored, before any turning
  // The EXIF block (a TIFF structure), or empty.
  std::vector<uint8_t> exif;
  // The orientation (1 to 8) the format keeps outside EXIF; 0 for none.
  int orientation = 0;
  // The decoder turns the picture upright itself (HEIF's own transforms),
  // so the EXIF orientation is not applied again.
  bool turnsItself = false;
  // Nothing is lost by decoding and storing it uncompressed.
  bool lossless = false;
};

struct Codec {
  PictureFormat format;
  // Null in a build without the format's library.
  bool (*facts)(std::span<const uint8_t> bytes, StoredFacts& facts, std::string& reason);
  // A 24-bit block of the picture as stored (transparent parts blended
  // onto black). fitWidth x fitHeight is the size it will be scaled down
  // to, which a decoder may decode to directly as long as it stays at
  // least that large. False with the reason; warning for what was passed.
  bool (*decode)(std::span<const uint8_t> bytes, int fitWidth, int fitHeight, HDIB& picture, std::string& reason,
                 std::string& warning);
};

extern const Codec kJpegCodec, kBmpCodec, kPngCodec, kWebpCodec, kHeifCodec, kTiffCodec, kGifCodec;

// The codec of a format; null for Unknown.
const Codec* CodecFor(PictureFormat format);

// Pictures are refused beyond these sizes: the sides the player handles,
// kMaxPixels in all, and no more than kPixelsPerByte for each byte of the
// file beyond the first kFreePixels (a tiny file claiming a huge picture
// is not a photograph).
bool SizeAllowed(uint64_t width, uint64_t height, size_t fileBytes, std::string& reason);

// A 24-bit block from rows of red, green, blue (channels 3) or red,
// green, blue, alpha (channels 4) bytes, the top row first, each row
// stride bytes apart; alpha blends onto black. Empty when out of memory.
HDIB PictureFromRgb(const uint8_t* rows, int width, int height, size_t stride, int channels);

}  // namespace pellora::pictures
