// Compressing pictures to JPEG: the demo's pictures, test files and
// benchmark data are made with it. The player itself only reads JPEG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pellora {

// samples hold height rows (top row first) of width pixels of components
// bytes each: 1 grey, 3 red-green-blue, 4 CMYK (written with Adobe's marker,
// so given inverted as Adobe's files hold them). Empty on failure.
std::vector<uint8_t> CompressJpeg(int width, int height, const uint8_t* samples, int components, int quality = 90,
                                  bool progressive = false);
bool WriteJpegFile(const std::string& path, int width, int height, const uint8_t* samples, int components,
                   int quality = 90, bool progressive = false);

}  // namespace pellora
