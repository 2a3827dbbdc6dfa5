#include "tools/lib/show_description.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "document/diapo_doc.h"
#include "platform/base/text.h"
#include "platform/os/file.h"
#include "tools/lib/media_checks.h"
#include "tools/lib/picture_facts.h"
#include "tools/lib/stored_values.h"
#include "tools/pictures/parallel.h"
#include "tools/pictures/pictures.h"

namespace pellora::tools {
namespace {

using nlohmann::json;
namespace fs = std::filesystem;

// The version word this tool writes.
constexpr uint16_t kWrittenPackageVersion = 1;
// The longest password a viewer can type into the lock.
constexpr size_t kMaxPasswordLength = 20;
// A description larger than this is not a show description.
constexpr uintmax_t kMaxDescriptionBytes = 64u << 20;

const char* const kKinds[] = {"picture", "gradient", "colour"};
const char* const kPlacements[] = {"stretch", "centre", "tile"};
const char* const kFits[] = {"none", "keep-ratio", "stretch"};
constexpr int kFitKeepRatio = 1;
const char* const kAdvances[] = {"timed", "sound-end", "manual"};
const char* const kSounds[] = {"show-music", "silence", "keep", "slide"};
constexpr int kSoundSlide = 3;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Edit distance, for the closest known key to a misspelt one.
size_t Distance(const std::string& a, const std::string& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      size_t above = row[j];
      bool same = ToUpperAscii(a[i - 1]) == ToUpperAscii(b[j - 1]);
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

std::string CodePointName(uint32_t codePoint) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", codePoint);
  return name;
}

// Reads one description, collecting problems as it goes; everything it
// reads is checked, so one run names every fault.
class Reader {
 public:
  Reader(const std::string& descriptionPath, const PictureOverrides& overrides) : overrides_(overrides) {
    fs::path parent = PathFromUtf8(descriptionPath).parent_path();
    baseDir_ = parent.empty() ? "" : PathToUtf8(parent / "");
    std::error_code ec;
    folder_ = fs::weakly_canonical(fs::absolute(parent.empty() ? "." : parent, ec), ec);
  }

  std::vector<DescriptionProblem> problems;
  PictureTally tally;
  // Every file named, as resolved (the same one may come more than once).
  mutable std::vector<std::string> files;

  void Error(const std::string& where, const std::string& text) { Add(true, where, text); }
  void Warn(const std::string& where, const std::string& text) { Add(false, where, text); }

  void BuildDocument(const json& j, CDiapoDoc& doc) {
    if (!j.is_object()) {
      Error("", "the description must be a JSON object");
      return;
    }
    CheckKeys(j, ShowKeys(), "");
    doc.title = Text(j, "title", "");
    doc.description = Text(j, "description", "");
    doc.notice = Text(j, "notice", "");
    doc.loopShow = Word(j, "loopShow", "", doc.loopShow, true);
    doc.pictureMargin = Word(j, "pictureMargin", "", doc.pictureMargin);
    doc.pictureOption = Word(j, "pictureOption", "", doc.pictureOption);
    Password(j, doc);
    PictureOptions(j);
    if (auto it = j.find("background"); it != j.end() && !it->is_null()) Background(*it, doc);
    std::string music = Text(j, "music", "", false);
    bool embedMusic = Bool(j, "embedMusic", "", true);
    if (!music.empty()) {
      if (Attach("", "music", music, embedMusic, doc.musicFileName, doc.musicSize, doc.musicData))
        SoundCheck("", "music", music);
    }
    Slides(j, doc);
    if (auto it = j.find("stored"); it != j.end()) ApplyStoredShowValues(*it, doc, Context(""));
  }

 private:
  std::string baseDir_;
  fs::path folder_;
  PictureOverrides overrides_;
  PictureSettings pictures_;
  // Each slide's embedded picture as it will be stored, made before the
  // slides are read (on every core); absent for slides without one.
  std::vector<std::optional<pictures::ConvertedPicture>> prepared_;
  // Pictures whose file is too large to embed are not read.
  static constexpr uint64_t kMaxEmbeddedBytes = 0x7FFFFFFF;

  void PictureOptions(const json& j) {
    if (const json* p = Find(j, "pictures")) {
      const std::string where = "pictures";
      if (!p->is_object()) {
        Error("", "\"pictures\" must be an object");
      } else {
        CheckKeys(*p, PictureKeys(), where);
        if (const json* size = Find(*p, "maxSize")) {
          if (!size->is_string() || !ParsePictureSize(size->get<std::string>(), pictures_.maxWidth, pictures_.maxHeight))
            Error(where, "\"maxSize\" must be a size like \"1920x1080\", not " + size->dump());
        }
        int quality = Word(*p, "quality", where, pictures_.quality, false, 100);
        if (quality < 1) Error(where, "\"quality\" must be a whole number from 1 to 100, not 0");
        else pictures_.quality = quality;
        pictures_.lossless = Bool(*p, "lossless", where, false);
      }
    }
    if (overrides_.maxWidth) pictures_.maxWidth = *overrides_.maxWidth;
    if (overrides_.maxHeight) pictures_.maxHeight = *overrides_.maxHeight;
    if (overrides_.quality) pictures_.quality = *overrides_.quality;
  }

  // Reads and converts every embedded slide picture, in parallel; what
  // cannot be read here is reported when its slide is read.
  void PreparePictures(const json& slides) {
    std::vector<std::string> paths(slides.size());
    for (size_t i = 0; i < slides.size(); ++i) {
      const json& s = slides[i];
      if (!s.is_object()) continue;
      const json* picture = Find(s, "picture");
      const json* embed = Find(s, "embed");
      if (!picture || !picture->is_string() || picture->get<std::string>().empty()) continue;
      if (embed && (!embed->is_boolean() || !embed->get<bool>())) continue;
      // A slide with stored values keeps its picture byte for byte.
      if (s.contains("stored")) continue;
      std::string path = Resolve(picture->get<std::string>());
      std::error_code ec;
      if (fs::is_regular_file(PathFromUtf8(path), ec) && fs::file_size(PathFromUtf8(path), ec) <= kMaxEmbeddedBytes)
        paths[i] = path;
    }
    prepared_.clear();
    prepared_.resize(slides.size());
    pictures::ConvertOptions options{pictures_.maxWidth, pictures_.maxHeight, pictures_.quality, pictures_.lossless};
    pictures::RunInParallel(slides.size(), [&](size_t i) {
      if (paths[i].empty()) return;
      pictures::ConvertedPicture converted;
      try {
        std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(paths[i], kMaxEmbeddedBytes);
        if (bytes) converted = pictures::ConvertPicture(std::move(*bytes), options);
        else converted.reason = "cannot be read";
      } catch (const std::bad_alloc&) {
        converted = {};
        converted.reason = "not enough memory for the picture";
      }
      prepared_[i] = std::move(converted);
    });
  }

  // Stores a prepared picture in its slide: the bytes, their type, a name
  // ending as the type says, the size, depth and thumbnails.
  void StorePicture(const std::string& where, const std::string& given, pictures::ConvertedPicture& converted,
                    CDiapoObject& slide) {
    if (!converted.Ok()) {
      Error(where, "cannot read the picture " + given + ": " + converted.reason);
      return;
    }
    if (!converted.warning.empty()) Warn(where, given + ": " + converted.warning);
    std::error_code ec;
    uint64_t sourceBytes = fs::file_size(PathFromUtf8(Resolve(given)), ec);
    std::string title = FileTitle(given);
    if (PictureFormatTag(title) != converted.formatTag) {
      size_t dot = title.find_last_of('.');
      title = (dot == std::string::npos || dot == 0 ? title : title.substr(0, dot)) +
              (converted.formatTag == "BMP" ? ".bmp" : ".jpg");
    }
    slide.pictureFileName = Utf8ToCp1252(title);
    slide.pictureFormat = converted.formatTag;
    slide.pictureData = GlobalBlock::Allocate(converted.bytes.size(), false);
    if (!slide.pictureData) {
      Error(where, "not enough memory for the picture " + given);
      return;
    }
    std::copy(converted.bytes.begin(), converted.bytes.end(), slide.pictureData.data());
    slide.pictureSize = uint32_t(converted.bytes.size());
    std::string error;
    if (!DescribeSlideFromPicture(converted.picture, slide, error)) Error(where, error + " of " + given);
    tally.converted += converted.converted;
    tally.turned += converted.turned;
    tally.scaled += converted.scaled;
    tally.sourceBytes += ec ? 0 : sourceBytes;
    tally.storedBytes += converted.bytes.size();
    converted = {};
  }

  StoredContext Context(const std::string& where) {
    return {[this, where](bool error, const std::string& text) { Add(error, where, text); },
            [this](const std::string& given) { return Resolve(given); }};
  }

  void Add(bool error, const std::string& where, const std::string& text) {
    problems.push_back({error, where.empty() ? text : where + ": " + text});
  }

  std::string Resolve(const std::string& path) const {
    fs::path given = PathFromUtf8(path);
    bool rooted = given.has_root_directory() || given.has_root_name();
    std::string resolved = path.empty() || rooted ? path : baseDir_ + path;
    if (!resolved.empty()) files.push_back(resolved);
    return resolved;
  }

  void CheckKeys(const json& object, std::span<const std::string_view> known, const std::string& where) {
    for (const auto& [key, value] : object.items()) {
      if (std::find(known.begin(), known.end(), key) != known.end()) continue;
      std::string closest;
      size_t best = std::max<size_t>(2, key.size() / 3) + 1;
      for (std::string_view k : known)
        if (size_t d = Distance(key, std::string(k)); d < best) best = d, closest = k;
      Error(where, "unknown key " + Quoted(key) + (closest.empty() ? "" : " — did you mean " + Quoted(closest) + "?"));
    }
  }

  static const json* Find(const json& object, const char* key) {
    auto it = object.find(key);
    return it == object.end() || it->is_null() ? nullptr : &*it;
  }

  // Text in the package's code page; what it cannot hold shows as "?".
  std::string Text(const json& object, const char* key, const std::string& where, bool stored = true) {
    const json* v = Find(object, key);
    if (!v) return {};
    if (!v->is_string()) {
      Error(where, Quoted(key) + " must be text");
      return {};
    }
    std::string utf8 = v->get<std::string>();
    if (!stored && utf8.empty()) Error(where, Quoted(key) + " is empty: name a file or leave the key out");
    if (!stored) return utf8;
    bool lineBreaks = std::string_view(key) == "description" || std::string_view(key) == "notice";
    if (auto control = ControlCharacter(utf8, lineBreaks))
      Error(where, Quoted(key) + " holds the control character " + CodePointName(*control) +
                       (lineBreaks ? "; it may hold line breaks, no other control character"
                                   : "; only \"description\" and \"notice\" may hold line breaks"));
    std::string converted = Utf8ToCp1252(utf8);
    if (Cp1252ToUtf8(converted) != utf8)
      Warn(where, Quoted(key) + " has characters the show's code page (Windows-1252) cannot hold; they show as \"?\"");
    return converted;
  }

  bool Bool(const json& object, const char* key, const std::string& where, bool fallback) {
    const json* v = Find(object, key);
    if (!v) return fallback;
    if (!v->is_boolean()) {
      Error(where, Quoted(key) + " must be true or false");
      return fallback;
    }
    return v->get<bool>();
  }

  int Word(const json& object, const char* key, const std::string& where, int fallback, bool allowBool = false,
           int highest = 0xFFFF) {
    const json* v = Find(object, key);
    if (!v) return fallback;
    if (allowBool && v->is_boolean()) return v->get<bool>() ? 1 : 0;
    double number = v->is_number() ? v->get<double>() : -1;
    if (!v->is_number() || number != std::floor(number) || number < 0 || number > highest) {
      Error(where, Quoted(key) + " must be a whole number from 0 to " + std::to_string(highest) + ", not " + v->dump());
      return fallback;
    }
    return int(number);
  }

  template <size_t N>
  int Choice(const json& object, const char* key, const char* const (&choices)[N], const std::string& where,
             int fallback) {
    const json* v = Find(object, key);
    if (!v) return fallback;
    std::string list;
    for (size_t i = 0; i < N; ++i) {
      if (v->is_string() && v->get<std::string>() == choices[i]) return int(i);
      list += (i ? i + 1 == N ? " or " : ", " : "") + Quoted(choices[i]);
    }
    Error(where, Quoted(key) + " must be " + list + ", not " + v->dump());
    return fallback;
  }

  uint32_t Colour(const json& object, const char* key, const std::string& where, uint32_t fallback) {
    const json* v = Find(object, key);
    if (!v) return fallback;
    uint32_t colour = 0;
    if (v->is_number_unsigned() && v->get<uint64_t>() <= 0xFFFFFF) return v->get<uint32_t>();
    if (v->is_string() && ParseColour(v->get<std::string>(), colour)) return colour;
    Error(where, Quoted(key) + " must be a colour like \"#000080\", not " + v->dump());
    return fallback;
  }

  void Password(const json& j, CDiapoDoc& doc) {
    const json* v = Find(j, "password");
    if (!v) return;
    if (!v->is_string()) {
      Error("", "\"password\" must be text");
      return;
    }
    std::string utf8 = v->get<std::string>();
    std::string stored = Utf8ToCp1252(utf8);
    if (Cp1252ToUtf8(stored) != utf8)
      Error("", "the password has characters the show's code page (Windows-1252) cannot hold; nobody could type it");
    else if (stored.size() > kMaxPasswordLength)
      Error("", "the password may have at most 20 characters, the most the viewer can type");
    else if (ScramblePassword(stored).find('\0') != std::string::npos)
      Error("", "the password cannot contain the character \"\xC2\xB5\"");
    else if (auto control = ControlCharacter(utf8, false))
      Error("", "the password holds " + CodePointName(*control) + ", which no viewer can type");
    else
      doc.password = stored;
  }

  // Checks that a named file can be packed; false (with an error) when it
  // cannot. Files outside the description's folder are packed, but said.
  bool CheckFile(const std::string& where, const std::string& role, const std::string& given, bool mustExist) {
    std::string path = Resolve(given);
    std::error_code ec;
    fs::file_status status = fs::status(PathFromUtf8(path), ec);
    if (!fs::exists(status)) {
      if (mustExist) Error(where, "cannot open " + role + " " + given + ": " + (ec ? ec.message() : "not found"));
      else Warn(where, role + " " + given + " does not exist; the player will look for it at " + path);
      return false;
    }
    if (!fs::is_regular_file(status)) {
      const char* what = fs::is_directory(status)            ? "a folder"
                         : fs::is_fifo(status)               ? "a FIFO"
                         : fs::is_block_file(status) || fs::is_character_file(status) ? "a device"
                         : fs::is_socket(status)             ? "a socket"
                                                             : "not a regular file";
      Error(where, role + " " + given + " is " + what + ", not a file");
      return false;
    }
    fs::path canonical = fs::weakly_canonical(fs::absolute(PathFromUtf8(path), ec), ec);
    auto [folderEnd, unused] = std::mismatch(folder_.begin(), folder_.end(), canonical.begin(), canonical.end());
    if (folderEnd != folder_.end()) Warn(where, role + " " + given + " is outside the show's folder");
    return true;
  }

  bool ReadBytes(const std::string& where, const std::string& role, const std::string& given, GlobalBlock& data,
                 uint32_t& size) {
    std::string path = Resolve(given);
    CFile file;
    if (!file.Open(path, CFile::Mode::Read)) {
      Error(where, "cannot open " + role + " " + given);
      return false;
    }
    long long length = file.Length();
    // A show stores an empty file as no file at all: the player would
    // look for it by its name instead.
    if (length == 0) {
      Error(where, role + " " + given + " is an empty file");
      return false;
    }
    if (length < 0 || length > 0x7FFFFFFF) {
      Error(where, role + " " + given + " is too large to embed");
      return false;
    }
    data = GlobalBlock::Allocate(size_t(length), false);
    if (!data || file.Read(data.data(), size_t(length)) != length) {
      Error(where, "cannot read " + role + " " + given);
      data = {};
      return false;
    }
    size = uint32_t(length);
    return true;
  }

  // A file the show plays or shows: embedded, the stored name is the
  // file's own name; otherwise the path, which the player opens. True when
  // the file is there to be checked further.
  bool Attach(const std::string& where, const std::string& role, const std::string& given, bool embed,
              std::string& storedName, uint32_t& size, GlobalBlock& data) {
    std::string path = Resolve(given);
    if (!CheckFile(where, role, given, embed)) {
      if (!embed) storedName = Utf8ToCp1252(path);
      return false;
    }
    if (embed) {
      if (!ReadBytes(where, role, given, data, size)) return false;
      storedName = Utf8ToCp1252(FileTitle(path));
    } else {
      storedName = Utf8ToCp1252(path);
    }
    return true;
  }

  void SoundCheck(const std::string& where, const std::string& role, const std::string& given) {
    if (std::string why = SoundProblem(Resolve(given)); !why.empty())
      Warn(where, "the player cannot play the " + role + " " + given + ": " + why);
  }

  void Background(const json& bg, CDiapoDoc& doc) {
    const std::string where = "background";
    if (!bg.is_object()) {
      Error("", "\"background\" must be an object");
      return;
    }
    CheckKeys(bg, BackgroundKeys(), where);
    doc.backgroundKind = Choice(bg, "kind", kKinds, where, doc.backgroundKind);
    doc.backgroundPlacement = Choice(bg, "placement", kPlacements, where, doc.backgroundPlacement);
    doc.gradientColourA = Colour(bg, "colourA", where, doc.gradientColourA);
    doc.gradientColourB = Colour(bg, "colourB", where, doc.gradientColourB);
    doc.plainColour = Colour(bg, "plainColour", where, doc.plainColour);
    doc.gradientHorizontal = Bool(bg, "horizontal", where, doc.gradientHorizontal != 0) ? 1 : 0;
    std::string picture = Text(bg, "picture", where, false);
    if (picture.empty()) return;
    if (!CheckFile(where, "picture", picture, true)) return;
    std::string path = Resolve(picture);
    doc.backgroundFileName = Utf8ToCp1252(path);
    std::string why;
    if (!LoadBackgroundPicture(path, doc.backgroundPicture, why)) Warn(where, why);
  }

  void Slide(const json& j, size_t index, CDiapoObject& slide) {
    std::string where = "slide " + std::to_string(index + 1);
    if (!j.is_object()) {
      Error(where, "a slide must be an object");
      return;
    }
    std::string picture;
    if (const json* p = Find(j, "picture"); p && p->is_string()) picture = p->get<std::string>();
    if (!picture.empty()) where += " (" + FileTitle(picture) + ")";
    CheckKeys(j, SlideKeys(), where);
    picture = Text(j, "picture", where, false);
    bool embed = Bool(j, "embed", where, true);
    slide.slideName = Text(j, "name", where);
    slide.slideComment = Text(j, "comment", where);
    // A new description's slides fit the screen unless they say otherwise.
    slide.pictureFit = uint16_t(Choice(j, "fit", kFits, where, kFitKeepRatio));
    slide.duration = uint16_t(Word(j, "duration", where, slide.duration));
    slide.advanceMode = uint16_t(Choice(j, "advance", kAdvances, where, slide.advanceMode));
    slide.transition = uint16_t(Word(j, "transition", where, slide.transition, false, 18));
    slide.soundMode = uint16_t(Choice(j, "sound", kSounds, where, slide.soundMode));
    std::string soundFile = Text(j, "soundFile", where, false);
    bool embedSound = Bool(j, "embedSound", where, true);
    // A slide with stored values keeps its picture as the package stored
    // it: its bytes, format, sizes and thumbnails come from there.
    auto storedAt = j.find("stored");
    const json* stored = storedAt == j.end() ? nullptr : &*storedAt;

    if (picture.empty()) {
      Warn(where, "no picture: the slide shows the background alone");
    } else if (embed && index < prepared_.size() && prepared_[index]) {
      if (CheckFile(where, "picture", picture, true)) StorePicture(where, picture, *prepared_[index], slide);
    } else {
      slide.pictureFormat = PictureFormatTag(picture);
      if (Attach(where, "picture", picture, embed, slide.pictureFileName, slide.pictureSize, slide.pictureData) &&
          !stored) {
        // A picture the player cannot decode is packed all the same (the
        // slide then shows its background alone); it has no size, depth or
        // thumbnails.
        std::string why = PictureProblem(Resolve(picture)), unused;
        if (why.empty() && !DescribeSlidePicture(Resolve(picture), slide, unused)) why = "cannot be decoded";
        if (!why.empty()) Warn(where, "the player cannot show the picture " + picture + ": " + why);
      }
    }
    if (slide.soundMode == kSoundSlide && soundFile.empty())
      Error(where, "\"sound\": \"slide\" needs a \"soundFile\"");
    if (!soundFile.empty() &&
        Attach(where, "sound", soundFile, embedSound, slide.soundFileName, slide.soundSize, slide.soundData))
      SoundCheck(where, "sound", soundFile);
    if (stored) ApplyStoredSlideValues(*stored, slide, Context(where));
  }

  void Slides(const json& j, CDiapoDoc& doc) {
    const json* slides = Find(j, "slides");
    if (slides && !slides->is_array()) {
      Error("", "\"slides\" must be an array");
      return;
    }
    if (!slides || slides->empty()) {
      Warn("", "the show has no slides: the player shows a black screen until a key is pressed");
      return;
    }
    if (slides->size() > 0xFFFF) {
      Error("", "a show holds at most 65535 slides");
      return;
    }
    PreparePictures(*slides);
    for (size_t i = 0; i < slides->size(); ++i) {
      auto slide = std::make_shared<CDiapoObject>();
      Slide((*slides)[i], i, *slide);
      doc.slides.push_back(std::move(slide));
    }
  }
};

// Line and column (from 1) of a byte position in text.
std::string LineAndColumn(const std::string& text, size_t position) {
  size_t line = 1, column = 1;
  for (size_t i = 0; i < position && i < text.size(); ++i) {
    if (text[i] == '\n') ++line, column = 1;
    else ++column;
  }
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// What the JSON parser takes silently: a key given twice (it keeps the
// last) and null, which no key accepts. text is valid JSON.
std::vector<std::string> RepeatedKeysAndNulls(const std::string& text) {
  struct Level {
    bool object;
    std::vector<std::string> keys;
  };
  std::vector<Level> levels;
  std::vector<std::string> problems;
  bool atKey = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"') {
      size_t end = i + 1;
      while (end < text.size() && text[end] != '"') end += text[end] == '\\' ? 2 : 1;
      if (atKey && !levels.empty()) {
        std::string key = json::parse(text.substr(i, end - i + 1)).get<std::string>();
        std::vector<std::string>& keys = levels.back().keys;
        if (std::find(keys.begin(), keys.end(), key) != keys.end())
          problems.push_back("JSON " + LineAndColumn(text, i) + ": the key " + Quoted(key) + " is given twice");
        keys.push_back(key);
        atKey = false;
      }
      i = end;
    } else if (c == '{' || c == '[') {
      levels.push_back({c == '{', {}});
      atKey = c == '{';
    } else if (c == '}' || c == ']') {
      if (!levels.empty()) levels.pop_back();
    } else if (c == ',') {
      atKey = !levels.empty() && levels.back().object;
    } else if (c == 'n') {
      bool inObject = !levels.empty() && levels.back().object && !levels.back().keys.empty();
      problems.push_back("JSON " + LineAndColumn(text, i) + ": " +
                         (inObject ? Quoted(levels.back().keys.back()) + " is null: leave the key out or give it a value"
                                   : std::string("null in a list: give a value")));
      i += 3;
    }
  }
  return problems;
}

}  // namespace

size_t DescriptionRead::ErrorCount() const {
  return size_t(std::count_if(problems.begin(), problems.end(), [](const auto& p) { return p.error; }));
}

size_t DescriptionRead::WarningCount() const { return problems.size() - ErrorCount(); }

namespace {
constexpr std::string_view kShowKeys[] = {"$schema",  "title",      "description", "notice",        "password",
                                          "loopShow", "background", "music",       "embedMusic",    "pictureMargin",
                                          "pictureOption", "pictures", "slides", "stored"};
constexpr std::string_view kBackgroundKeys[] = {"kind",        "colourA", "colourB",  "horizontal",
                                                "plainColour", "picture", "placement"};
constexpr std::string_view kPictureKeys[] = {"maxSize", "quality", "lossless"};
constexpr std::string_view kSlideKeys[] = {"picture",    "embed", "name",      "comment",   "fit",       "duration",
                                           "advance",    "transition", "sound", "soundFile", "embedSound", "stored"};
}  // namespace

std::span<const std::string_view> ShowKeys() { return kShowKeys; }
std::span<const std::string_view> BackgroundKeys() { return kBackgroundKeys; }
std::span<const std::string_view> SlideKeys() { return kSlideKeys; }
std::span<const std::string_view> PictureKeys() { return kPictureKeys; }

DescriptionRead ReadShowDescription(const std::string& descriptionPath, const PictureOverrides& overrides) {
  DescriptionRead result;
  std::error_code ec;
  fs::file_status status = fs::status(PathFromUtf8(descriptionPath), ec);
  if (!fs::is_regular_file(status) || fs::file_size(PathFromUtf8(descriptionPath), ec) > kMaxDescriptionBytes) {
    result.problems.push_back({true, fs::exists(status) ? "not a show description file" : "cannot open the file"});
    return result;
  }
  std::ifstream in(PathFromUtf8(descriptionPath), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  if (!in) {
    result.problems.push_back({true, "cannot read the file"});
    return result;
  }
  return ReadShowDescriptionText(descriptionPath, text.str(), overrides);
}

DescriptionRead ReadShowDescriptionText(const std::string& descriptionPath, const std::string& text,
                                        const PictureOverrides& overrides) {
  DescriptionRead result;
  json j;
  try {
    j = json::parse(text);
  } catch (const json::parse_error& e) {
    std::string what = e.what();
    size_t at = what.find("syntax error");
    std::string reason = at == std::string::npos ? "not valid JSON" : what.substr(at);
    result.problems.push_back(
        {true, "JSON " + LineAndColumn(text, e.byte ? e.byte - 1 : 0) + ": " + reason});
    return result;
  }
  auto doc = std::make_unique<CDiapoDoc>();
  doc->packageVersion = kWrittenPackageVersion;
  Reader reader(descriptionPath, overrides);
  reader.BuildDocument(j, *doc);
  for (std::string& problem : RepeatedKeysAndNulls(text)) result.problems.push_back({true, std::move(problem)});
  result.problems.insert(result.problems.end(), reader.problems.begin(), reader.problems.end());
  result.pictures = reader.tally;
  result.files = std::move(reader.files);
  if (result.ErrorCount() == 0) result.document = std::move(doc);
  return result;
}

std::string FormatProblems(const std::string& descriptionPath, const std::vector<DescriptionProblem>& problems) {
  std::string text;
  for (const DescriptionProblem& p : problems)
    text += descriptionPath + (p.error ? ": error: " : ": warning: ") + p.text + "\n";
  return text;
}

std::unique_ptr<CDiapoDoc> BuildShowFromDescription(const std::string& descriptionPath, std::string& error) {
  DescriptionRead read = ReadShowDescription(descriptionPath);
  error.clear();
  for (const DescriptionProblem& p : read.problems)
    if (p.error) error += (error.empty() ? "" : "\n") + descriptionPath + ": " + p.text;
  return std::move(read.document);
}

std::optional<uint32_t> ControlCharacter(const std::string& utf8, bool lineBreaks) {
  for (size_t i = 0; i < utf8.size(); ++i) {
    uint8_t c = uint8_t(utf8[i]);
    if ((c < 0x20 || c == 0x7F) && !(lineBreaks && (c == '\n' || c == '\r'))) return c;
    if (c == 0xC2 && i + 1 < utf8.size() && uint8_t(utf8[i + 1]) >= 0x80 && uint8_t(utf8[i + 1]) < 0xA0)
      return uint8_t(utf8[i + 1]);
  }
  return std::nullopt;
}

bool IsShowDescriptionPath(const std::string& path) {
  size_t dot = path.find_last_of('.');
  return dot != std::string::npos && EqualsIgnoreCaseAscii(std::string_view(path).substr(dot), ".json");
}

bool ParseColour(const std::string& text, uint32_t& colour) {
  if (text.size() != 7 || text[0] != '#') return false;
  for (size_t i = 1; i < 7; ++i)
    if (!std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
  unsigned r, g, b;
  if (std::sscanf(text.c_str() + 1, "%2x%2x%2x", &r, &g, &b) != 3) return false;
  colour = RGB(uint8_t(r), uint8_t(g), uint8_t(b));
  return true;
}

bool ParsePictureSize(const std::string& text, int& width, int& height) {
  size_t x = text.find('x');
  if (x == std::string::npos || x == 0 || x + 1 == text.size() || text.size() > 11) return false;
  for (size_t i = 0; i < text.size(); ++i)
    if (i != x && !std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  long w = std::stol(text.substr(0, x)), h = std::stol(text.substr(x + 1));
  if (w < 1 || h < 1 || w > 65535 || h > 65535) return false;
  width = int(w);
  height = int(h);
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

}  // namespace pellora::tools
