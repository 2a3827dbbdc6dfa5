// The nine background builders and the gradients' colour blend.
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "image/colour_reduction.h"
#include "image/composition.h"
#include "image/dib_pixels.h"
#include "platform/base/mul_div.h"

namespace pellora {
namespace {

uint8_t BlendChannel(int64_t first, int64_t second, int i, int n) {
  return uint8_t((first * (n - 1 - i) + second * i) / (n - 1));
}

// Writes one colour over a whole row (its padding set to 0): the first
// pixel, then ever larger copies of what is already there.
void FillRow24(uint8_t* row, size_t stride, int width, COLORREF colour) {
  row[0] = GetBValue(colour);
  row[1] = GetGValue(colour);
  row[2] = GetRValue(colour);
  size_t done = 3, total = size_t(width) * 3;
  while (done < total) {
    size_t n = std::min(done, total - done);
    std::memcpy(row + done, row, n);
    done += n;
  }
  std::memset(row + total, 0, stride - total);
}

// Copies row 0, padding included, over every other row.
void RepeatFirstRow(const DibRows& rows) {
  for (int y = 1; y < rows.height; ++y) std::memcpy(rows.Row(y), rows.Row(0), rows.stride);
}

// A new block and its rows; nothing when the size is not positive or the
// memory cannot be had.
struct NewScreen {
  HDIB dib;
  DibRows rows;
};
// Builders that write every pixel and padding byte themselves ask for an
// uncleared block: clearing it first would cost a second pass over memory.
std::optional<NewScreen> CreateScreen24(int width, int height, bool cleared = true) {
  if (width <= 0 || height <= 0) return std::nullopt;
  NewScreen s;
  if (cleared) {
    s.dib = CreateDIB(uint32_t(width), height, 24);
  } else {
    uint64_t bytes = sizeof(BITMAPINFOHEADER) + uint64_t(DIBStride(24, uint32_t(width))) * uint64_t(height);
    if (bytes > GlobalBlock::kMaxSize) return std::nullopt;
    s.dib = GlobalBlock::Allocate(size_t(bytes), false);
    if (!s.dib) return std::nullopt;
    BITMAPINFOHEADER h{};
    h.biSize = sizeof h;
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = 24;
    std::memcpy(s.dib.data(), &h, sizeof h);
  }
  std::optional<DibRows> rows = DibRows::Open(s.dib);
  if (!rows) return std::nullopt;
  s.rows = *rows;
  return s;
}
std::optional<NewScreen> CreateScreen8(int width, int height, PaletteKind kind) {
  if (width <= 0 || height <= 0) return std::nullopt;
  NewScreen s{CreatePaletteDIB(width, height, kind), {}};
  std::optional<DibRows> rows = DibRows::Open(s.dib);
  if (!rows) return std::nullopt;
  s.rows = *rows;
  return s;
}

template <class T>
bool TryAssign(std::vector<T>& v, size_t n) {
  try {
    v.assign(n, T{});
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// The part of a picture that a screen shows when the picture is centred or
// tiled at its own size: its bottom-left min(sw, W) x min(sh, H) pixels.
struct ShownPart {
  int width, height;
};
ShownPart PartShown(const DibPixels& p, int width, int height) {
  return {std::min(p.Width(), width), std::min(p.Height(), height)};
}

// Dithers the shown part of a picture on its own, handing each row's
// indices to emit.
template <class Emit>
bool DitherPart(const DibPixels& pixels, ShownPart part, PaletteKind kind, Emit&& emit) {
  ErrorDiffusion engine(kind, part.width, part.height);
  if (!engine.ok()) return false;
  engine.Run([&](int y, int32_t* rgb) { pixels.RowRgb(y, 0, part.width, rgb); }, emit);
  return true;
}

// Fills every row of a screen with copies of a tile row, tiles starting at
// the left edge; bytesPerPixel is 1 or 3.
void TileRow(uint8_t* out, int width, const uint8_t* tile, int tileWidth, int bytesPerPixel) {
  for (int x = 0; x < width; x += tileWidth)
    std::memcpy(out + size_t(x) * bytesPerPixel, tile, size_t(std::min(tileWidth, width - x)) * bytesPerPixel);
}

}  // namespace

COLORREF BlendColor(int i, COLORREF first, COLORREF second, int n) {
  if (n <= 1) return first & 0xFFFFFF;
  return RGB(BlendChannel(GetRValue(first), GetRValue(second), i, n),
             BlendChannel(GetGValue(first), GetGValue(second), i, n),
             BlendChannel(GetBValue(first), GetBValue(second), i, n));
}

HDIB StretchDIB24(const HDIB& picture, int width, int height) {
  std::optional<DibPixels> pixels = DibPixels::Open(picture);
  if (!pixels) return {};
  std::optional<NewScreen> screen = CreateScreen24(width, height);
  if (!screen) return {};
  int sw = pixels->Width(), sh = pixels->Height();
  if (sw == 0 || sh == 0) return std::move(screen->dib);
  // Each destination column averages source columns first[x] .. end[x] - 1.
  std::vector<int> first, end;
  std::vector<uint8_t> scratch;
  if (!TryAssign(first, size_t(width)) || !TryAssign(end, size_t(width)) || !TryAssign(scratch, size_t(sw) * 3))
    return {};
  for (int x = 0; x < width; ++x) {
    int a = std::min(MulDiv(x, sw, width), sw - 1), b = std::min(MulDiv(x + 1, sw, width), sw - 1);
    first[size_t(x)] = a;
    end[size_t(x)] = a == b ? a + 1 : b;
  }
  const DibRows& rows = screen->rows;
  int previous = -1;
  for (int y = 0; y < height; ++y) {
    int r = std::min(MulDiv(y, sh, height), sh - 1);
    uint8_t* out = rows.Row(y);
    if (r == previous) {
      std::memcpy(out, rows.Row(y - 1), size_t(width) * 3);
      continue;
    }
    previous = r;
    const uint8_t* src = pixels->RowBgr(r, 0, sw, scratch.data());
    for (int x = 0; x < width; ++x, out += 3) {
      int a = first[size_t(x)], n = end[size_t(x)] - a;
      unsigned b = 0, g = 0, red = 0;
      for (const uint8_t* p = src + size_t(a) * 3; p < src + size_t(a + n) * 3; p += 3) {
        b += p[0];
        g += p[1];
        red += p[2];
      }
      out[0] = uint8_t(b / unsigned(n));
      out[1] = uint8_t(g / unsigned(n));
      out[2] = uint8_t(red / unsigned(n));
    }
  }
  return std::move(screen->dib);
}

HDIB CenterDIB24(const HDIB& picture, int width, int height) {
  std::optional<DibPixels> pixels = DibPixels::Open(picture);
  if (!pixels) return {};
  std::optional<NewScreen> screen = CreateScreen24(width, height);
  if (!screen) return {};
  ShownPart part = PartShown(*pixels, width, height);
  std::vector<uint8_t> scratch;
  if (!TryAssign(scratch, size_t(part.width) * 3)) return {};
  int left = (width - part.width) / 2, bottom = (height - part.height) / 2;
  for (int y = 0; y < part.height; ++y)
    std::memcpy(screen->rows.Row(bottom + y) + size_t(left) * 3, pixels->RowBgr(y, 0, part.width, scratch.data()),
                size_t(part.width) * 3);
  return std::move(screen->dib);
}

HDIB CenterDIB8(const HDIB& picture, int width, int height, PaletteKind kind) {
  std::optional<DibPixels> pixels = DibPixels::Open(picture);
  if (!pixels) return {};
  std::optional<NewScreen> screen = CreateScreen8(width, height, kind);
  if (!screen) return {};
  ShownPart part = PartShown(*pixels, width, height);
  int left = (width - part.width) / 2, bottom = (height - part.height) / 2;
  const DibRows& rows = screen->rows;
  bool done = DitherPart(*pixels, part, kind, [&](int y, const uint8_t* indices) {
    std::memcpy(rows.Row(bottom + y) + left, indices, size_t(part.width));
  });
  if (!done) return {};
  return std::move(screen->dib);
}

HDIB TileDIB24(const HDIB& picture, int width, int height) {
  std::optional<DibPixels> pixels = DibPixels::Open(picture);
  if (!pixels) return {};
  std::optional<NewScreen> screen = CreateScreen24(width, height);
  if (!screen) return {};
  ShownPart part = PartShown(*pixels, width, height);
  if (part.width == 0 || part.height == 0) return std::move(screen->dib);
  std::vector<uint8_t> scratch;
  if (!TryAssign(scratch, size_t(part.width) * 3)) return {};
  const DibRows& rows = screen->rows;
  for (int y = 0; y < height; ++y) {
    if (y >= part.height) {
      std::memcpy(rows.Row(y), rows.Row(y - part.height), size_t(width) * 3);
      continue;
    }
    TileRow(rows.Row(y), width, pixels->RowBgr(y, 0, part.width, scratch.data()), part.width, 3);
  }
  return std::move(screen->dib);
}

HDIB TileDIB8(const HDIB& picture, int width, int height, PaletteKind kind) {
  std::optional<DibPixels> pixels = DibPixels::Open(picture);
  if (!pixels) return {};
  std::optional<NewScreen> screen = CreateScreen8(width, height, kind);
  if (!screen) return {};
  ShownPart part = PartShown(*pixels, width, height);
  if (part.width == 0 || part.height == 0) return std::move(screen->dib);
  // The tile is dithered once; every copy carries the same indices.
  const DibRows& rows = screen->rows;
  bool done = DitherPart(*pixels, part, kind, [&](int y, const uint8_t* indices) {
    TileRow(rows.Row(y), width, indices, part.width, 1);
  });
  if (!done) return {};
  for (int y = part.height; y < height; ++y) std::memcpy(rows.Row(y), rows.Row(y - part.height), size_t(width));
  return std::move(screen->dib);
}

HDIB GradientDIB24(COLORREF first, COLORREF second, int width, int height, int direction) {
  std::optional<NewScreen> screen = CreateScreen24(width, height, false);
  if (!screen) return {};
  const DibRows& rows = screen->rows;
  if (direction != 0) {
    uint8_t* out = rows.Row(0);
    for (int x = 0; x < width; ++x, out += 3) {
      COLORREF c = BlendColor(x, first, second, width);
      out[0] = GetBValue(c);
      out[1] = GetGValue(c);
      out[2] = GetRValue(c);
    }
    std::memset(out, 0, rows.stride - size_t(width) * 3);
    RepeatFirstRow(rows);
  } else {
    for (int y = 0; y < height; ++y) FillRow24(rows.Row(y), rows.stride, width, BlendColor(y, second, first, height));
  }
  return std::move(screen->dib);
}

HDIB SolidDIB24(COLORREF colour, int width, int height) {
  std::optional<NewScreen> screen = CreateScreen24(width, height, false);
  if (!screen) return {};
  FillRow24(screen->rows.Row(0), screen->rows.stride, width, colour);
  RepeatFirstRow(screen->rows);
  return std::move(screen->dib);
}

HDIB GradientDIB8(COLORREF first, COLORREF second, int width, int height, int direction, PaletteKind kind) {
  std::optional<NewScreen> screen = CreateScreen8(width, height, kind);
  if (!screen) return {};
  ErrorDiffusion engine(kind, width, height);
  std::vector<int32_t> across;  // the colours of every row of a horizontal gradient
  if (!engine.ok() || (direction != 0 && !TryAssign(across, size_t(width) * 3))) return {};
  for (int x = 0; x < width && direction != 0; ++x) {
    COLORREF c = BlendColor(x, first, second, width);
    across[size_t(x) * 3] = GetRValue(c);
    across[size_t(x) * 3 + 1] = GetGValue(c);
    across[size_t(x) * 3 + 2] = GetBValue(c);
  }
  const DibRows& rows = screen->rows;
  engine.Run(
      [&](int y, int32_t* rgb) {
        if (direction != 0) {
          std::copy(across.begin(), across.end(), rgb);
          return;
        }
        COLORREF c = BlendColor(y, second, first, height);
        for (int x = 0; x < width; ++x, rgb += 3) {
          rgb[0] = GetRValue(c);
          rgb[1] = GetGValue(c);
          rgb[2] = GetBValue(c);
        }
      },
      [&](int y, const uint8_t* indices) { std::memcpy(rows.Row(y), indices, size_t(width)); });
  return std::move(screen->dib);
}

HDIB SolidDIB8(COLORREF colour, int width, int height, PaletteKind kind) {
  std::optional<NewScreen> screen = CreateScreen8(width, height, kind);
  if (!screen) return {};
  ErrorDiffusion engine(kind, width, height);
  if (!engine.ok()) return {};
  const DibRows& rows = screen->rows;
  engine.Run(
      [&](int, int32_t* rgb) {
        for (int x = 0; x < width; ++x, rgb += 3) {
          rgb[0] = GetRValue(colour);
          rgb[1] = GetGValue(colour);
          rgb[2] = GetBValue(colour);
        }
      },
      [&](int y, const uint8_t* indices) { std::memcpy(rows.Row(y), indices, size_t(width)); });
  return std::move(screen->dib);
}

}  // namespace pellora
