#include "tools/lib/stored_values.h"

#include <algorithm>
#include <cstring>

#include "document/diapo_doc.h"
#include "image/dib.h"
#include "platform/base/text.h"
#include "platform/os/file.h"

namespace pellora::tools {
namespace {

using nlohmann::json;

constexpr std::string_view kShowKeys[] = {
    "magic",       "version",   "title",   "description", "notice",      "scrambledPassword", "backgroundKind",
    "placement",   "horizontal", "colourA", "colourB",     "plainColour", "backgroundName",    "backgroundPicture",
    "musicName"};
constexpr std::string_view kSlideKeys[] = {
    "pictureName",  "format",       "name",         "comment", "thumbnail", "thumbnailSize", "smallThumbnail",
    "smallThumbnailSize", "pictureWidth", "pictureHeight", "pictureDepth", "fit", "sound", "advance",
    "transition",   "soundName",    "reserved"};
// Stored bitmaps larger than this are not thumbnails or backgrounds.
constexpr size_t kLargestStoredBitmap = 0x7FFFFFFF;

// Reads the values of one "stored" object, each checked, each problem
// named by its key.
class StoredReader {
 public:
  StoredReader(const json& stored, const StoredContext& context, std::span<const std::string_view> keys)
      : stored_(stored), context_(context) {
    if (!stored.is_object()) {
      Problem("\"stored\" must be an object");
      return;
    }
    for (const auto& [key, unused] : stored.items())
      if (std::find(keys.begin(), keys.end(), key) == keys.end()) Problem("unknown key \"" + key + "\" in \"stored\"");
  }

  // Text kept exactly in the code page (Windows-1252), control characters
  // and all.
  void Text(const char* key, std::string& member) {
    const json* v = Find(key);
    if (!v) return;
    std::string utf8 = v->is_string() ? v->get<std::string>() : "";
    std::string stored = Utf8ToCp1252(utf8);
    if (!v->is_string() || Cp1252ToUtf8(stored) != utf8) return Problem(Name(key) + " must be text of Windows-1252");
    member = stored;
  }

  template <typename T>
  void Number(const char* key, T& member, uint64_t highest) {
    const json* v = Find(key);
    if (!v) return;
    if (!v->is_number_unsigned() || v->get<uint64_t>() > highest)
      return Problem(Name(key) + " must be a whole number from 0 to " + std::to_string(highest));
    member = T(v->get<uint64_t>());
  }

  void Pair(const char* key, uint32_t (&member)[2]) {
    const json* v = Find(key);
    if (!v) return;
    if (!v->is_array() || v->size() != 2 || !(*v)[0].is_number_unsigned() || !(*v)[1].is_number_unsigned() ||
        (*v)[0].get<uint64_t>() > UINT32_MAX || (*v)[1].get<uint64_t>() > UINT32_MAX)
      return Problem(Name(key) + " must be [width, height]");
    member[0] = (*v)[0].get<uint32_t>();
    member[1] = (*v)[1].get<uint32_t>();
  }

  // The scrambled password as hexadecimal digits, two a byte.
  void Hex(const char* key, std::string& member) {
    const json* v = Find(key);
    if (!v) return;
    std::string digits = v->is_string() ? v->get<std::string>() : "x";
    std::string bytes;
    for (size_t i = 0; i + 1 < digits.size() && HexDigit(digits[i]) >= 0 && HexDigit(digits[i + 1]) >= 0; i += 2)
      bytes += char(HexDigit(digits[i]) * 16 + HexDigit(digits[i + 1]));
    if (bytes.size() * 2 != digits.size()) return Problem(Name(key) + " must be hexadecimal digits, two for each byte");
    member = bytes;
  }

  // A .bmp file whose bitmap is stored as it is; "" stores none.
  void Bitmap(const char* key, CDIB& member) {
    const json* v = Find(key);
    if (!v) return;
    if (!v->is_string()) return Problem(Name(key) + " must name a .bmp file, or be \"\" for none");
    member = CDIB();
    std::string given = v->get<std::string>();
    if (given.empty()) return;
    std::string path = context_.resolve(given);
    std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(path, kLargestStoredBitmap);
    GlobalBlock dib;
    if (!bytes) return Problem("cannot open " + Name(key) + " " + given);
    if (!DibFromBmpFile(std::string(bytes->begin(), bytes->end()), dib))
      return Problem(Name(key) + " " + given + " is not a BMP file");
    member.m_hDIB = std::move(dib);
  }

 private:
  const json* Find(const char* key) const {
    if (!stored_.is_object()) return nullptr;
    auto it = stored_.find(key);
    return it == stored_.end() ? nullptr : &*it;
  }
  static std::string Name(const char* key) { return std::string("\"stored\": \"") + key + "\""; }
  static int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }
  void Problem(const std::string& text) { context_.problem(true, text); }

  const json& stored_;
  const StoredContext& context_;
};

}  // namespace

std::span<const std::string_view> StoredShowKeys() { return kShowKeys; }
std::span<const std::string_view> StoredSlideKeys() { return kSlideKeys; }

void ApplyStoredShowValues(const json& stored, CDiapoDoc& doc, const StoredContext& context) {
  StoredReader r(stored, context, kShowKeys);
  r.Text("magic", doc.packageMagic);
  if (!EqualsIgnoreCaseAscii(doc.packageMagic, kPackageMagic) || doc.packageMagic.size() != kPackageMagicLength) {
    context.problem(true, "\"stored\": \"magic\" must be \"" + std::string(kPackageMagic) + "\" in any letter case");
    doc.packageMagic = kPackageMagic;
  }
  r.Number("version", doc.packageVersion, 0xFFFF);
  r.Text("title", doc.title);
  r.Text("description", doc.description);
  r.Text("notice", doc.notice);
  r.Hex("scrambledPassword", doc.storedPassword);
  if (!doc.storedPassword.empty()) doc.password = UnscramblePassword(doc.storedPassword);
  r.Number("backgroundKind", doc.backgroundKind, 0xFFFF);
  r.Number("placement", doc.backgroundPlacement, 0xFFFF);
  r.Number("horizontal", doc.gradientHorizontal, 0xFFFF);
  r.Number("colourA", doc.gradientColourA, UINT32_MAX);
  r.Number("colourB", doc.gradientColourB, UINT32_MAX);
  r.Number("plainColour", doc.plainColour, UINT32_MAX);
  r.Text("backgroundName", doc.backgroundFileName);
  r.Bitmap("backgroundPicture", doc.backgroundPicture);
  r.Text("musicName", doc.musicFileName);
}

void ApplyStoredSlideValues(const json& stored, CDiapoObject& slide, const StoredContext& context) {
  StoredReader r(stored, context, kSlideKeys);
  r.Text("pictureName", slide.pictureFileName);
  r.Text("format", slide.pictureFormat);
  r.Text("name", slide.slideName);
  r.Text("comment", slide.slideComment);
  r.Bitmap("thumbnail", slide.thumbnail);
  r.Pair("thumbnailSize", slide.thumbnailSize);
  r.Bitmap("smallThumbnail", slide.smallThumbnail);
  r.Pair("smallThumbnailSize", slide.smallThumbnailSize);
  r.Number("pictureWidth", slide.pictureWidth, UINT32_MAX);
  r.Number("pictureHeight", slide.pictureHeight, UINT32_MAX);
  r.Number("pictureDepth", slide.pictureDepth, 0xFFFF);
  r.Number("fit", slide.pictureFit, 0xFFFF);
  r.Number("sound", slide.soundMode, 0xFFFF);
  r.Number("advance", slide.advanceMode, 0xFFFF);
  r.Number("transition", slide.transition, 0xFFFF);
  r.Text("soundName", slide.soundFileName);
  r.Number("reserved", slide.slideReserved, 0xFFFF);
}

std::string DibAsBmpFile(const GlobalBlock& dib) {
  const size_t n = dib.size();
  size_t headers = n;
  if (n >= 40) {
    uint32_t headerSize = 0, compression = 0;
    std::memcpy(&headerSize, dib.data(), 4);
    std::memcpy(&compression, dib.data() + 16, 4);
    uint64_t masks = headerSize == 40 && compression == 3 ? 12 : 0;
    headers = size_t(std::min<uint64_t>(n, uint64_t(headerSize) + DIBPaletteSize(dib.data()) + masks));
  }
  auto dword = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  uint64_t total = 14 + uint64_t(n);
  std::string file = "BM" + dword(uint32_t(std::min<uint64_t>(total, UINT32_MAX))) + dword(0) + dword(uint32_t(14 + headers));
  file.append(reinterpret_cast<const char*>(dib.data()), n);
  return file;
}

bool DibFromBmpFile(const std::string& file, GlobalBlock& dib) {
  if (file.size() < 14 || file.compare(0, 2, "BM") != 0) return false;
  dib = GlobalBlock::Allocate(file.size() - 14, false);
  if (!dib && file.size() > 14) return false;
  if (file.size() > 14) std::memcpy(dib.data(), file.data() + 14, file.size() - 14);
  return true;
}

}  // namespace pellora::tools
