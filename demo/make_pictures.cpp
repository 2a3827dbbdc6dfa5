// Draws the demo show's pictures: bitmaps of several depths and a JPEG,
// so that the demo needs no picture files of its own.
//
//   pellora-demo-pictures DIR
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "image/jpeg_writer.h"

namespace {

struct Rgb {
  uint8_t r, g, b;
};

using Painter = Rgb (*)(int x, int y, int w, int h);

uint8_t Clamp(double v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); }

// A sunset: sky gradient, a sun, two rows of hills.
Rgb Sunset(int x, int y, int w, int h) {
  double fy = double(y) / h, fx = double(x) / w;
  Rgb c{Clamp(255 - 60 * fy), Clamp(120 + 100 * fy), Clamp(60 + 150 * (1 - fy))};
  double dx = fx - 0.7, dy = fy - 0.45;
  if (dx * dx * 2.5 + dy * dy < 0.012) c = {255, 230, 120};
  if (fy > 0.62 + 0.06 * std::sin(fx * 9)) c = {Clamp(40 + 40 * fx), 90, 50};
  if (fy > 0.78 + 0.04 * std::sin(fx * 17 + 1)) c = {30, 60, 35};
  return c;
}

// Concentric rings in warm colours.
Rgb Rings(int x, int y, int w, int h) {
  double dx = x - w / 2.0, dy = y - h / 2.0, d = std::sqrt(dx * dx + dy * dy);
  return {Clamp(128 + 127 * std::sin(d / 9)), Clamp(90 + 80 * std::cos(d / 13)), Clamp(200 - d / 2)};
}

// A chequered tile pattern with a diagonal.
Rgb Tiles(int x, int y, int, int) {
  bool dark = ((x / 20) + (y / 20)) % 2;
  if (std::abs(x - y) < 3) return {200, 30, 30};
  return dark ? Rgb{30, 60, 150} : Rgb{230, 230, 210};
}

// Colour bars.
Rgb Bars(int x, int, int w, int) {
  static const Rgb bars[] = {{255, 255, 255}, {255, 255, 0}, {0, 255, 255}, {0, 255, 0},
                             {255, 0, 255},   {255, 0, 0},   {0, 0, 255},   {0, 0, 0}};
  return bars[x * 8 / w];
}

void Put16(std::string& s, uint32_t v) { s += char(v), s += char(v >> 8); }
void Put32(std::string& s, uint32_t v) { Put16(s, v), Put16(s, v >> 16); }

// A bitmap file of 24 bits, or of 8 or 4 bits with the palette given.
bool WriteBmp(const std::string& path, int w, int h, int bits, Painter paint, const std::vector<Rgb>& palette) {
  size_t stride = size_t((bits * w + 31) / 32 * 4);
  std::string table;
  for (const Rgb& c : palette) table += std::string{char(c.b), char(c.g), char(c.r), 0};
  uint32_t offset = uint32_t(54 + table.size()), imageSize = uint32_t(stride * size_t(h));
  std::string file = "BM";
  Put32(file, offset + imageSize), Put32(file, 0), Put32(file, offset);
  Put32(file, 40), Put32(file, uint32_t(w)), Put32(file, uint32_t(h)), Put16(file, 1), Put16(file, uint16_t(bits));
  Put32(file, 0), Put32(file, imageSize), Put32(file, 2835), Put32(file, 2835);
  Put32(file, uint32_t(palette.size())), Put32(file, 0);
  file += table;
  for (int y = h - 1; y >= 0; --y) {
    std::string row(stride, '\0');
    for (int x = 0; x < w; ++x) {
      Rgb c = paint(x, y, w, h);
      if (bits == 24) {
        row[size_t(x) * 3] = char(c.b), row[size_t(x) * 3 + 1] = char(c.g), row[size_t(x) * 3 + 2] = char(c.r);
        continue;
      }
      size_t best = 0;
      int bestDistance = 1 << 30;
      for (size_t i = 0; i < palette.size(); ++i) {
        int dr = c.r - palette[i].r, dg = c.g - palette[i].g, db = c.b - palette[i].b;
        if (dr * dr + dg * dg + db * db < bestDistance) best = i, bestDistance = dr * dr + dg * dg + db * db;
      }
      if (bits == 8) row[size_t(x)] = char(best);
      else row[size_t(x) / 2] = char(row[size_t(x) / 2] | (x % 2 ? best : best << 4));
    }
    file += row;
  }
  std::ofstream out(path, std::ios::binary);
  out << file;
  return bool(out);
}

bool WriteJpeg(const std::string& path, int w, int h, Painter paint) {
  std::vector<uint8_t> rgb(size_t(w) * size_t(h) * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      Rgb c = paint(x, y, w, h);
      uint8_t* p = &rgb[(size_t(y) * size_t(w) + size_t(x)) * 3];
      p[0] = c.r, p[1] = c.g, p[2] = c.b;
    }
  return pellora::WriteJpegFile(path, w, h, rgb.data(), 3, 90);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: pellora-demo-pictures DIR\n");
    return 2;
  }
  std::string dir = std::string(argv[1]) + "/";
  std::vector<Rgb> grey(256);
  for (int i = 0; i < 256; ++i) grey[size_t(i)] = {uint8_t(i), uint8_t(i), uint8_t(i)};
  std::vector<Rgb> tiles = {{30, 60, 150}, {230, 230, 210}, {200, 30, 30}, {0, 0, 0}};
  std::vector<Rgb> vga = {{0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
                          {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
                          {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
  bool ok = WriteBmp(dir + "sunset.bmp", 800, 500, 24, Sunset, {}) &&
            WriteJpeg(dir + "rings.jpg", 360, 480, Rings) &&
            WriteBmp(dir + "tiles.bmp", 200, 140, 8, Tiles, tiles) &&
            WriteBmp(dir + "bars.bmp", 320, 120, 4, Bars, vga) &&
            WriteJpeg(dir + "sunset.jpg", 1200, 700, Sunset) &&
            WriteBmp(dir + "grey.bmp", 256, 64, 8, [](int x, int, int, int) { return Rgb{uint8_t(x), uint8_t(x), uint8_t(x)}; }, grey);
  if (!ok) std::fprintf(stderr, "pellora-demo-pictures: cannot write the pictures into %s\n", argv[1]);
  return ok ? 0 : 1;
}
