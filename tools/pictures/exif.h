// Reading what pack needs from a picture's EXIF block (a TIFF structure:
// byte order, IFD0 and the EXIF sub-directory): its orientation and the
// date it was taken. Every offset is checked against the block; a damaged
// block gives what could be read before the damage.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace pellora::pictures {

struct ExifFacts {
  // 1 (upright) to 8, as the EXIF Orientation tag numbers them.
  int orientation = 1;
  // DateTimeOriginal as stored, "YYYY:MM:DD HH:MM:SS"; empty when absent
  // or not a date.
  std::string dateTaken;
};

// The facts of a TIFF structure: an EXIF block without its "Exif\0\0"
// prefix, or a whole TIFF file.
ExifFacts ReadExif(std::span<const uint8_t> tiff);

// The TIFF structure of a JPEG file's EXIF segment (APP1 "Exif\0\0"), or
// empty. Only the markers before the image data are looked at.
std::span<const uint8_t> FindJpegExif(std::span<const uint8_t> jpeg);
// The same for a PNG file's eXIf chunk and a WebP file's EXIF chunk.
std::span<const uint8_t> FindPngExif(std::span<const uint8_t> png);
std::span<const uint8_t> FindWebpExif(std::span<const uint8_t> webp);

}  // namespace pellora::pictures
