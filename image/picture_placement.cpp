// Placing a slide picture on a copy of the background: at natural size,
// fitted or stretched into the screen less its margins.
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "image/composition.h"
#include "image/dib_pixels.h"
#include "platform/base/mul_div.h"

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
// rows where it samples the source.
struct Fitted {
  int left = 0, bottom = 0, width = 0, height = 0;
  std::vector<size_t> columnOffset;  // byte offset, in a blue-green-red row, of each column's source pixel
  std::vector<int> row;              // source row of each destination row
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
    f.columnOffset.resize(size_t(f.width));
    f.row.resize(size_t(f.height));
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (int x = 0; x < f.width; ++x) f.columnOffset[size_t(x)] = size_t(std::min(MulDiv(x, sw, f.width), sw - 1)) * 3;
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

namespace {

// A fit once its blocks are checked and its rectangle is known.
struct FitJob {
  DibRows rows;
  std::optional<DibPixels> pixels;
  Fitted area;
  std::vector<uint8_t> scratch;  // one source row as blue, green, red

  // The source row that fitted row y samples, as blue, green, red bytes.
  const uint8_t* SourceRow(int y) {
    return pixels->RowBgr(area.row[size_t(y)], 0, pixels->Width(), scratch.data());
  }
};
enum class FitStart { Failed, NothingToDraw, Ready };

FitStart StartFit(HDIB& screen, int bitCount, const HDIB& picture, int margin, bool stretch, FitJob& job) {
  std::optional<DibRows> rows = ScreenRows(screen, bitCount);
  job.pixels = DibPixels::Open(picture);
  if (!rows || !job.pixels) return FitStart::Failed;
  job.rows = *rows;
  int sw = job.pixels->Width();
  if (!FitArea(sw, job.pixels->Height(), rows->width, rows->height, margin, stretch, job.area))
    return FitStart::Failed;
  if (job.area.width == 0 || job.area.height == 0) return FitStart::NothingToDraw;
  return TryScratch(job.scratch, size_t(sw) * 3) ? FitStart::Ready : FitStart::Failed;
}

}  // namespace

bool FitPicture24(HDIB& screen, const HDIB& picture, int margin, bool stretch) {
  FitJob job;
  FitStart start = StartFit(screen, 24, picture, margin, stretch, job);
  if (start != FitStart::Ready) return start == FitStart::NothingToDraw;
  const Fitted& f = job.area;
  for (int y = 0; y < f.height; ++y) {
    uint8_t* out = job.rows.Row(f.bottom + y) + size_t(f.left) * 3;
    if (y > 0 && f.row[size_t(y)] == f.row[size_t(y - 1)]) {
      std::memcpy(out, job.rows.Row(f.bottom + y - 1) + size_t(f.left) * 3, size_t(f.width) * 3);
      continue;
    }
    const uint8_t* src = job.SourceRow(y);
    for (int x = 0; x < f.width; ++x, out += 3) {
      const uint8_t* p = src + f.columnOffset[size_t(x)];
      out[0] = p[0];
      out[1] = p[1];
      out[2] = p[2];
    }
  }
  return true;
}

bool FitPicture8(HDIB& screen, const HDIB& picture, int margin, bool stretch, PaletteKind kind) {
  FitJob job;
  FitStart start = StartFit(screen, 8, picture, margin, stretch, job);
  if (start != FitStart::Ready) return start == FitStart::NothingToDraw;
  const Fitted& f = job.area;
  ErrorDiffusion engine(kind, f.width, f.height);
  if (!engine.ok()) return false;
  engine.Run(
      [&](int y, int32_t* rgb) {
        const uint8_t* src = job.SourceRow(y);
        for (int x = 0; x < f.width; ++x, rgb += 3) {
          const uint8_t* p = src + f.columnOffset[size_t(x)];
          rgb[0] = p[2];
          rgb[1] = p[1];
          rgb[2] = p[0];
        }
      },
      [&](int y, const uint8_t* indices) {
        std::memcpy(job.rows.Row(f.bottom + y) + f.left, indices, size_t(f.width));
      });
  return true;
}

}  // namespace pellora
