#include "tools/lib/media_checks.h"

#include <algorithm>

#include "image/cdib.h"
#include "music/mod_player.h"
#include "platform/os/file.h"
#include "show/show_sound.h"
#include "tools/lib/show_description.h"

namespace pellora::tools {
namespace {

// Enough of a file's start and end to recognise it; the files are read
// whole by the decoders anyway.
struct Ends {
  std::string head, tail;
  long long length = -1;
};

Ends ReadEnds(const std::string& path) {
  Ends ends;
  CFile file;
  if (!file.Open(path, CFile::Mode::Read)) return ends;
  ends.length = file.Length();
  if (ends.length < 0) return ends;
  ends.head.resize(size_t(std::min<long long>(ends.length, 64)));
  ends.head.resize(size_t(std::max(0LL, file.Read(ends.head.data(), ends.head.size()))));
  if (ends.length > 64) {
    ends.tail.resize(16);
    file.Seek(ends.length - 16, CFile::Origin::Begin);
    ends.tail.resize(size_t(std::max(0LL, file.Read(ends.tail.data(), ends.tail.size()))));
  }
  return ends;
}

bool StartsWith(const std::string& bytes, std::string_view magic) { return bytes.compare(0, magic.size(), magic) == 0; }

bool IsJpeg(const std::string& head) { return StartsWith(head, "\xFF\xD8\xFF"); }
bool IsBitmap(const std::string& head) { return StartsWith(head, "BM"); }

}  // namespace

std::string PictureProblem(const std::string& path) {
  Ends ends = ReadEnds(path);
  if (ends.length < 0) return "cannot be read";
  bool jpeg = IsJpeg(ends.head), bitmap = IsBitmap(ends.head);
  if (!jpeg && !bitmap) return "not a JPEG or BMP picture";
  std::string tag = PictureFormatTag(path);
  bool jpegTag = tag == "JPG", bitmapTag = tag == "BMP" || tag == "DIB" || tag == "RLE";
  if (!jpegTag && !bitmapTag) return "the player decodes only names ending in .jpg, .jpeg, .bmp, .dib or .rle";
  if (jpeg && !jpegTag) return "a JPEG picture whose name says bitmap: the player decodes by the name";
  if (bitmap && !bitmapTag) return "a BMP picture whose name says JPEG: the player decodes by the name";
  CDIB picture;
  picture.LoadFile(path, tag);
  if (picture.m_hDIB) return {};
  if (jpeg) {
    std::string end = ends.tail.empty() ? ends.head : ends.tail;
    return end.find("\xFF\xD9") == std::string::npos ? "truncated JPEG" : "damaged JPEG";
  }
  uint32_t declared = 0;
  if (ends.head.size() >= 6)
    for (int i = 5; i >= 2; --i) declared = declared << 8 | uint8_t(ends.head[size_t(i)]);
  return declared > ends.length ? "truncated BMP" : "damaged or unsupported BMP";
}

std::string SoundProblem(const std::string& path) {
  Ends ends = ReadEnds(path);
  if (ends.length < 0) return "cannot be read";
  if (FileKind(path) == FILE_KIND_MODULE) {
    CModPlayer player(0);
    if (player.Open(path)) return {};
    return "not a tracker module the player can load (its name says MOD, S3M, STM, XM, MTM or 669)";
  }
  const std::string& h = ends.head;
  bool known = (StartsWith(h, "RIFF") && h.compare(8, 4, "WAVE") == 0) || StartsWith(h, "MThd") ||
               StartsWith(h, "ID3") || (h.size() >= 2 && uint8_t(h[0]) == 0xFF && (uint8_t(h[1]) & 0xE0) == 0xE0) ||
               StartsWith(h, "OggS") || StartsWith(h, "fLaC");
  if (!known) return "not a WAV, MIDI, MP3, OGG or FLAC sound, nor a tracker module named as one";
  return {};
}

}  // namespace pellora::tools
