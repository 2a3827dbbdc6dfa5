// PNG through libpng's simplified interface, which takes every colour
// type and depth (palette, grey, 16-bit, alpha) to 8-bit RGBA.
#include <png.h>

#include <memory>
#include <vector>

#include "tools/pictures/codecs.h"
#include "tools/pictures/exif.h"

namespace pellora::pictures {
namespace {

struct PngImage {
  png_image image{};
  PngImage() { image.version = PNG_IMAGE_VERSION; }
  ~PngImage() { png_image_free(&image); }
  PngImage(const PngImage&) = delete;
  PngImage& operator=(const PngImage&) = delete;
};

std::string Reason(const png_image& image) {
  return std::string("damaged PNG: ") + (image.message[0] ? image.message : "unreadable");
}

bool Begin(std::span<const uint8_t> bytes, PngImage& png, std::string& reason) {
  if (!png_image_begin_read_from_memory(&png.image, bytes.data(), bytes.size())) {
    reason = Reason(png.image);
    return false;
  }
  return SizeAllowed(png.image.width, png.image.height, bytes.size(), reason);
}

bool PngFacts(std::span<const uint8_t> bytes, StoredFacts& facts, std::string& reason) {
  PngImage png;
  if (!Begin(bytes, png, reason)) return false;
  facts.width = int(png.image.width);
  facts.height = int(png.image.height);
  std::span<const uint8_t> exif = FindPngExif(bytes);
  facts.exif.assign(exif.begin(), exif.end());
  facts.lossless = true;
  return true;
}

bool PngDecode(std::span<const uint8_t> bytes, int, int, HDIB& picture, std::string& reason, std::string&) {
  PngImage png;
  if (!Begin(bytes, png, reason)) return false;
  png.image.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> rows(PNG_IMAGE_SIZE(png.image));
  if (!png_image_finish_read(&png.image, nullptr, rows.data(), 0, nullptr)) {
    reason = Reason(png.image);
    return false;
  }
  picture = PictureFromRgb(rows.data(), int(png.image.width), int(png.image.height), PNG_IMAGE_ROW_STRIDE(png.image), 4);
  if (!picture) reason = "not enough memory for the picture";
  return bool(picture);
}

}  // namespace

const Codec kPngCodec = {PictureFormat::Png, &PngFacts, &PngDecode};

}  // namespace pellora::pictures
