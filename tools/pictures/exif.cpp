#include "tools/pictures/exif.h"

#include <cstring>
#include <optional>

namespace pellora::pictures {
namespace {

constexpr uint16_t kOrientationTag = 0x0112, kExifPointerTag = 0x8769, kDateTimeOriginalTag = 0x9003;
constexpr uint16_t kAscii = 2, kShort = 3, kLong = 4;
// Directories larger than this are damaged, not rich.
constexpr uint16_t kMaxEntries = 1000;

class TiffBlock {
 public:
  explicit TiffBlock(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  bool Start() {
    if (bytes_.size() < 8) return false;
    if (bytes_[0] == 'I' && bytes_[1] == 'I') little_ = true;
    else if (bytes_[0] == 'M' && bytes_[1] == 'M') little_ = false;
    else return false;
    return Get16(2) == 42;
  }
  std::optional<uint16_t> Get16(size_t at) const {
    if (at > bytes_.size() || bytes_.size() - at < 2) return std::nullopt;
    return little_ ? uint16_t(bytes_[at] | bytes_[at + 1] << 8) : uint16_t(bytes_[at] << 8 | bytes_[at + 1]);
  }
  std::optional<uint32_t> Get32(size_t at) const {
    auto a = Get16(at), b = Get16(at + 2);
    if (!a || !b) return std::nullopt;
    return little_ ? uint32_t(*a) | uint32_t(*b) << 16 : uint32_t(*a) << 16 | uint32_t(*b);
  }
  std::span<const uint8_t> Slice(size_t at, size_t length) const {
    if (at > bytes_.size() || bytes_.size() - at < length) return {};
    return bytes_.subspan(at, length);
  }

  // Calls visit(tag, type, count, entryOffset) for each entry of the
  // directory at offset, as long as the entries lie in the block.
  template <typename Visit>
  void Directory(uint32_t offset, Visit visit) const {
    auto count = Get16(offset);
    if (!count || *count > kMaxEntries) return;
    for (uint32_t i = 0; i < *count; ++i) {
      size_t entry = size_t(offset) + 2 + size_t(i) * 12;
      auto tag = Get16(entry), type = Get16(entry + 2);
      auto n = Get32(entry + 4);
      if (!tag || !type || !n || Slice(entry, 12).empty()) return;
      visit(*tag, *type, *n, entry);
    }
  }

 private:
  std::span<const uint8_t> bytes_;
  bool little_ = true;
};

// "YYYY:MM:DD HH:MM:SS" with digits where digits belong and a year that
// is not zero (cameras without a clock write zeros or blanks).
bool IsDate(const std::string& text) {
  const char* shape = "dddd:dd:dd dd:dd:dd";
  if (text.size() != std::strlen(shape)) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    bool digit = text[i] >= '0' && text[i] <= '9';
    if (shape[i] == 'd' ? !digit : text[i] != shape[i]) return false;
  }
  return text.compare(0, 4, "0000") != 0;
}

uint32_t Get32Be(std::span<const uint8_t> b, size_t at) {
  return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}
uint32_t Get32Le(std::span<const uint8_t> b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

// Some writers keep the "Exif\0\0" prefix inside chunks that should not
// have it.
std::span<const uint8_t> WithoutExifPrefix(std::span<const uint8_t> block) {
  if (block.size() >= 6 && std::memcmp(block.data(), "Exif\0\0", 6) == 0) return block.subspan(6);
  return block;
}

}  // namespace

ExifFacts ReadExif(std::span<const uint8_t> tiff) {
  ExifFacts facts;
  TiffBlock block(tiff);
  if (!block.Start()) return facts;
  auto first = block.Get32(4);
  if (!first) return facts;
  std::optional<uint32_t> exifDirectory;
  block.Directory(*first, [&](uint16_t tag, uint16_t type, uint32_t count, size_t entry) {
    if (tag == kOrientationTag && type == kShort && count >= 1) {
      auto value = block.Get16(entry + 8);
      if (value && *value >= 1 && *value <= 8) facts.orientation = *value;
    } else if (tag == kExifPointerTag && (type == kLong || type == 13) && count == 1) {
      exifDirectory = block.Get32(entry + 8);
    }
  });
  // The sub-directory must not be the first one again.
  if (exifDirectory && *exifDirectory != *first) {
    block.Directory(*exifDirectory, [&](uint16_t tag, uint16_t type, uint32_t count, size_t entry) {
      if (tag != kDateTimeOriginalTag || type != kAscii || count < 19 || count > 64) return;
      auto offset = block.Get32(entry + 8);
      std::span<const uint8_t> text = offset ? block.Slice(*offset, 19) : std::span<const uint8_t>();
      std::string date(text.begin(), text.end());
      if (IsDate(date)) facts.dateTaken = date;
    });
  }
  return facts;
}

std::span<const uint8_t> FindJpegExif(std::span<const uint8_t> jpeg) {
  if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) return {};
  size_t at = 2;
  while (at + 4 <= jpeg.size()) {
    if (jpeg[at] != 0xFF) return {};
    uint8_t marker = jpeg[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    // Image data or its end: no more header segments.
    if (marker == 0xDA || marker == 0xD9) return {};
    size_t length = size_t(jpeg[at + 2]) << 8 | jpeg[at + 3];
    if (length < 2 || jpeg.size() - at - 2 < length) return {};
    std::span<const uint8_t> segment = jpeg.subspan(at + 4, length - 2);
    if (marker == 0xE1 && segment.size() >= 6 && std::memcmp(segment.data(), "Exif\0\0", 6) == 0)
      return segment.subspan(6);
    at += 2 + length;
  }
  return {};
}

std::span<const uint8_t> FindPngExif(std::span<const uint8_t> png) {
  size_t at = 8;
  while (at + 12 <= png.size()) {
    uint32_t length = Get32Be(png, at);
    if (length > png.size() - at - 12) return {};
    if (std::memcmp(png.data() + at + 4, "eXIf", 4) == 0) return WithoutExifPrefix(png.subspan(at + 8, length));
    if (std::memcmp(png.data() + at + 4, "IDAT", 4) == 0) return {};
    at += 12 + size_t(length);
  }
  return {};
}

std::span<const uint8_t> FindWebpExif(std::span<const uint8_t> webp) {
  size_t at = 12;
  while (at + 8 <= webp.size()) {
    uint32_t length = Get32Le(webp, at);
    if (length > webp.size() - at - 8) return {};
    if (std::memcmp(webp.data() + at, "EXIF", 4) == 0) return WithoutExifPrefix(webp.subspan(at + 8, length));
    at += 8 + size_t(length) + (length & 1);
  }
  return {};
}

}  // namespace pellora::pictures
