#include "platform/draw/dib_drawing.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/draw/dc.h"
#include "platform/draw/palette.h"
#include "platform/draw/screen.h"

namespace pellora {
namespace {

// A bitmap checked for what the drawing loops read: rows numbered from the
// bottom, the available ones within [firstRow, firstRow + rowCount).
class SourceRows {
 public:
  bool Prepare(const DibBitsView& dib, int startScan, int scanLines) {
    const BITMAPINFOHEADER* h = dib.header;
    if (!h || !dib.bits || h->biWidth <= 0 || h->biHeight <= 0 || h->biCompression != 0) return false;
    bitCount_ = h->biBitCount;
    if (bitCount_ != 1 && bitCount_ != 4 && bitCount_ != 8 && bitCount_ != 24 && bitCount_ != 32) return false;
    if (startScan < 0 || scanLines <= 0) return false;
    width_ = h->biWidth;
    height_ = h->biHeight;
    stride_ = size_t((uint64_t(bitCount_) * uint64_t(width_) + 31) / 32 * 4);
    bits_ = dib.bits;
    firstRow_ = startScan;
    size_t rowsInBuffer = stride_ ? dib.bitsSize / stride_ : 0;
    rowCount_ = int(std::min<size_t>(size_t(scanLines), rowsInBuffer));
    depth_ = GetScreenDepth();
    if (bitCount_ <= 8) {
      // The colour table is mapped to the display once per call.
      table_.fill(0);
      uint32_t count = std::min<uint32_t>(dib.colourCount, 1u << bitCount_);
      if (count && !dib.colours) return false;
      for (uint32_t i = 0; i < count; ++i) {
        const RGBQUAD& q = dib.colours[i];
        uint32_t pixel = (uint32_t(q.rgbRed) << 16) | (uint32_t(q.rgbGreen) << 8) | q.rgbBlue;
        table_[i] = SystemPalette::Instance().Map(pixel, depth_);
      }
    }
    return true;
  }

  int width() const { return width_; }
  int height() const { return height_; }

  // Row r counted from the bottom of the bitmap, or null when it is not
  // among the rows given.
  const uint8_t* Row(int r) const {
    if (r < 0 || r >= height_ || r < firstRow_ || r >= firstRow_ + rowCount_) return nullptr;
    return bits_ + size_t(r - firstRow_) * stride_;
  }

  uint32_t Pixel(const uint8_t* row, int x) {
    switch (bitCount_) {
      case 1: return table_[(row[x >> 3] >> (7 - (x & 7))) & 1];
      case 4: return table_[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
      case 8: return table_[row[x]];
      case 24: return Direct(row + size_t(x) * 3);
      default: return Direct(row + size_t(x) * 4);
    }
  }

 private:
  uint32_t Direct(const uint8_t* bgr) {
    uint32_t pixel = (uint32_t(bgr[2]) << 16) | (uint32_t(bgr[1]) << 8) | bgr[0];
    return depth_ > 8 ? pixel : SystemPalette::Instance().Map(pixel, depth_);
  }

  int width_ = 0;
  int height_ = 0;
  int bitCount_ = 0;
  size_t stride_ = 0;
  const uint8_t* bits_ = nullptr;
  int firstRow_ = 0;
  int rowCount_ = 0;
  int depth_ = 24;
  std::array<uint32_t, 256> table_{};
};

// The destination rectangle as it lands on the DC's surface, or empty.
Rect ClippedDestination(CDC& dc, int x, int y, int width, int height) {
  if (!dc.Target() || width <= 0 || height <= 0) return {};
  return Rect{x, y, x + width, y + height}.Intersect(dc.ClipBox());
}

}  // namespace

int SetDIBitsToDevice(CDC& dc, int xDest, int yDest, int width, int height, int xSrc, int ySrc,
                      int startScan, int scanLines, const DibBitsView& dib, uint32_t) {
  SourceRows source;
  if (!source.Prepare(dib, startScan, scanLines) || width <= 0 || height <= 0) return 0;
  Rect clip = ClippedDestination(dc, xDest, yDest, width, height);
  Surface& surface = *dc.Target();
  Point origin = dc.Origin();
  Rect drawn;
  for (int y = clip.top; y < clip.bottom; ++y) {
    // The destination's top row shows the source rectangle's top row.
    const uint8_t* row = source.Row(ySrc + height - 1 - (y - yDest));
    if (!row) continue;
    int x0 = std::max(clip.left, xDest - xSrc);
    int x1 = std::min(clip.right, xDest - xSrc + source.width());
    if (x0 >= x1) continue;
    uint32_t* out = surface.Row(y + origin.y) + origin.x;
    for (int x = x0; x < x1; ++x) out[x] = source.Pixel(row, xSrc + (x - xDest));
    drawn = drawn.Union({x0, y, x1, y + 1});
  }
  dc.NoteDrawn(drawn);
  return scanLines;
}

int StretchDIBits(CDC& dc, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                  int srcWidth, int srcHeight, const DibBitsView& dib, uint32_t, uint32_t) {
  SourceRows source;
  if (!dib.header || !source.Prepare(dib, 0, dib.header->biHeight)) return 0;
  if (destWidth <= 0 || destHeight <= 0 || srcWidth <= 0 || srcHeight <= 0) return 0;
  Rect clip = ClippedDestination(dc, xDest, yDest, destWidth, destHeight);
  if (clip.IsEmpty()) return destHeight;
  // Nearest source column of every destination column in the clip.
  std::vector<int> columns(size_t(clip.Width()));
  for (int x = clip.left; x < clip.right; ++x)
    columns[size_t(x - clip.left)] = xSrc + int(int64_t(x - xDest) * srcWidth / destWidth);
  Surface& surface = *dc.Target();
  Point origin = dc.Origin();
  Rect drawn;
  for (int y = clip.top; y < clip.bottom; ++y) {
    int down = int(int64_t(y - yDest) * srcHeight / destHeight);
    const uint8_t* row = source.Row(ySrc + srcHeight - 1 - down);
    if (!row) continue;
    uint32_t* out = surface.Row(y + origin.y) + origin.x;
    for (int x = clip.left; x < clip.right; ++x) {
      int sx = columns[size_t(x - clip.left)];
      if (sx >= 0 && sx < source.width()) out[x] = source.Pixel(row, sx);
    }
    drawn = drawn.Union({clip.left, y, clip.right, y + 1});
  }
  dc.NoteDrawn(drawn);
  return destHeight;
}

int SetStretchBltMode(CDC& dc, int mode) { return dc.SetStretchMode(mode); }


}  // namespace pellora
