// Small blocks for the image tests, pixel by pixel in stored order (row 0
// is the bottom row).
#pragma once

#include <cstring>
#include <functional>

#include "image/dib.h"
#include "image/dib_pixels.h"
#include "tests/support/picture_files.h"

namespace pellora::test {

inline HDIB Dib24(int width, int height, const std::function<Rgb(int, int)>& colour) {
  HDIB dib = CreateDIB(uint32_t(width), height, 24);
  std::optional<DibRows> rows = DibRows::Open(dib);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      Rgb c = colour(x, y);
      uint8_t* p = rows->Row(y) + 3 * x;
      p[0] = c.b;
      p[1] = c.g;
      p[2] = c.r;
    }
  return dib;
}

inline HDIB SolidDib24(int width, int height, Rgb colour) {
  return Dib24(width, height, [=](int, int) { return colour; });
}

// A palette block of 1, 4 or 8 bits with the given table and indices.
inline HDIB PaletteDib(int width, int height, int bits, const std::vector<Rgb>& table,
                       const std::function<int(int, int)>& index) {
  HDIB dib = CreateDIB(uint32_t(width), height, uint16_t(bits));
  BITMAPINFOHEADER h;
  std::memcpy(&h, dib.data(), sizeof h);
  uint32_t entries = bits == 1 ? 2 : h.biClrUsed;
  auto* quads = reinterpret_cast<RGBQUAD*>(dib.data() + 40);
  for (uint32_t i = 0; i < entries && i < table.size(); ++i) quads[i] = {table[i].b, table[i].g, table[i].r, 0};
  std::optional<DibRows> rows = DibRows::Open(dib);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* row = rows->Row(y);
      int v = index(x, y);
      if (bits == 8) row[x] = uint8_t(v);
      else if (bits == 4) row[x / 2] = uint8_t(row[x / 2] | (x % 2 ? v : v << 4));
      else row[x / 8] = uint8_t(row[x / 8] | (v << (7 - x % 8)));
    }
  return dib;
}

// Colour of a pixel in stored order, whatever the block's depth.
inline Rgb PixelAt(const HDIB& dib, int x, int y) {
  std::optional<DibPixels> pixels = DibPixels::Open(dib);
  int32_t rgb[3];
  pixels->RowRgb(y, x, 1, rgb);
  return {uint8_t(rgb[0]), uint8_t(rgb[1]), uint8_t(rgb[2])};
}

// The byte (palette index) of an 8-bit block in stored order.
inline uint8_t IndexAt(HDIB& dib, int x, int y) { return DibRows::Open(dib)->Row(y)[x]; }

inline int BlockWidth(const HDIB& dib) { return DIBWidth(dib.data()); }
inline int BlockHeight(const HDIB& dib) { return DIBHeight(dib.data()); }
inline int BlockBits(const HDIB& dib) { return DIBBitCount(dib.data()); }

}  // namespace pellora::test
