// Show descriptions: the JSON file from which `pellora pack` builds a show.
// Paths in it are relative to the description file; every key is optional.
// Reading one checks all of it and reports every problem at once: errors
// (the show cannot be built as written) and warnings (the player survives).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pellora {
class CDiapoDoc;
}

namespace pellora::tools {

struct DescriptionProblem {
  bool error = true;
  std::string text;  // names the place: "slide 3 (port.bmp): …"
};

// How pack stores pictures: the description's "pictures" object, or the
// command's options, which win over it.
struct PictureSettings {
  // Larger pictures are scaled down to fit; 0 x 0 keeps every size.
  int maxWidth = 0, maxHeight = 0;
  int quality = 90;
  // Lossless sources stored anew become 24-bit BMP files.
  bool lossless = false;
};

// Given on the command line; each one set wins over the description.
struct PictureOverrides {
  std::optional<int> maxWidth, maxHeight, quality;
};

// What became of the embedded pictures.
struct PictureTally {
  size_t converted = 0, turned = 0, scaled = 0;
  // Their files' sizes, and what the show stores of them.
  uint64_t sourceBytes = 0, storedBytes = 0;
};

struct DescriptionRead {
  // Null when there is an error.
  std::unique_ptr<CDiapoDoc> document;
  std::vector<DescriptionProblem> problems;
  // The path of every file the description names.
  std::vector<std::string> files;
  PictureTally pictures;
  size_t ErrorCount() const;
  size_t WarningCount() const;
};

// Reads, checks and builds the document a description describes, reading
// and embedding the files it names.
DescriptionRead ReadShowDescription(const std::string& descriptionPath, const PictureOverrides& overrides = {});
// The same for a description's text that is not in a file; paths are
// relative to descriptionPath's folder.
DescriptionRead ReadShowDescriptionText(const std::string& descriptionPath, const std::string& text,
                                        const PictureOverrides& overrides = {});

// "1920x1080" to its two numbers (each from 1 to 65535); false when malformed.
bool ParsePictureSize(const std::string& text, int& width, int& height);

// "path: error: text" / "path: warning: text", one line each.
std::string FormatProblems(const std::string& descriptionPath, const std::vector<DescriptionProblem>& problems);

// The document, or null with every error in one message (warnings dropped).
std::unique_ptr<CDiapoDoc> BuildShowFromDescription(const std::string& descriptionPath, std::string& error);

// True for a file that names a show description rather than a show.
bool IsShowDescriptionPath(const std::string& path);

// The first control character (C0, DEL or C1) of UTF-8 text, which texts
// of a description may not hold; line breaks count only when lineBreaks
// is false.
std::optional<uint32_t> ControlCharacter(const std::string& utf8, bool lineBreaks);

// "#RRGGBB" (or an integer COLORREF) to a COLORREF; false when malformed.
bool ParseColour(const std::string& text, uint32_t& colour);

// The three-letter picture format tag the player decodes a file by.
std::string PictureFormatTag(const std::string& fileName);

// The keys a description may hold: at its top, in "background", in a
// slide, in "pictures".
std::span<const std::string_view> ShowKeys();
std::span<const std::string_view> BackgroundKeys();
std::span<const std::string_view> SlideKeys();
std::span<const std::string_view> PictureKeys();

}  // namespace pellora::tools
