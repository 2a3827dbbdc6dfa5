// The pictures pack stores: what a picture file is (probing: its format by
// content, upright size, EXIF date taken) and making of it what the player
// reads (converting: a JPEG or 24-bit BMP, upright, no larger than asked),
// saying what was done. Both take the file's bytes; nothing is printed.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "image/dib.h"
#include "tools/pictures/picture_format.h"

namespace pellora::pictures {

struct PictureProbe {
  PictureFormat format = PictureFormat::Unknown;
  // The upright size (after the EXIF orientation); 0 when unknown.
  int width = 0, height = 0;
  // The EXIF orientation, 1 to 8, that converting applies (1 when the
  // file has none or its decoder turns it itself).
  int orientation = 1;
  // EXIF DateTimeOriginal, "YYYY:MM:DD HH:MM:SS"; empty when absent.
  std::string dateTaken;
  // Empty when the header was read; otherwise why not ("not a picture
  // pack reads", "this build reads no WebP pictures", "damaged PNG: …").
  std::string reason;
  bool Ok() const { return reason.empty(); }
};

// Reads the header only: fast enough for a folder of photos.
PictureProbe ProbePicture(std::span<const uint8_t> bytes);

struct ConvertOptions {
  // Pictures larger than this in either direction are scaled down to fit
  // it, keeping their ratio; 0 x 0 leaves every size alone.
  int maxWidth = 0, maxHeight = 0;
  // The quality of the JPEG files made, 1 to 100.
  int quality = 90;
  // Lossless sources that must be stored anew become 24-bit BMP files
  // rather than JPEG files.
  bool lossless = false;
};

struct ConvertedPicture {
  // Empty when it worked; otherwise why the picture cannot be stored.
  std::string reason;
  // What the player was given to go past ("truncated JPEG: the picture
  // ends after 38 % of its rows", "damaged JPEG: …").
  std::string warning;
  PictureFormat source = PictureFormat::Unknown;
  // The bytes to store (the source's own when nothing had to change) and
  // their type name: "JPG" or "BMP".
  std::vector<uint8_t> bytes;
  std::string formatTag;
  // The stored picture as the player decodes it, for its size, depth and
  // thumbnails.
  HDIB picture;
  // What was done: stored anew from another format, turned upright
  // (losslessly: in the JPEG's own blocks), scaled down.
  bool converted = false, turned = false, turnedLosslessly = false, scaled = false;
  bool Ok() const { return reason.empty(); }
};

// Makes the stored picture of a file's bytes (taken, so that an unchanged
// file is stored without a copy).
ConvertedPicture ConvertPicture(std::vector<uint8_t> bytes, const ConvertOptions& options);

}  // namespace pellora::pictures
