#include "tools/pictures/codecs.h"

#include "image/dib_pixels.h"

namespace pellora::pictures {
namespace {

constexpr uint64_t kMaxPixels = uint64_t(128) << 20;
constexpr uint64_t kFreePixels = uint64_t(16) << 20;
constexpr uint64_t kPixelsPerByte = 1024;

}  // namespace

const Codec* CodecFor(PictureFormat format) {
  static constexpr const Codec* kCodecs[] = {&kJpegCodec, &kBmpCodec,  &kPngCodec, &kWebpCodec,
                                             &kHeifCodec, &kTiffCodec, &kGifCodec};
  if (format == PictureFormat::Avif) format = PictureFormat::Heic;
  for (const Codec* codec : kCodecs)
    if (codec->format == format) return codec;
  return nullptr;
}

bool SizeAllowed(uint64_t width, uint64_t height, size_t fileBytes, std::string& reason) {
  uint64_t pixels = width * height;
  if (width == 0 || height == 0) {
    reason = "the picture has no pixels";
    return false;
  }
  if (width > uint64_t(kMaxPictureSide) || height > uint64_t(kMaxPictureSide) || pixels > kMaxPixels ||
      pixels > kFreePixels + uint64_t(fileBytes) * kPixelsPerByte) {
    reason = "the picture is too large (" + std::to_string(width) + " x " + std::to_string(height) + ")";
    return false;
  }
  return true;
}

HDIB PictureFromRgb(const uint8_t* rows, int width, int height, size_t stride, int channels) {
  HDIB picture = CreateDIB(uint32_t(width), height, 24);
  std::optional<DibRows> out = DibRows::Open(picture);
  if (!out) return {};
  for (int y = 0; y < height; ++y) {
    const uint8_t* in = rows + size_t(y) * stride;
    uint8_t* row = out->Row(height - 1 - y);
    for (int x = 0; x < width; ++x, in += channels, row += 3) {
      unsigned alpha = channels == 4 ? in[3] : 255;
      row[0] = uint8_t((in[2] * alpha + 127) / 255);
      row[1] = uint8_t((in[1] * alpha + 127) / 255);
      row[2] = uint8_t((in[0] * alpha + 127) / 255);
    }
  }
  return picture;
}

}  // namespace pellora::pictures
