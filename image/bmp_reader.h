// The bitmap file reader: BMP, DIB and RLE files (Windows 40-byte headers
// and their longer successors, OS/2 12-byte core headers) of 1, 4, 8 or 24
// bits, uncompressed or 8-bit run-length, into a packed bitmap block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "image/dib.h"
#include "image/picture_readers.h"

namespace pellora {

// The block read from the file's bytes, or the reason there is none (a
// file that is not a bitmap, or not one this reader accepts); a file
// short of its pixels gives its rows with a warning.
PictureRead ReadBitmap(std::span<const uint8_t> bytes);
// The block read from the file, or empty.
HDIB ReadBitmapFile(const std::string& path);

// Expands an 8-bit run-length stream into uncompressed rows of
// (width + 3) & ~3 bytes, bottom row first. Writes stay inside
// pixels[0 .. pixelBytes) and reads inside stream[0 .. streamBytes); bytes
// the stream never reaches keep their value.
void DecodeRLE8(const BITMAPINFOHEADER& header, uint8_t* pixels, size_t pixelBytes, const uint8_t* stream,
                size_t streamBytes);

}  // namespace pellora
