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

struct DescriptionRead {
  // Null when there is an error.
  std::unique_ptr<CDiapoDoc> document;
  std::vector<DescriptionProblem> problems;
  // The path of every file the description names.
  std::vector<std::string> files;
  size_t ErrorCount() const;
  size_t WarningCount() const;
};

// Reads, checks and builds the document a description describes, reading
// and embedding the files it names.
DescriptionRead ReadShowDescription(const std::string& descriptionPath);
// The same for a description's text that is not in a file; paths are
// relative to descriptionPath's folder.
DescriptionRead ReadShowDescriptionText(const std::string& descriptionPath, const std::string& text);

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

// The keys a description may hold: at its top, in "background", in a slide.
std::span<const std::string_view> ShowKeys();
std::span<const std::string_view> BackgroundKeys();
std::span<const std::string_view> SlideKeys();

}  // namespace pellora::tools
