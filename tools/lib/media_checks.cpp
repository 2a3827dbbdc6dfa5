#include "tools/lib/media_checks.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "image/picture_readers.h"
#include "music/mod_player.h"
#include "platform/audio/media_file.h"
#include "platform/os/file.h"
#include "show/show_sound.h"
#include "tools/lib/show_description.h"

namespace pellora::tools {
namespace {
// Enough of a file's start for the readers to recognise it.
constexpr size_t kHeadBytes = 64;
}  // namespace

std::string PictureProblem(const std::string& path) {
  std::optional<std::vector<uint8_t>> head = ReadFileBytes(path, kHeadBytes);
  if (!head) return "cannot be read";
  const PictureReader* bytesSay = RecognisePicture(*head);
  if (!bytesSay) return "not a JPEG or BMP picture";
  const PictureReader* nameSays = PictureReaderFor(PictureFormatTag(path));
  if (!nameSays) return kPictureNamesDecoded;
  if (nameSays != bytesSay)
    return std::string("a ") + bytesSay->name + " picture whose name says " + nameSays->name +
           ": the player decodes by the name";
  PictureRead read = ReadPictureFile(*nameSays, path);
  return read.picture ? std::string() : read.reason;
}

std::string SoundProblem(const std::string& path) {
  if (!ReadFileBytes(path, 0)) return "cannot be read";
  if (FileKind(path) == FILE_KIND_MODULE) {
    CModPlayer player(0);
    if (player.Open(path)) return {};
    return "not a tracker module the player can load (its name says MOD, S3M, STM, XM, MTM or 669)";
  }
  // The media devices play what the identification names, and only that.
  if (IdentifyMediaFile(path) == MediaFileKind::Unknown)
    return "not a WAV, MIDI, MP3, OGG or FLAC sound, nor a tracker module named as one";
  return {};
}

}  // namespace pellora::tools
