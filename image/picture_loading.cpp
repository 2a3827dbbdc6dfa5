// CDIB::LoadFile and LoadBytes: decoding a picture into the container, the
// reader chosen by the picture's type name.
#include "image/cdib.h"
#include "image/picture_readers.h"
#include "platform/os/file.h"

namespace pellora {

void CDIB::LoadFile(const std::string& path, const std::string& typeName) {
  m_hDIB.Free();
  m_palette.DeleteObject();
  if (path.empty() || !FileExists(path)) return;
  const PictureReader* reader = PictureReaderFor(typeName.empty() ? path : typeName);
  if (!reader) return;
  HDIB picture = ReadPictureFile(*reader, path).picture;
  if (picture) Attach(std::move(picture));
}

void CDIB::LoadBytes(std::span<const uint8_t> bytes, const std::string& typeName) {
  m_hDIB.Free();
  m_palette.DeleteObject();
  const PictureReader* reader = PictureReaderFor(typeName);
  if (!reader) return;
  HDIB picture = reader->read(bytes).picture;
  if (picture) Attach(std::move(picture));
}

}  // namespace pellora
