// Writing screen images as PNG files (screenshots, rendered slides).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pellora {

class Surface;

// rgb holds height rows of width pixels, three bytes each (red, green,
// blue), rows stride bytes apart, top row first. The file appears complete
// or not at all; what stands at path must be a regular file (OutputRefusal).
bool WritePngRgb(const std::string& path, int width, int height, const uint8_t* rgb, size_t stride);
bool WritePng(const std::string& path, const Surface& surface);

}  // namespace pellora
