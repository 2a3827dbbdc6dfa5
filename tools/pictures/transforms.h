// Turning and scaling 24-bit blocks, and storing them as JPEG or BMP files.
#pragma once

#include <cstdint>
#include <vector>

#include "image/dib.h"

namespace pellora::pictures {

// The picture turned upright from its EXIF orientation (1 to 8); 5 to 8
// exchange width and height. Empty when out of memory.
HDIB TurnUpright(const HDIB& picture, int orientation);
// The picture scaled down to width x height by area averaging: each new
// pixel is the mean of the source area it covers. Empty when out of memory.
HDIB ScaleDown(const HDIB& picture, int width, int height);
// The largest size within maxWidth x maxHeight with the ratio of
// width x height (each side at least 1).
void FitInside(int width, int height, int maxWidth, int maxHeight, int& fitWidth, int& fitHeight);

// A baseline JPEG file of the picture at the quality (1 to 100); empty on failure.
std::vector<uint8_t> EncodeJpeg(const HDIB& picture, int quality);
// A 24-bit BMP file of the picture.
std::vector<uint8_t> EncodeBmp(const HDIB& picture);

}  // namespace pellora::pictures
