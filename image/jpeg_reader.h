// JPEG decoding through libjpeg into a 24-bit packed bitmap block at the
// picture's full size.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "image/dib.h"

namespace pellora {

// The decoded picture (rows bottom-up, pixels blue, green, red), or empty
// when the file cannot be opened, is not a JPEG picture this library
// decodes, or is larger than any slide could need. Library warnings (a
// file that ends early, for one) do not stop decoding; the library's
// messages go to standard error.
HDIB ReadJpegFile(const std::string& path);
// The same from the file's bytes in memory.
HDIB ReadJpeg(std::span<const uint8_t> bytes);

}  // namespace pellora
