#include "tools/pictures/transforms.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include <jpeglib.h>

#include "image/dib_pixels.h"
#include "tools/pictures/jpeg_errors.h"

namespace pellora::pictures {
namespace {

// One output pixel's share of the source line: the source pixels it
// covers and the weight (in 1/65536) of each.
struct Span {
  int first = 0;
  std::vector<uint32_t> weights;
};

std::vector<Span> Coverage(int from, int to) {
  std::vector<Span> spans(static_cast<size_t>(to));
  double step = double(from) / to;
  for (int i = 0; i < to; ++i) {
    double start = i * step, end = std::min(double(from), (i + 1) * step);
    Span& span = spans[size_t(i)];
    span.first = int(start);
    int last = std::min(from - 1, int(std::ceil(end)) - 1);
    uint32_t given = 0;
    for (int s = span.first; s <= last; ++s) {
      double cover = std::min(end, double(s + 1)) - std::max(start, double(s));
      uint32_t w = uint32_t(std::lround(cover / step * 65536));
      span.weights.push_back(w);
      given += w;
    }
    // Rounding must neither darken nor brighten.
    if (!span.weights.empty()) span.weights.back() += 65536 - given;
  }
  return spans;
}

// The whole compression between setjmp and the library calls; nothing with
// a destructor lives here. The output buffer is the caller's to free.
bool Compress(jpeg_compress_struct* cinfo, JpegErrors* errors, const DibRows& rows, int quality,
              unsigned char** buffer, unsigned long* size) {
  cinfo->err = errors->Install();
  if (setjmp(errors->recovery)) {
    jpeg_destroy_compress(cinfo);
    return false;
  }
  jpeg_create_compress(cinfo);
  jpeg_mem_dest(cinfo, buffer, size);
  cinfo->image_width = JDIMENSION(rows.width);
  cinfo->image_height = JDIMENSION(rows.height);
  cinfo->input_components = 3;
  cinfo->in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(cinfo);
  jpeg_set_quality(cinfo, quality, TRUE);
  cinfo->optimize_coding = TRUE;
  jpeg_start_compress(cinfo, TRUE);
  while (cinfo->next_scanline < cinfo->image_height) {
    JSAMPROW row = rows.Row(rows.height - 1 - int(cinfo->next_scanline));
    jpeg_write_scanlines(cinfo, &row, 1);
  }
  jpeg_finish_compress(cinfo);
  jpeg_destroy_compress(cinfo);
  return true;
}

void Put16(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  out[at] = uint8_t(v);
  out[at + 1] = uint8_t(v >> 8);
}
void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  Put16(out, at, v & 0xFFFF);
  Put16(out, at + 2, v >> 16);
}

}  // namespace

HDIB TurnUpright(const HDIB& picture, int orientation) {
  std::optional<DibPixels> in = DibPixels::Open(picture);
  if (!in || in->BitCount() != 24) return {};
  int w = in->Width(), h = in->Height();
  bool swap = orientation >= 5 && orientation <= 8;
  int outW = swap ? h : w, outH = swap ? w : h;
  HDIB turned = CreateDIB(uint32_t(outW), outH, 24);
  std::optional<DibRows> out = DibRows::Open(turned);
  if (!out) return {};
  for (int Y = 0; Y < outH; ++Y) {
    uint8_t* row = out->Row(outH - 1 - Y);
    for (int X = 0; X < outW; ++X) {
      // The stored pixel (x, y), top-down, shown at (X, Y).
      int x = X, y = Y;
      switch (orientation) {
        case 2: x = w - 1 - X; break;
        case 3: x = w - 1 - X, y = h - 1 - Y; break;
        case 4: y = h - 1 - Y; break;
        case 5: x = Y, y = X; break;
        case 6: x = Y, y = h - 1 - X; break;
        case 7: x = w - 1 - Y, y = h - 1 - X; break;
        case 8: x = w - 1 - Y, y = X; break;
        default: break;
      }
      std::memcpy(row + size_t(X) * 3, in->Row(h - 1 - y) + size_t(x) * 3, 3);
    }
  }
  return turned;
}

HDIB ScaleDown(const HDIB& picture, int width, int height) {
  std::optional<DibPixels> in = DibPixels::Open(picture);
  if (!in || in->BitCount() != 24 || width <= 0 || height <= 0) return {};
  int w = in->Width(), h = in->Height();
  HDIB scaled = CreateDIB(uint32_t(width), height, 24);
  std::optional<DibRows> out = DibRows::Open(scaled);
  if (!out) return {};
  std::vector<Span> across = Coverage(w, width), down = Coverage(h, height);
  // Each source row is narrowed once; output rows sum the narrowed rows
  // they cover (top-down coordinates).
  std::vector<uint32_t> narrowed(size_t(width) * 3), sum(size_t(width) * 3);
  for (int Y = 0; Y < height; ++Y) {
    std::fill(sum.begin(), sum.end(), 0);
    const Span& rows = down[size_t(Y)];
    for (size_t r = 0; r < rows.weights.size(); ++r) {
      const uint8_t* src = in->Row(h - 1 - (rows.first + int(r)));
      for (int X = 0; X < width; ++X) {
        const Span& cols = across[size_t(X)];
        uint32_t b = 0, g = 0, red = 0;
        const uint8_t* p = src + size_t(cols.first) * 3;
        for (uint32_t weight : cols.weights) {
          b += p[0] * weight, g += p[1] * weight, red += p[2] * weight;
          p += 3;
        }
        // 8.8 fixed point keeps the vertical sum inside 32 bits.
        narrowed[size_t(X) * 3] = (b + 128) >> 8;
        narrowed[size_t(X) * 3 + 1] = (g + 128) >> 8;
        narrowed[size_t(X) * 3 + 2] = (red + 128) >> 8;
      }
      uint32_t weight = rows.weights[r];
      for (size_t i = 0; i < sum.size(); ++i) sum[i] += uint32_t((uint64_t(narrowed[i]) * weight + 32768) >> 16);
    }
    uint8_t* dst = out->Row(height - 1 - Y);
    for (size_t i = 0; i < sum.size(); ++i) dst[i] = uint8_t(std::min<uint32_t>(255, (sum[i] + 128) >> 8));
  }
  return scaled;
}

void FitInside(int width, int height, int maxWidth, int maxHeight, int& fitWidth, int& fitHeight) {
  double scale = std::min(double(maxWidth) / width, double(maxHeight) / height);
  fitWidth = std::clamp(int(std::lround(width * scale)), 1, maxWidth);
  fitHeight = std::clamp(int(std::lround(height * scale)), 1, maxHeight);
}

std::vector<uint8_t> EncodeJpeg(const HDIB& picture, int quality) {
  HDIB& writable = const_cast<HDIB&>(picture);
  std::optional<DibRows> rows = DibRows::Open(writable);
  if (!rows || rows->bitCount != 24) return {};
  jpeg_compress_struct cinfo;
  JpegErrors errors;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  bool ok = Compress(&cinfo, &errors, *rows, std::clamp(quality, 1, 100), &buffer, &size);
  std::vector<uint8_t> bytes;
  if (ok && buffer) bytes.assign(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

std::vector<uint8_t> EncodeBmp(const HDIB& picture) {
  std::optional<DibLayout> layout = InspectDIB(picture);
  if (!layout || layout->bitCount != 24) return {};
  size_t dibBytes = layout->bitsOffset + layout->stride * size_t(layout->height);
  std::vector<uint8_t> file(14 + dibBytes);
  file[0] = 'B', file[1] = 'M';
  Put32(file, 2, uint32_t(file.size()));
  Put32(file, 10, uint32_t(14 + layout->bitsOffset));
  std::memcpy(file.data() + 14, picture.data(), dibBytes);
  return file;
}

}  // namespace pellora::pictures
