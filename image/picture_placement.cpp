// Placing a slide picture on a copy of the background: at natural size,
// fitted or stretched into the screen less its margins.
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "image/composition.h"
#include "image/dib_pixels.h"
#include "platform/kernel.h"

namespace pellora {
namespace {

// The screen's rows when the block is usable and of the expected depth.
std::optional<DibRows> ScreenRows(HDIB& screen, int bitCount) {
  std::optional<DibRows> rows = DibRows::Open(screen);
  if (!rows || rows->bitCount != bitCount) return std::nullopt;
  return rows;
}

// Where a picture lands when centred at its own size, and which of its
// columns and rows fall inside the screen.
struct Natural {
  int left, bottom;  // screen position of picture pixel (0, 0)
  int x0, x1;        // visible picture columns [x0, x1)
  int y0, y1;        // visible picture rows [y0, y1)
  bool Empty() const { return x0 >= x1 || y0 >= y1; }
};
Natural NaturalPlace(int sw, int sh, int width, int height) {
  Natural n;
  n.left = (width - sw) / 2;
  n.bottom = (height - sh) / 2;
  n.x0 = std::max(0, -n.left);
  n.x1 = std::min(sw, width - n.left);
  n.y0 = std::max(0, -n.bottom);
  n.y1 = std::min(sh, height - n.bottom);
  return n;
}

// The rectangle a fitted picture fills, and for each of its columns and
// rows the source column and row it samples.
struct Fitted {
  int left = 0, bottom = 0, width = 0, height = 0;
  std::vector<int> column;  // source column of each destination column
  std::vector<int> row;     // source row of each destination row
};
// False only when memory runs out; an empty area leaves width or height 0.
bool FitArea(int sw, int sh, int screenWidth, int screenHeight, int margin, bool stretch, Fitted& f) {
  // A negative margin would reach past the screen: it counts as none.
  int64_t m = std::max(margin, 0);
  int64_t aw = int64_t(screenWidth) - 2 * m, ah = int64_t(screenHeight) - 2 * m;
  if (aw <= 0 || ah <= 0 || sw <= 0 || sh <= 0) return true;
  int64_t w = aw, h = ah;
  if (!stretch) {
    h = int64_t(sh) * aw / sw;
    if (ah < h) {
      w = int64_t(sw) * ah / sh;
      h = ah;
    }
  }
  if (w <= 0 || h <= 0) return true;
  f.width = int(w);
  f.height = int(h);
  f.left = (screenWidth - f.width) / 2;
  f.bottom = (screenHeight - f.height) / 2;
  try {
    f.column.resize(size_t(f.width));
    f.row.resize(size_t(f.height));
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (int x = 0; x < f.width; ++x) f.column[size_t(x)] = std::min(MulDiv(x, sw, f.width), sw - 1);
  for (int y = 0; y < f.height; ++y) f.row[size_t(y)] = std::min(MulDiv(y, sh, f.height), sh - 1);
  return true;
}

bool TryScratch(std::vector<uint8_t>& scratch, size_t n) {
  try {
    scratch.resize(n);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace

bool PlacePicture24(HDIB& screen, const HDIB& picture) {
  std::optional<DibRows> rows = ScreenRows(screen, 24);
  std::optional<DibPixels> pixels = DibPixels::Open(picture);
  if (!rows || !pixels) return false;
  Natural n = NaturalPlace(pixels->Width(), pixels->Height(), rows->width, rows->height);
  if (n.Empty()) return true;
  std::vector<uint8_t> scratch;
  if (!TryScratch(scratch, size_t(n.x1 - n.x0) * 3)) return false;
  for (int y = n.y0; y < n.y1; ++y)
    std::memcpy(rows->Row(n.bottom + y) + size_t(n.left + n.x0) * 3,
                pixels->RowBgr(y, n.x0, n.x1 - n.x0, scratch.data()), size_t(n.x1 - n.x0) * 3);
  return true;
}

bool PlacePicture8(HDIB& screen, const HDIB& picture, PaletteKind kind) {
  std::optional<DibRows> rows = ScreenRows(screen, 8);
  std::optional<DibPixels> pixels = DibPixels::Open(picture);
  if (!rows || !pixels) return false;
  Natural n = NaturalPlace(pixels->Width(), pixels->Height(), rows->width, rows->height);
  if (n.Empty()) return true;
  // The visible rows are dithered over the picture's full width; only the
  // visible columns are written.
  int sw = pixels->Width();
  ErrorDiffusion engine(kind, sw, n.y1 - n.y0);
  if (!engine.ok()) return false;
  engine.Run([&](int i, int32_t* rgb) { pixels->RowRgb(n.y0 + i, 0, sw, rgb); },
             [&](int i, const uint8_t* indices) {
               std::memcpy(rows->Row(n.bottom + n.y0 + i) + n.left + n.x0, indices + n.x0, size_t(n.x1 - n.x0));
             });
  return true;
}

bool FitPicture24(HDIB& screen, const HDIB& picture, int margin, bool stretch) {
  std::optional<DibRows> rows = ScreenRows(screen, 24);
  std::optional<DibPixels> pixels = DibPixels::Open(picture);
  if (!rows || !pixels) return false;
  int sw = pixels->Width();
  Fitted f;
  if (!FitArea(sw, pixels->Height(), rows->width, rows->height, margin, stretch, f)) return false;
  if (f.width == 0 || f.height == 0) return true;
  std::vector<uint8_t> scratch;
  if (!TryScratch(scratch, size_t(sw) * 3)) return false;
  // Byte offset of each destination column's source pixel.
  std::vector<size_t> offset;
  try {
    offset.resize(size_t(f.width));
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (int x = 0; x < f.width; ++x) offset[size_t(x)] = size_t(f.column[size_t(x)]) * 3;
  for (int y = 0; y < f.height; ++y) {
    uint8_t* out = rows->Row(f.bottom + y) + size_t(f.left) * 3;
    if (y > 0 && f.row[size_t(y)] == f.row[size_t(y - 1)]) {
      std::memcpy(out, rows->Row(f.bottom + y - 1) + size_t(f.left) * 3, size_t(f.width) * 3);
      continue;
    }
    const uint8_t* src = pixels->RowBgr(f.row[size_t(y)], 0, sw, scratch.data());
    for (int x = 0; x < f.width; ++x, out += 3) {
      const uint8_t* p = src + offset[size_t(x)];
      out[0] = p[0];
      out[1] = p[1];
      out[2] = p[2];
    }
  }
  return true;
}

bool FitPicture8(HDIB& screen, const HDIB& picture, int margin, bool stretch, PaletteKind kind) {
  std::optional<DibRows> rows = ScreenRows(screen, 8);
  std::optional<DibPixels> pixels = DibPixels::Open(picture);
  if (!rows || !pixels) return false;
  int sw = pixels->Width();
  Fitted f;
  if (!FitArea(sw, pixels->Height(), rows->width, rows->height, margin, stretch, f)) return false;
  if (f.width == 0 || f.height == 0) return true;
  std::vector<uint8_t> scratch;
  if (!TryScratch(scratch, size_t(sw) * 3)) return false;
  ErrorDiffusion engine(kind, f.width, f.height);
  if (!engine.ok()) return false;
  engine.Run(
      [&](int y, int32_t* rgb) {
        const uint8_t* src = pixels->RowBgr(f.row[size_t(y)], 0, sw, scratch.data());
        for (int x = 0; x < f.width; ++x, rgb += 3) {
          const uint8_t* p = src + size_t(f.column[size_t(x)]) * 3;
          rgb[0] = p[2];
          rgb[1] = p[1];
          rgb[2] = p[0];
        }
      },
      [&](int y, const uint8_t* indices) {
        std::memcpy(rows->Row(f.bottom + y) + f.left, indices, size_t(f.width));
      });
  return true;
}

}  // namespace pellora
