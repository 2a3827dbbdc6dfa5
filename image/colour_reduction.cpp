#include "image/colour_reduction.h"

#include <algorithm>
#include <new>
#include <vector>

#include "image/dib_pixels.h"
#include "platform/base/mul_div.h"
#include "platform/draw/screen.h"

namespace pellora {
namespace {

// A new 8-bit block with the kind's table and the layout to write it by.
HDIB CreatePaletteBlock(int width, int height, PaletteKind kind, DibLayout& layout) {
  HDIB dib = CreatePaletteDIB(width, height, kind);
  std::optional<DibLayout> inspected = InspectDIB(dib);
  if (!inspected) return {};
  layout = *inspected;
  return dib;
}

// Source column x * sw / w of a destination column, kept inside the source.
int ScaledColumn(int x, int sourceSize, int size) { return std::min(MulDiv(x, sourceSize, size), sourceSize - 1); }

}  // namespace

HDIB CreatePaletteDIB(int width, int height, PaletteKind kind) {
  if (width < 0 || height < 0) return {};
  HDIB dib = CreateDIB(uint32_t(width), height, 8);
  SetPaletteTable(dib, kind);
  return dib;
}

int GetDisplayDepth() { return GetScreenDepth(); }


HDIB ReduceDIB(const HDIB& source, PaletteKind kind) {
  std::optional<DibPixels> pixels = DibPixels::Open(source);
  if (!pixels) return {};
  DibLayout layout;
  HDIB dib = CreatePaletteBlock(pixels->Width(), pixels->Height(), kind, layout);
  if (!dib) return dib;
  ErrorDiffusion engine(kind, pixels->Width(), pixels->Height());
  if (!engine.ok()) return {};
  uint8_t* bits = dib.data() + layout.bitsOffset;
  int width = pixels->Width();
  engine.Run([&](int y, int32_t* rgb) { pixels->RowRgb(y, 0, width, rgb); },
             [&](int y, const uint8_t* indices) {
               std::copy_n(indices, width, bits + size_t(y) * layout.stride);
             });
  return dib;
}

HDIB ScaleReduceDIB(const HDIB& source, int width, int height, PaletteKind kind) {
  std::optional<DibPixels> pixels = DibPixels::Open(source);
  if (!pixels || width < 0 || height < 0) return {};
  DibLayout layout;
  HDIB dib = CreatePaletteBlock(width, height, kind, layout);
  if (!dib) return dib;
  int sw = pixels->Width(), sh = pixels->Height();
  // An empty picture has nothing to scale: the block stays black.
  if (sw == 0 || sh == 0 || width == 0 || height == 0) return dib;
  ErrorDiffusion engine(kind, width, height);
  std::vector<int> first, end;
  std::vector<int32_t> row;
  try {
    first.resize(size_t(width));
    end.resize(size_t(width));
    row.resize(size_t(sw) * 3);
  } catch (const std::bad_alloc&) {
    return {};
  }
  if (!engine.ok()) return {};
  for (int x = 0; x < width; ++x) {
    int a = ScaledColumn(x, sw, width), b = ScaledColumn(x + 1, sw, width);
    first[size_t(x)] = a;
    end[size_t(x)] = a == b ? a + 1 : b;
  }
  uint8_t* bits = dib.data() + layout.bitsOffset;
  engine.Run(
      [&](int y, int32_t* rgb) {
        if (y == 0) {
          pixels->RowRgb(0, 0, sw, row.data());
          for (int x = 0; x < width; ++x, rgb += 3) std::copy_n(&row[size_t(first[size_t(x)]) * 3], 3, rgb);
          return;
        }
        pixels->RowRgb(std::min(MulDiv(y, sh, height), sh - 1), 0, sw, row.data());
        for (int x = 0; x < width; ++x, rgb += 3) {
          int a = first[size_t(x)], b = end[size_t(x)];
          int32_t r = 0, g = 0, bl = 0;
          for (const int32_t* p = &row[size_t(a) * 3]; p < &row[size_t(b) * 3]; p += 3) {
            r += p[0];
            g += p[1];
            bl += p[2];
          }
          int n = b - a;
          rgb[0] = r / n;
          rgb[1] = g / n;
          rgb[2] = bl / n;
        }
      },
      [&](int y, const uint8_t* indices) { std::copy_n(indices, width, bits + size_t(y) * layout.stride); });
  return dib;
}

}  // namespace pellora
