// Unpacking a show: its embedded pictures, sounds and music as files, with
// a show description that packs them back into the same package.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace pellora {
class CDiapoDoc;
}

namespace pellora::tools {

// The name of the description in the folder.
inline constexpr char kUnpackedDescription[] = "show.json";

struct UnpackedFile {
  std::string name;  // a safe file name (UTF-8), unique in the folder
  std::string bytes;
};

struct UnpackedShow {
  nlohmann::ordered_json description;
  std::vector<UnpackedFile> files;
  size_t pictures = 0, sounds = 0, bitmaps = 0;
  bool music = false;
  // What the description cannot hold; packing it then gives another
  // package.
  std::vector<std::string> losses;
};

// The files and the description of a document read from a package. Every
// stored value that pack would not work out the same way goes into the
// description's "stored" objects.
UnpackedShow DescribeForUnpacking(const CDiapoDoc& document);

// Writes the files and show.json into dir, which must be empty or absent;
// false with the reason (and nothing left behind) when it cannot.
bool WriteUnpackedShow(const UnpackedShow& show, const std::string& dir, std::string& error);

// The package that pack --bare builds from a description, compared with
// the package of a show file at offset: "" when they are the same bytes,
// otherwise where they part.
std::string CompareRepacked(const std::string& descriptionPath, const std::string& showPath, uint32_t offset);

}  // namespace pellora::tools
