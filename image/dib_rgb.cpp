#include "image/dib_rgb.h"

#include <new>

#include "image/dib_pixels.h"
#include "platform/draw/png_writer.h"

namespace pellora {

bool DIBToRgb(const HDIB& dib, RgbImage& image) {
  std::optional<DibPixels> pixels = DibPixels::Open(dib);
  if (!pixels) return false;
  int width = pixels->Width(), height = pixels->Height();
  std::vector<uint8_t> scratch;
  try {
    image.rgb.assign(size_t(width) * size_t(height) * 3, 0);
    scratch.resize(size_t(width) * 3);
  } catch (const std::bad_alloc&) {
    return false;
  }
  image.width = width;
  image.height = height;
  for (int y = 0; y < height; ++y) {
    const uint8_t* bgr = pixels->RowBgr(height - 1 - y, 0, width, scratch.data());
    uint8_t* out = &image.rgb[size_t(y) * size_t(width) * 3];
    for (int x = 0; x < width; ++x, bgr += 3, out += 3) {
      out[0] = bgr[2];
      out[1] = bgr[1];
      out[2] = bgr[0];
    }
  }
  return true;
}

bool WriteDIBPng(const std::string& path, const HDIB& dib) {
  RgbImage image;
  if (!DIBToRgb(dib, image)) return false;
  return WritePngRgb(path, image.width, image.height, image.rgb.data(), size_t(image.width) * 3);
}

}  // namespace pellora
