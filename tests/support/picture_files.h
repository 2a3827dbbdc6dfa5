// Picture files made and read by the tests themselves: bitmap files
// written byte by byte, JPEG files compressed with libjpeg, PNG files read
// back with libpng.
#pragma once

#include <cstdio>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <png.h>

#include "image/jpeg_writer.h"
#include "tests/support/test_support.h"

namespace pellora::test {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// Rows of a bitmap file as stored: bottom row first (top row first when
// topDown), each padded to 4 bytes. pixel(x, y) gives the palette index
// (1, 4, 8 bits) or, for 24 bits, index unused and colour(x, y) the colour;
// y counts from the top of the picture.
inline std::string BitmapRows(int width, int height, int bits, const std::function<int(int, int)>& index,
                              const std::function<Rgb(int, int)>& colour = {}, bool topDown = false) {
  size_t stride = size_t((bits * width + 31) / 32 * 4);
  std::string rows;
  for (int stored = 0; stored < height; ++stored) {
    int y = topDown ? stored : height - 1 - stored;
    std::string row(stride, '\0');
    for (int x = 0; x < width; ++x) {
      if (bits == 24) {
        Rgb c = colour(x, y);
        row[size_t(3 * x)] = char(c.b);
        row[size_t(3 * x + 1)] = char(c.g);
        row[size_t(3 * x + 2)] = char(c.r);
        continue;
      }
      int v = index(x, y);
      int perByte = 8 / bits;
      int shift = 8 - bits * (x % perByte + 1);
      row[size_t(x / perByte)] = char(uint8_t(row[size_t(x / perByte)]) | uint8_t(v << shift));
    }
    rows += row;
  }
  return rows;
}

// A bitmap file: file header, a 40-byte (or 12-byte core) header, the
// palette and the pixel data, with the fields a test wants to vary.
struct BitmapFile {
  int width = 1;
  int height = 1;
  int bits = 24;
  std::vector<Rgb> palette;
  bool core = false;
  uint32_t headerSize = 40;  // 40, or a longer Windows header (padded with zeros)
  uint32_t compression = 0;
  uint32_t clrUsed = 0;
  uint32_t sizeImage = 0;
  uint32_t gap = 0;          // bytes between the palette and the pixels
  bool zeroOffBits = false;  // bfOffBits 0: pixels right after the palette
  std::string pixels;

  std::string Bytes() const {
    test::Bytes b;
    uint32_t header = core ? 12 : headerSize;
    uint32_t table = uint32_t(palette.size()) * (core ? 3 : 4);
    uint32_t offBits = zeroOffBits ? 0 : 14 + header + table + gap;
    b.Raw("BM").DWord(14 + header + table + gap + uint32_t(pixels.size())).Word(0).Word(0).DWord(offBits);
    if (core) {
      b.DWord(12).Word(uint16_t(width)).Word(uint16_t(height)).Word(1).Word(uint16_t(bits));
    } else {
      b.DWord(header).DWord(uint32_t(width)).DWord(uint32_t(height)).Word(1).Word(uint16_t(bits));
      b.DWord(compression).DWord(sizeImage).DWord(2835).DWord(2835).DWord(clrUsed).DWord(0);
      for (uint32_t i = 40; i < header; ++i) b.Byte(0);
    }
    for (const Rgb& c : palette) {
      b.Byte(c.b).Byte(c.g).Byte(c.r);
      if (!core) b.Byte(0);
    }
    for (uint32_t i = 0; i < gap; ++i) b.Byte(0xEE);
    b.Raw(pixels);
    return b.str();
  }
};

// Compresses samples (top row first; 1, 3 or 4 components: grey, RGB or
// CMYK) into a JPEG file. CMYK files are written with Adobe's marker, so
// the samples must be given inverted as Adobe's files hold them.
inline bool WriteJpeg(const std::string& path, int width, int height, const std::vector<uint8_t>& samples,
                      int components, int quality = 90, bool progressive = false) {
  return WriteJpegFile(path, width, height, samples.data(), components, quality, progressive);
}

// A PNG file's pixels as RGB, top row first.
inline bool ReadPng(const std::string& path, int& width, int& height, std::vector<uint8_t>& rgb) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  rgb.assign(PNG_IMAGE_SIZE(image), 0);
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return false;
  width = int(image.width);
  height = int(image.height);
  return true;
}

}  // namespace pellora::test
