// TIFF through libtiff, reading from memory; its messages become the
// reason, never output.
#include <tiffio.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "image/dib_pixels.h"
#include "tools/pictures/codecs.h"

namespace pellora::pictures {
namespace {

struct Memory {
  std::span<const uint8_t> bytes;
  toff_t at = 0;
  std::string error;
};

tsize_t Read(thandle_t handle, tdata_t buffer, tsize_t size) {
  auto* m = static_cast<Memory*>(handle);
  if (size <= 0 || m->at >= m->bytes.size()) return 0;
  size_t n = std::min<size_t>(size_t(size), m->bytes.size() - size_t(m->at));
  std::memcpy(buffer, m->bytes.data() + m->at, n);
  m->at += n;
  return tsize_t(n);
}
tsize_t Write(thandle_t, tdata_t, tsize_t) { return 0; }
toff_t Seek(thandle_t handle, toff_t offset, int whence) {
  auto* m = static_cast<Memory*>(handle);
  toff_t base = whence == SEEK_CUR ? m->at : whence == SEEK_END ? m->bytes.size() : 0;
  m->at = base + offset;
  return m->at;
}
int Close(thandle_t) { return 0; }
toff_t Size(thandle_t handle) { return static_cast<Memory*>(handle)->bytes.size(); }
int Map(thandle_t, tdata_t*, toff_t*) { return 0; }
void Unmap(thandle_t, tdata_t, toff_t) {}

int KeepError(TIFF*, void* user, const char*, const char* format, va_list args) {
  auto* m = static_cast<Memory*>(user);
  if (m->error.empty()) {
    char text[256];
    std::vsnprintf(text, sizeof text, format, args);
    m->error = text;
  }
  return 1;
}
int DropWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct Tiff {
  Memory memory;
  TIFF* tiff = nullptr;
  explicit Tiff(std::span<const uint8_t> bytes) {
    memory.bytes = bytes;
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, KeepError, &memory);
    TIFFOpenOptionsSetWarningHandlerExtR(options, DropWarning, &memory);
    // No single allocation beyond what a picture of the largest size needs.
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t(512) << 20);
    tiff = TIFFClientOpenExt("picture", "rm", &memory, Read, Write, Seek, Close, Size, Map, Unmap, options);
    TIFFOpenOptionsFree(options);
  }
  ~Tiff() {
    if (tiff) TIFFClose(tiff);
  }
  std::string Reason() const { return "damaged TIFF" + (memory.error.empty() ? "" : ": " + memory.error); }
};

bool Size(Tiff& t, std::span<const uint8_t> bytes, uint32_t& width, uint32_t& height, std::string& reason) {
  if (!t.tiff || !TIFFGetField(t.tiff, TIFFTAG_IMAGEWIDTH, &width) || !TIFFGetField(t.tiff, TIFFTAG_IMAGELENGTH, &height)) {
    reason = t.Reason();
    return false;
  }
  return SizeAllowed(width, height, bytes.size(), reason);
}

bool TiffFacts(std::span<const uint8_t> bytes, StoredFacts& facts, std::string& reason) {
  Tiff t(bytes);
  uint32_t width = 0, height = 0;
  if (!Size(t, bytes, width, height, reason)) return false;
  facts.width = int(width);
  facts.height = int(height);
  uint16_t orientation = ORIENTATION_TOPLEFT;
  TIFFGetFieldDefaulted(t.tiff, TIFFTAG_ORIENTATION, &orientation);
  facts.orientation = orientation >= 1 && orientation <= 8 ? orientation : 1;
  uint16_t compression = COMPRESSION_NONE;
  TIFFGetFieldDefaulted(t.tiff, TIFFTAG_COMPRESSION, &compression);
  facts.lossless = compression != COMPRESSION_JPEG && compression != COMPRESSION_OJPEG;
  return true;
}

bool TiffDecode(std::span<const uint8_t> bytes, int, int, HDIB& picture, std::string& reason, std::string&) {
  Tiff t(bytes);
  uint32_t width = 0, height = 0;
  if (!Size(t, bytes, width, height, reason)) return false;
  char message[1024] = {};
  TIFFRGBAImage image;
  if (!TIFFRGBAImageOK(t.tiff, message) || !TIFFRGBAImageBegin(&image, t.tiff, 0, message)) {
    reason = std::string("unsupported TIFF: ") + message;
    return false;
  }
  // The rows as stored, top first: the orientation is applied afterwards
  // with every other picture's.
  image.orientation = ORIENTATION_TOPLEFT;
  image.req_orientation = ORIENTATION_TOPLEFT;
  std::vector<uint32_t> raster(size_t(width) * height);
  bool ok = TIFFRGBAImageGet(&image, raster.data(), width, height);
  TIFFRGBAImageEnd(&image);
  if (!ok) {
    reason = t.Reason();
    return false;
  }
  picture = CreateDIB(width, int32_t(height), 24);
  std::optional<DibRows> out = DibRows::Open(picture);
  if (!out) {
    reason = "not enough memory for the picture";
    return false;
  }
  // The library gives colours already multiplied by their alpha: blended
  // onto black.
  for (uint32_t y = 0; y < height; ++y) {
    const uint32_t* in = raster.data() + size_t(y) * width;
    uint8_t* row = out->Row(int(height - 1 - y));
    for (uint32_t x = 0; x < width; ++x, row += 3) {
      row[0] = uint8_t(TIFFGetB(in[x]));
      row[1] = uint8_t(TIFFGetG(in[x]));
      row[2] = uint8_t(TIFFGetR(in[x]));
    }
  }
  return true;
}

}  // namespace

const Codec kTiffCodec = {PictureFormat::Tiff, &TiffFacts, &TiffDecode};

}  // namespace pellora::pictures
