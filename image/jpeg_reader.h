// JPEG decoding through libjpeg into a 24-bit packed bitmap block at the
// picture's full size.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "image/dib.h"
#include "image/picture_readers.h"

namespace pellora {

// The decoded picture (rows bottom-up, pixels blue, green, red), or the
// reason there is none: the bytes are not a JPEG picture this library
// decodes, or one larger than any slide could need. The library's warnings
// (a file that ends early, for one) do not stop decoding: the first comes
// back as the warning. Nothing is written to the error stream.
PictureRead ReadJpeg(std::span<const uint8_t> bytes);
// The same at 1/2, 1/4 or 1/8 of its size (reduction 2, 4 or 8), reduced
// by the library while decoding, which is faster than decoding it whole.
PictureRead ReadJpegReduced(std::span<const uint8_t> bytes, int reduction);
// The picture decoded from the file, or empty.
HDIB ReadJpegFile(const std::string& path);

}  // namespace pellora
