// The picture readers, one entry per format in kPictureReaders, as the
// module loaders are listed in kModLoaders: its name, the type names that
// choose it, how its files are recognised from their first bytes, and the
// reading from bytes, which gives the picture or a short reason. The
// player chooses a reader by a type name (a slide's stored format, or a
// file's name); the tools also recognise files by their bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "image/dib.h"

namespace pellora {

// What a reader made of a file's bytes.
struct PictureRead {
  HDIB picture;  // empty when nothing could be read
  // Why not, when the picture is empty ("truncated JPEG", "unsupported BMP
  // compression 5", "not a JPEG picture").
  std::string reason;
  // What the reader met and went past, when the picture is not empty: a
  // file that ends early shows what it holds ("truncated JPEG").
  std::string warning;
};

struct PictureReader {
  const char* name;  // "JPEG"
  // The last three letters of the type names that choose it (any case).
  std::span<const char* const> typeNames;
  // True when a file's first bytes are of this format.
  bool (*recognise)(std::span<const uint8_t> head);
  PictureRead (*read)(std::span<const uint8_t> bytes);
  // A file is read only this far.
  size_t maxFileBytes;
};

// Each format's reader, defined with its decoder.
extern const PictureReader kBitmapReader, kJpegReader;
inline constexpr const PictureReader* kPictureReaders[] = {&kBitmapReader, &kJpegReader};

// The reader the last three letters of a type name choose, without regard
// to case: BMP, DIB and RLE for bitmaps, JPG for JPEG; null for any other
// name (PCX, GIF, PCD, TGA and TIF among them, which no reader takes).
const PictureReader* PictureReaderFor(const std::string& typeName);
// The reader that recognises a file's first bytes, or null.
const PictureReader* RecognisePicture(std::span<const uint8_t> head);
// The reader's picture of a file, or why there is none ("cannot be read").
PictureRead ReadPictureFile(const PictureReader& reader, const std::string& path);

}  // namespace pellora
