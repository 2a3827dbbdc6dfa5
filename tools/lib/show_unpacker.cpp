#include "tools/lib/show_unpacker.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <set>

#include "document/diapo_doc.h"
#include "platform/base/text.h"
#include "platform/os/file.h"
#include "platform/os/pending_file.h"
#include "platform/storage/archive.h"
#include "tools/lib/safe_names.h"
#include "tools/lib/show_description.h"
#include "tools/lib/stored_values.h"

namespace pellora::tools {
namespace {

using nlohmann::ordered_json;
namespace fs = std::filesystem;

const char* const kKinds[] = {"picture", "gradient", "colour"};
const char* const kPlacements[] = {"stretch", "centre", "tile"};
const char* const kFits[] = {"none", "keep-ratio", "stretch"};
const char* const kAdvances[] = {"timed", "sound-end", "manual"};
const char* const kSounds[] = {"show-music", "silence", "keep", "slide"};
// The version word pack writes.
constexpr uint16_t kPackVersion = 1;

std::string Hex(const std::string& bytes) {
  std::string digits;
  char pair[3];
  for (char c : bytes) {
    std::snprintf(pair, sizeof pair, "%02X", unsigned(uint8_t(c)));
    digits += pair;
  }
  return digits;
}

std::string ColourText(uint32_t colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
  return text;
}

std::string Blob(const GlobalBlock& data, uint32_t size) {
  return data ? std::string(reinterpret_cast<const char*>(data.data()), size) : std::string();
}

std::string Numbered(const char* pattern, size_t n) {
  char text[64];
  std::snprintf(text, sizeof text, pattern, n);
  return text;
}

// The extension of a picture format tag, for a stored name without one.
std::string FormatExtension(const std::string& format) {
  std::string extension = "." + Cp1252ToUtf8(format);
  for (char& c : extension) c = char(std::tolower(uint8_t(c)));
  return format.empty() || extension.find_first_not_of(".abcdefghijklmnopqrstuvwxyz0123456789") != std::string::npos
             ? ".bin"
             : extension;
}

class Describer {
 public:
  explicit Describer(UnpackedShow& show) : show_(show) { used_.push_back(kUnpackedDescription); }

  // A text goes under its own key when the description's reader takes it
  // there, otherwise among the stored values.
  void Text(ordered_json& object, ordered_json& stored, const char* key, const std::string& value, bool lineBreaks) {
    if (value.empty()) return;
    std::string utf8 = Cp1252ToUtf8(value);
    (ControlCharacter(utf8, lineBreaks) ? stored : object)[key] = utf8;
  }

  template <size_t N>
  void Choice(ordered_json& object, ordered_json& stored, const char* key, const char* storedKey, uint32_t value,
              const char* const (&words)[N]) {
    if (value < N) object[key] = words[value];
    else stored[storedKey] = value;
  }

  // An embedded file, written under a safe form of its stored name.
  std::string File(const std::string& storedName, const std::string& fallback, std::string bytes) {
    std::string name = SafeFileName(storedName, fallback, used_);
    show_.files.push_back({name, std::move(bytes)});
    return name;
  }

  std::string Bitmap(const CDIB& dib, const std::string& name) {
    if (!dib.m_hDIB) return "";
    ++show_.bitmaps;
    return File(name, name, DibAsBmpFile(dib.m_hDIB));
  }

  void Show(const CDiapoDoc& doc) {
    ordered_json& d = show_.description;
    ordered_json stored = ordered_json::object();
    if (doc.packageMagic != kPackageMagic) stored["magic"] = doc.packageMagic;
    if (doc.packageVersion != kPackVersion) stored["version"] = doc.packageVersion;
    Text(d, stored, "title", doc.title, false);
    Text(d, stored, "description", doc.description, true);
    Text(d, stored, "notice", doc.notice, true);
    Password(doc, d, stored);
    d["loopShow"] = doc.loopShow;
    Background(doc, d, stored);
    if (doc.musicSize && doc.musicData) {
      d["music"] = File(doc.musicFileName, "music", Blob(doc.musicData, doc.musicSize));
      show_.music = true;
    } else if (!doc.musicFileName.empty()) {
      d["music"] = Cp1252ToUtf8(doc.musicFileName);
      d["embedMusic"] = false;
    }
    if (!doc.musicFileName.empty() || doc.musicSize) stored["musicName"] = Cp1252ToUtf8(doc.musicFileName);
    d["pictureMargin"] = doc.pictureMargin;
    d["pictureOption"] = doc.pictureOption;
    d["slides"] = ordered_json::array();
    std::set<const CDiapoObject*> seen;
    for (size_t i = 0; i < doc.slides.size(); ++i) {
      const CDiapoObject* slide = doc.slides[i].get();
      if (!slide) {
        show_.losses.push_back("slide " + std::to_string(i + 1) + " is empty (a null entry), which a description cannot hold");
        continue;
      }
      if (!seen.insert(slide).second)
        show_.losses.push_back("slide " + std::to_string(i + 1) + " is stored as a second reference to an earlier slide");
      d["slides"].push_back(Slide(*slide, i + 1));
    }
    if (!stored.empty()) d["stored"] = stored;
  }

 private:
  void Password(const CDiapoDoc& doc, ordered_json& d, ordered_json& stored) {
    const std::string& raw = doc.storedPassword.empty() ? ScramblePassword(doc.password) : doc.storedPassword;
    if (raw.empty()) return;
    std::string utf8 = Cp1252ToUtf8(doc.password);
    if (ScramblePassword(doc.password) == raw && doc.password.size() <= 20 && !ControlCharacter(utf8, false))
      d["password"] = utf8;
    else
      stored["scrambledPassword"] = Hex(raw);
  }

  void Background(const CDiapoDoc& doc, ordered_json& d, ordered_json& stored) {
    ordered_json bg = ordered_json::object();
    Choice(bg, stored, "kind", "backgroundKind", uint32_t(doc.backgroundKind), kKinds);
    auto colour = [&](const char* key, uint32_t value) {
      if (value <= 0xFFFFFF) bg[key] = ColourText(value);
      else stored[key] = value;
    };
    colour("colourA", doc.gradientColourA);
    colour("colourB", doc.gradientColourB);
    if (doc.gradientHorizontal == 0 || doc.gradientHorizontal == 1) bg["horizontal"] = doc.gradientHorizontal == 1;
    else stored["horizontal"] = doc.gradientHorizontal;
    colour("plainColour", doc.plainColour);
    Choice(bg, stored, "placement", "placement", uint32_t(doc.backgroundPlacement), kPlacements);
    d["background"] = bg;
    if (!doc.backgroundFileName.empty()) stored["backgroundName"] = Cp1252ToUtf8(doc.backgroundFileName);
    if (doc.backgroundPicture.m_hDIB) stored["backgroundPicture"] = Bitmap(doc.backgroundPicture, "background.bmp");
  }

  ordered_json Slide(const CDiapoObject& slide, size_t n) {
    ordered_json s = ordered_json::object();
    ordered_json stored = ordered_json::object();
    if (slide.pictureSize && slide.pictureData) {
      std::string fallback = Numbered("slide-%03zu", n) + FormatExtension(slide.pictureFormat);
      std::string storedName = slide.pictureFileName;
      if (FileTitle(Cp1252ToUtf8(storedName)).find('.') == std::string::npos && !storedName.empty())
        storedName += Utf8ToCp1252(FormatExtension(slide.pictureFormat));
      s["picture"] = File(storedName, fallback, Blob(slide.pictureData, slide.pictureSize));
      ++show_.pictures;
    } else if (!slide.pictureFileName.empty()) {
      s["picture"] = Cp1252ToUtf8(slide.pictureFileName);
      s["embed"] = false;
    }
    Text(s, stored, "name", slide.slideName, false);
    Text(s, stored, "comment", slide.slideComment, false);
    Choice(s, stored, "fit", "fit", slide.pictureFit, kFits);
    s["duration"] = slide.duration;
    Choice(s, stored, "advance", "advance", slide.advanceMode, kAdvances);
    if (slide.transition <= 18) s["transition"] = slide.transition;
    else stored["transition"] = slide.transition;
    if (slide.soundSize && slide.soundData) {
      s["soundFile"] = File(slide.soundFileName, Numbered("slide-%03zu-sound", n), Blob(slide.soundData, slide.soundSize));
      ++show_.sounds;
    } else if (!slide.soundFileName.empty()) {
      s["soundFile"] = Cp1252ToUtf8(slide.soundFileName);
      s["embedSound"] = false;
    }
    // A slide's own sound needs a file to name; without one the mode is
    // kept as it is stored.
    if (slide.soundMode == 3 && !s.contains("soundFile")) stored["sound"] = slide.soundMode;
    else Choice(s, stored, "sound", "sound", slide.soundMode, kSounds);
    stored["pictureName"] = Cp1252ToUtf8(slide.pictureFileName);
    stored["format"] = Cp1252ToUtf8(slide.pictureFormat);
    stored["pictureWidth"] = slide.pictureWidth;
    stored["pictureHeight"] = slide.pictureHeight;
    stored["pictureDepth"] = slide.pictureDepth;
    stored["thumbnail"] = Bitmap(slide.thumbnail, Numbered("slide-%03zu-thumbnail.bmp", n));
    stored["thumbnailSize"] = {slide.thumbnailSize[0], slide.thumbnailSize[1]};
    stored["smallThumbnail"] = Bitmap(slide.smallThumbnail, Numbered("slide-%03zu-small-thumbnail.bmp", n));
    stored["smallThumbnailSize"] = {slide.smallThumbnailSize[0], slide.smallThumbnailSize[1]};
    if (!slide.soundFileName.empty() || slide.soundSize) stored["soundName"] = Cp1252ToUtf8(slide.soundFileName);
    stored["reserved"] = slide.slideReserved;
    s["stored"] = stored;
    return s;
  }

  UnpackedShow& show_;
  std::vector<std::string> used_;
};

}  // namespace

UnpackedShow DescribeForUnpacking(const CDiapoDoc& document) {
  UnpackedShow show;
  show.description = ordered_json::object();
  Describer(show).Show(document);
  return show;
}

bool WriteUnpackedShow(const UnpackedShow& show, const std::string& dir, std::string& error) {
  fs::path folder = PathFromUtf8(dir);
  std::error_code ec;
  if (fs::exists(folder, ec) && !(fs::is_directory(folder, ec) && fs::is_empty(folder, ec))) {
    error = dir + " is not an empty folder; unpack writes into a new or empty one";
    return false;
  }
  bool created = !fs::exists(folder, ec);
  if (!fs::create_directories(folder, ec) && ec) {
    error = "cannot create " + dir + ": " + ec.message();
    return false;
  }
  std::vector<UnpackedFile> files = show.files;
  files.push_back({kUnpackedDescription, show.description.dump(2) + "\n"});
  std::vector<std::string> written;
  for (const UnpackedFile& f : files) {
    // Each name is one plain file name: the file stays in the folder.
    std::string target = PathToUtf8(folder / PathFromUtf8(f.name));
    PendingFile out(target);
    if (out.File().IsOpen() && out.File().Write(f.bytes.data(), f.bytes.size()) && out.Commit(false)) {
      written.push_back(target);
      continue;
    }
    error = "cannot write " + target;
    for (const std::string& w : written) DeleteFileNormal(w);
    if (created) fs::remove(folder, ec);
    return false;
  }
  return true;
}

std::string CompareRepacked(const std::string& descriptionPath, const std::string& showPath, uint32_t offset) {
  DescriptionRead read = ReadShowDescription(descriptionPath);
  if (!read.document) {
    std::string errors = FormatProblems(descriptionPath, read.problems);
    return "it does not pack: " + (errors.empty() ? std::string("unreadable") : errors.substr(0, errors.size() - 1));
  }
  std::vector<uint8_t> repacked;
  {
    CArchive archive(repacked);
    read.document->Serialize(archive);
    archive.Close();
  }
  CFile file;
  if (!file.Open(showPath, CFile::Mode::Read) || file.Seek(offset, CFile::Origin::Begin) < 0)
    return "cannot read " + showPath;
  std::vector<uint8_t> piece(1 << 16);
  size_t at = 0;
  for (;;) {
    long long got = file.Read(piece.data(), piece.size());
    if (got < 0) return "cannot read " + showPath;
    if (got == 0) break;
    for (size_t i = 0; i < size_t(got); ++i, ++at)
      if (at >= repacked.size() || repacked[at] != piece[i])
        return "the packages part at byte " + std::to_string(at) + " of " + std::to_string(repacked.size());
  }
  if (at != repacked.size()) return "the package packed again is longer: " + std::to_string(repacked.size()) + " bytes, not " + std::to_string(at);
  return "";
}

}  // namespace pellora::tools
