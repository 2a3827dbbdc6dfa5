// CDIB::LoadFile: decoding a picture file into the container, the decoder
// chosen by the picture's type name.
#include <array>

#include "image/bmp_reader.h"
#include "image/cdib.h"
#include "image/jpeg_reader.h"
#include "platform/file.h"
#include "platform/text.h"

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

void CDIB::LoadFile(const std::string& path, const std::string& typeName) {
  m_hDIB.Free();
  m_palette.DeleteObject();
  if (path.empty() || !FileExists(path)) return;
  HDIB picture;
  switch (PictureTypeOf(typeName.empty() ? path : typeName)) {
    case PICTURE_BMP:
    case PICTURE_RLE:
    case PICTURE_DIB:
      picture = ReadBitmapFile(path);
      break;
    case PICTURE_JPG:
      picture = ReadJpegFile(path);
      break;
    default:
      break;
  }
  if (picture) Attach(std::move(picture));
}

}  // namespace pellora
