#include "tools/pictures/picture_format.h"

#include <cstring>

namespace pellora::pictures {
namespace {

bool StartsWith(std::span<const uint8_t> head, const char* magic, size_t length, size_t at = 0) {
  return head.size() >= at + length && std::memcmp(head.data() + at, magic, length) == 0;
}

// An ISO base media file ("....ftyp"): AVIF when its major or a
// compatible brand says so, HEIC for the HEIF brands.
PictureFormat HeifKind(std::span<const uint8_t> head) {
  if (!StartsWith(head, "ftyp", 4, 4)) return PictureFormat::Unknown;
  size_t boxSize = size_t(head[0]) << 24 | size_t(head[1]) << 16 | size_t(head[2]) << 8 | head[3];
  size_t end = std::min(head.size(), boxSize);
  bool heif = false;
  for (size_t at = 8; at + 4 <= end; at += at == 8 ? 8 : 4) {
    const uint8_t* brand = head.data() + at;
    if (!std::memcmp(brand, "avif", 4) || !std::memcmp(brand, "avis", 4)) return PictureFormat::Avif;
    for (const char* known : {"heic", "heix", "heim", "heis", "hevc", "hevx", "mif1", "msf1"})
      if (!std::memcmp(brand, known, 4)) heif = true;
  }
  return heif ? PictureFormat::Heic : PictureFormat::Unknown;
}

}  // namespace

const char* FormatName(PictureFormat format) {
  switch (format) {
    case PictureFormat::Jpeg: return "JPEG";
    case PictureFormat::Bmp: return "BMP";
    case PictureFormat::Png: return "PNG";
    case PictureFormat::Webp: return "WebP";
    case PictureFormat::Heic: return "HEIC";
    case PictureFormat::Avif: return "AVIF";
    case PictureFormat::Tiff: return "TIFF";
    case PictureFormat::Gif: return "GIF";
    case PictureFormat::Unknown: break;
  }
  return "unknown";
}

PictureFormat RecogniseFormat(std::span<const uint8_t> head) {
  if (StartsWith(head, "\xFF\xD8\xFF", 3)) return PictureFormat::Jpeg;
  if (StartsWith(head, "\x89PNG\r\n\x1A\n", 8)) return PictureFormat::Png;
  if (StartsWith(head, "RIFF", 4) && StartsWith(head, "WEBP", 4, 8)) return PictureFormat::Webp;
  if (StartsWith(head, "GIF87a", 6) || StartsWith(head, "GIF89a", 6)) return PictureFormat::Gif;
  if (StartsWith(head, "II*\0", 4) || StartsWith(head, "MM\0*", 4)) return PictureFormat::Tiff;
  if (StartsWith(head, "BM", 2)) return PictureFormat::Bmp;
  return HeifKind(head);
}

}  // namespace pellora::pictures
