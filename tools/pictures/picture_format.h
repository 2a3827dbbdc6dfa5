// The picture formats pack reads, recognised by their first bytes rather
// than by a file's name.
#pragma once

#include <cstdint>
#include <span>

namespace pellora::pictures {

enum class PictureFormat { Unknown, Jpeg, Bmp, Png, Webp, Heic, Avif, Tiff, Gif };

// "JPEG", "BMP", "PNG", "WebP", "HEIC", "AVIF", "TIFF", "GIF"; "unknown".
const char* FormatName(PictureFormat format);
// The format a file's first bytes (at least 32 of them when the file has
// them) belong to.
PictureFormat RecogniseFormat(std::span<const uint8_t> head);

}  // namespace pellora::pictures
