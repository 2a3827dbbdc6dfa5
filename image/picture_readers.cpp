#include "image/picture_readers.h"

#include <string_view>

#include "platform/base/text.h"
#include "platform/os/file.h"

namespace pellora {

const PictureReader* PictureReaderFor(const std::string& typeName) {
  if (typeName.size() < 3) return nullptr;
  std::string_view last(typeName.data() + typeName.size() - 3, 3);
  for (const PictureReader* reader : kPictureReaders)
    for (const char* type : reader->typeNames)
      if (EqualsIgnoreCaseAscii(last, type)) return reader;
  return nullptr;
}

const PictureReader* RecognisePicture(std::span<const uint8_t> head) {
  for (const PictureReader* reader : kPictureReaders)
    if (reader->recognise(head)) return reader;
  return nullptr;
}

PictureRead ReadPictureFile(const PictureReader& reader, const std::string& path) {
  std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(path, reader.maxFileBytes);
  if (!bytes) return {{}, "cannot be read", {}};
  return reader.read(*bytes);
}

}  // namespace pellora
