#include "image/dib_pixels.h"

#include <algorithm>

namespace pellora {

std::optional<DibPixels> DibPixels::Open(const HDIB& dib) {
  std::optional<DibLayout> layout = InspectDIB(dib);
  if (!layout) return std::nullopt;
  int bits = layout->bitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return std::nullopt;
  if (layout->width > kMaxPictureSide || layout->height > kMaxPictureSide) return std::nullopt;
  DibPixels pixels;
  pixels.layout_ = *layout;
  pixels.bits_ = dib.data() + layout->bitsOffset;
  if (bits <= 8) {
    auto* table = reinterpret_cast<const RGBQUAD*>(dib.data() + sizeof(BITMAPINFOHEADER));
    uint32_t entries = std::min<uint32_t>(layout->colours, 256);
    for (uint32_t i = 0; i < entries; ++i)
      pixels.table_[i] = {table[i].rgbBlue, table[i].rgbGreen, table[i].rgbRed};
  }
  return pixels;
}

std::optional<DibRows> DibRows::Open(HDIB& dib) {
  std::optional<DibLayout> layout = InspectDIB(dib);
  if (!layout) return std::nullopt;
  return DibRows{dib.data() + layout->bitsOffset, layout->stride, layout->width, layout->height, layout->bitCount};
}

uint8_t DibPixels::Index(const uint8_t* row, int x) const {
  switch (layout_.bitCount) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    default: return row[x];
  }
}

const uint8_t* DibPixels::RowBgr(int y, int x0, int count, uint8_t* scratch) const {
  const uint8_t* row = Row(y);
  if (layout_.bitCount == 24) return row + size_t(x0) * 3;
  uint8_t* out = scratch;
  if (layout_.bitCount == 8) {
    for (int x = x0; x < x0 + count; ++x, out += 3) {
      const auto& c = table_[row[x]];
      out[0] = c[0];
      out[1] = c[1];
      out[2] = c[2];
    }
  } else {
    for (int x = x0; x < x0 + count; ++x, out += 3) {
      const auto& c = table_[Index(row, x)];
      out[0] = c[0];
      out[1] = c[1];
      out[2] = c[2];
    }
  }
  return scratch;
}

void DibPixels::RowRgb(int y, int x0, int count, int32_t* rgb) const {
  const uint8_t* row = Row(y);
  if (layout_.bitCount == 24) {
    const uint8_t* p = row + size_t(x0) * 3;
    for (int i = 0; i < count; ++i, p += 3, rgb += 3) {
      rgb[0] = p[2];
      rgb[1] = p[1];
      rgb[2] = p[0];
    }
    return;
  }
  for (int x = x0; x < x0 + count; ++x, rgb += 3) {
    const auto& c = table_[layout_.bitCount == 8 ? row[x] : Index(row, x)];
    rgb[0] = c[2];
    rgb[1] = c[1];
    rgb[2] = c[0];
  }
}

}  // namespace pellora
