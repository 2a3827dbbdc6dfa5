// CDIB::LoadFile: decoding a picture file into the container, the decoder
// chosen by the picture's type name.
#include <array>

#include "image/bmp_reader.h"
#include "image/cdib.h"
#include "image/jpeg_reader.h"
#include "platform/base/text.h"
#include "platform/os/file.h"

namespace pellora {

int PictureTypeOf(const std::string& typeName) {
  static constexpr std::array<const char*, 9> kTypes = {"BMP", "PCX", "GIF", "JPG", "RLE",
                                                        "DIB", "PCD", "TGA", "TIF"};
  if (typeName.size() < 3) return PICTURE_UNKNOWN;
  std::string_view last(typeName.data() + typeName.size() - 3, 3);
  for (size_t i = 0; i < kTypes.size(); ++i)
    if (EqualsIgnoreCaseAscii(last, kTypes[i])) return int(i);
  return PICTURE_UNKNOWN;
}

namespace {

// The readers of the decoded picture types, over a file or over bytes.
template <class Source>
HDIB Decode(int type, const Source& source, HDIB (*bitmap)(Source), HDIB (*jpeg)(Source)) {
  switch (type) {
    case PICTURE_BMP:
    case PICTURE_RLE:
    case PICTURE_DIB: return bitmap(source);
    case PICTURE_JPG: return jpeg(source);
    default: return {};
  }
}

}  // namespace

void CDIB::LoadFile(const std::string& path, const std::string& typeName) {
  m_hDIB.Free();
  m_palette.DeleteObject();
  if (path.empty() || !FileExists(path)) return;
  HDIB picture = Decode<const std::string&>(PictureTypeOf(typeName.empty() ? path : typeName), path, ReadBitmapFile,
                                            ReadJpegFile);
  if (picture) Attach(std::move(picture));
}

void CDIB::LoadBytes(std::span<const uint8_t> bytes, const std::string& typeName) {
  m_hDIB.Free();
  m_palette.DeleteObject();
  HDIB picture = Decode<std::span<const uint8_t>>(PictureTypeOf(typeName), bytes, ReadBitmap, ReadJpeg);
  if (picture) Attach(std::move(picture));
}

}  // namespace pellora
