// Turning a packed bitmap block into plain top-down RGB rows, the form in
// which screen images are written to PNG files and compared.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image/dib.h"

namespace pellora {

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // red, green, blue; top row first; width * 3 bytes a row

  const uint8_t* Pixel(int x, int y) const { return &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3]; }
};

// The block's pixels (1, 4, 8 or 24 bits, colours from its table) top row
// first; false when the block is not usable.
bool DIBToRgb(const HDIB& dib, RgbImage& image);
// Writes the block as a PNG file; false when it cannot.
bool WriteDIBPng(const std::string& path, const HDIB& dib);

}  // namespace pellora
