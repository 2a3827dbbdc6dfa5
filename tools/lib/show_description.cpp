#include "tools/lib/show_description.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>

#include "document/diapo_doc.h"
#include "platform/file.h"
#include "platform/text.h"
#include "tools/lib/picture_facts.h"

namespace pellora::tools {
namespace {

using nlohmann::json;

// The version word this tool writes.
constexpr uint16_t kWrittenPackageVersion = 1;
// The longest password a viewer can type into the lock.
constexpr size_t kMaxPasswordLength = 20;

struct Context {
  std::string baseDir;
  std::string error;

  std::string Resolve(const std::string& path) const {
    if (path.empty() || path[0] == '/') return path;
    return baseDir + path;
  }
};

bool ReadFileBytes(const std::string& path, GlobalBlock& data, uint32_t& size, std::string& error) {
  CFile file;
  if (!file.Open(path, CFile::Mode::Read)) {
    error = "cannot open " + path;
    return false;
  }
  long long length = file.Length();
  if (length < 0 || length > 0x7FFFFFFF) {
    error = path + " is too large to embed";
    return false;
  }
  data = GlobalBlock::Allocate(size_t(length), false);
  if (!data || file.Read(data.data(), size_t(length)) != length) {
    error = "cannot read " + path;
    return false;
  }
  size = uint32_t(length);
  return true;
}

// Reads an optional key; a key of the wrong type is an error.
template <class T>
bool Get(const json& object, const char* key, T& value, std::string& error) {
  auto it = object.find(key);
  if (it == object.end() || it->is_null()) return true;
  try {
    value = it->get<T>();
    return true;
  } catch (const json::exception&) {
    error = std::string("\"") + key + "\" has the wrong type";
    return false;
  }
}

bool GetWord(const json& object, const char* key, int& value, std::string& error) {
  long long v = value;
  if (!Get(object, key, v, error)) return false;
  if (v < 0 || v > 0xFFFF) {
    error = std::string("\"") + key + "\" must be between 0 and 65535";
    return false;
  }
  value = int(v);
  return true;
}

bool GetColour(const json& object, const char* key, uint32_t& colour, std::string& error) {
  auto it = object.find(key);
  if (it == object.end() || it->is_null()) return true;
  if (it->is_number_unsigned() && it->get<uint64_t>() <= 0xFFFFFF) {
    colour = it->get<uint32_t>();
    return true;
  }
  if (it->is_string() && ParseColour(it->get<std::string>(), colour)) return true;
  error = std::string("\"") + key + "\" must be a colour like \"#000080\"";
  return false;
}

template <class Choices>
bool GetChoice(const json& object, const char* key, const Choices& choices, int& value, std::string& error) {
  std::string text;
  if (!Get(object, key, text, error)) return false;
  if (text.empty() && object.find(key) == object.end()) return true;
  for (size_t i = 0; i < std::size(choices); ++i)
    if (text == choices[i]) {
      value = int(i);
      return true;
    }
  error = std::string("\"") + key + "\" cannot be \"" + text + "\"";
  return false;
}

// Text of the package is stored in its code page.
std::string Stored(const std::string& utf8) { return Utf8ToCp1252(utf8); }

// A file the show plays or shows: embedded, the stored name is the file's
// own name; otherwise the full path, which the player opens.
bool AttachFile(const Context& ctx, const std::string& given, bool embed, std::string& storedName, uint32_t& size,
                GlobalBlock& data, std::string& error) {
  if (given.empty()) return true;
  std::string path = ctx.Resolve(given);
  if (embed) {
    if (!ReadFileBytes(path, data, size, error)) return false;
    storedName = Stored(FileTitle(path));
  } else {
    storedName = Stored(path);
  }
  return true;
}

bool BuildSlide(const Context& ctx, const json& j, CDiapoObject& slide, std::string& error) {
  if (!j.is_object()) {
    error = "each slide must be an object";
    return false;
  }
  static const char* const kFits[] = {"none", "keep-ratio", "stretch"};
  static const char* const kAdvances[] = {"timed", "sound-end", "manual"};
  static const char* const kSounds[] = {"show-music", "silence", "keep", "slide"};
  std::string picture, soundFile, name, comment;
  bool embed = true, embedSound = true;
  int fit = slide.pictureFit, advance = slide.advanceMode, sound = slide.soundMode;
  int duration = slide.duration, transition = slide.transition;
  if (!Get(j, "picture", picture, error) || !Get(j, "embed", embed, error) || !Get(j, "name", name, error) ||
      !Get(j, "comment", comment, error) || !GetChoice(j, "fit", kFits, fit, error) ||
      !GetWord(j, "duration", duration, error) || !GetChoice(j, "advance", kAdvances, advance, error) ||
      !GetWord(j, "transition", transition, error) || !GetChoice(j, "sound", kSounds, sound, error) ||
      !Get(j, "soundFile", soundFile, error) || !Get(j, "embedSound", embedSound, error))
    return false;
  if (transition > 18) {
    error = "\"transition\" must be 0 (random) to 18";
    return false;
  }
  slide.slideName = Stored(name);
  slide.slideComment = Stored(comment);
  slide.pictureFit = uint16_t(fit);
  slide.duration = uint16_t(duration);
  slide.advanceMode = uint16_t(advance);
  slide.transition = uint16_t(transition);
  slide.soundMode = uint16_t(sound);
  if (!picture.empty()) {
    if (!AttachFile(ctx, picture, embed, slide.pictureFileName, slide.pictureSize, slide.pictureData, error))
      return false;
    slide.pictureFormat = PictureFormatTag(picture);
    // A picture the player cannot decode is packed all the same (the slide
    // then shows its background alone); it has no size, depth or thumbnails.
    std::string undecodable;
    DescribeSlidePicture(ctx.Resolve(picture), slide, undecodable);
  }
  if (!soundFile.empty() &&
      !AttachFile(ctx, soundFile, embedSound, slide.soundFileName, slide.soundSize, slide.soundData, error))
    return false;
  return true;
}

bool BuildDocument(const Context& ctx, const json& j, CDiapoDoc& doc, std::string& error) {
  if (!j.is_object()) {
    error = "the description must be a JSON object";
    return false;
  }
  std::string title, description, notice, password, music;
  bool embedMusic = true;
  int loop = doc.loopShow, margin = doc.pictureMargin, option = doc.pictureOption;
  if (!Get(j, "title", title, error) || !Get(j, "description", description, error) ||
      !Get(j, "notice", notice, error) || !Get(j, "password", password, error) ||
      !GetWord(j, "loopShow", loop, error) || !Get(j, "music", music, error) ||
      !Get(j, "embedMusic", embedMusic, error) || !GetWord(j, "pictureMargin", margin, error) ||
      !GetWord(j, "pictureOption", option, error))
    return false;
  doc.title = Stored(title);
  doc.description = Stored(description);
  doc.notice = Stored(notice);
  doc.loopShow = loop;
  doc.pictureMargin = margin;
  doc.pictureOption = option;

  std::string stored = Stored(password);
  if (stored.size() > kMaxPasswordLength) {
    error = "the password may have at most 20 characters, the most the viewer can type";
    return false;
  }
  if (ScramblePassword(stored).find('\0') != std::string::npos) {
    error = "the password cannot contain the character \"\xC2\xB5\"";
    return false;
  }
  doc.password = stored;

  if (auto it = j.find("background"); it != j.end() && !it->is_null()) {
    const json& bg = *it;
    if (!bg.is_object()) {
      error = "\"background\" must be an object";
      return false;
    }
    static const char* const kKinds[] = {"picture", "gradient", "colour"};
    static const char* const kPlacements[] = {"stretch", "centre", "tile"};
    bool horizontal = doc.gradientHorizontal != 0;
    std::string picture;
    if (!GetChoice(bg, "kind", kKinds, doc.backgroundKind, error) ||
        !GetChoice(bg, "placement", kPlacements, doc.backgroundPlacement, error) ||
        !GetColour(bg, "colourA", doc.gradientColourA, error) ||
        !GetColour(bg, "colourB", doc.gradientColourB, error) ||
        !GetColour(bg, "plainColour", doc.plainColour, error) || !Get(bg, "horizontal", horizontal, error) ||
        !Get(bg, "picture", picture, error))
      return false;
    doc.gradientHorizontal = horizontal ? 1 : 0;
    if (!picture.empty()) {
      std::string path = ctx.Resolve(picture);
      if (!LoadBackgroundPicture(path, doc.backgroundPicture, error)) return false;
      doc.backgroundFileName = Stored(path);
    }
  }

  if (!AttachFile(ctx, music, embedMusic, doc.musicFileName, doc.musicSize, doc.musicData, error)) return false;

  if (auto it = j.find("slides"); it != j.end() && !it->is_null()) {
    if (!it->is_array()) {
      error = "\"slides\" must be an array";
      return false;
    }
    if (it->size() > 0xFFFF) {
      error = "a show holds at most 65535 slides";
      return false;
    }
    for (size_t i = 0; i < it->size(); ++i) {
      auto slide = std::make_shared<CDiapoObject>();
      if (!BuildSlide(ctx, (*it)[i], *slide, error)) {
        error = "slide " + std::to_string(i + 1) + ": " + error;
        return false;
      }
      doc.slides.push_back(std::move(slide));
    }
  }
  return true;
}

}  // namespace

bool ParseColour(const std::string& text, uint32_t& colour) {
  if (text.size() != 7 || text[0] != '#') return false;
  unsigned r, g, b;
  char tail;
  if (std::sscanf(text.c_str() + 1, "%2x%2x%2x%c", &r, &g, &b, &tail) != 3) return false;
  for (size_t i = 1; i < 7; ++i)
    if (!std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
  colour = RGB(uint8_t(r), uint8_t(g), uint8_t(b));
  return true;
}

std::string PictureFormatTag(const std::string& fileName) {
  std::string title = FileTitle(fileName);
  size_t dot = title.find_last_of('.');
  std::string ext = dot == std::string::npos ? "" : title.substr(dot + 1);
  for (char& c : ext) c = ToUpperAscii(c);
  if (ext == "JPEG" || ext == "JPE" || ext == "JFIF") return "JPG";
  if (ext.size() > 3) ext = ext.substr(ext.size() - 3);
  return ext;
}

std::unique_ptr<CDiapoDoc> BuildShowFromDescription(const std::string& descriptionPath, std::string& error) {
  std::ifstream in(descriptionPath, std::ios::binary);
  if (!in) {
    error = "cannot open " + descriptionPath;
    return nullptr;
  }
  json j = json::parse(in, nullptr, false);
  if (j.is_discarded()) {
    error = descriptionPath + " is not valid JSON";
    return nullptr;
  }
  Context ctx;
  size_t slash = descriptionPath.find_last_of('/');
  ctx.baseDir = slash == std::string::npos ? "" : descriptionPath.substr(0, slash + 1);
  auto doc = std::make_unique<CDiapoDoc>();
  if (!BuildDocument(ctx, j, *doc, error)) return nullptr;
  packageVersion = kWrittenPackageVersion;
  return doc;
}

}  // namespace pellora::tools
