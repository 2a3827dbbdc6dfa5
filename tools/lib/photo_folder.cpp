#include "tools/lib/photo_folder.h"

#include <algorithm>
#include <filesystem>

#include "platform/audio/media_file.h"
#include "platform/os/file.h"
#include "show/show_sound.h"
#include "tools/pictures/picture_format.h"
#include "tools/pictures/pictures.h"

namespace pellora::tools {
namespace {

namespace fs = std::filesystem;
using nlohmann::ordered_json;

// Enough of a file's start to tell what it holds.
constexpr size_t kHeadBytes = 64;
// Larger files are not pictures of a folder's show.
constexpr size_t kLargestPicture = size_t(512) << 20;
// What every slide of a folder's show gets, and the screen it is sized for.
constexpr int kSlideSeconds = 5;
constexpr char kMaxSize[] = "1920x1080";
constexpr int kQuality = 90;

struct Photo {
  std::string name;       // in the folder, UTF-8
  std::string dateTaken;  // "YYYY:MM:DD HH:MM:SS", or "" when not known
};

// Taken first, in the order they were taken; then by name.
bool ShownBefore(const Photo& a, const Photo& b) {
  if (a.dateTaken.empty() != b.dateTaken.empty()) return !a.dateTaken.empty();
  if (a.dateTaken != b.dateTaken) return a.dateTaken < b.dateTaken;
  return a.name < b.name;
}

// A sound or music file, as the player tells them: modules by their name,
// other sounds by their contents.
bool IsMusic(const std::string& path) {
  return FileKind(path) == FILE_KIND_MODULE || IdentifyMediaFile(path) != MediaFileKind::Unknown;
}

}  // namespace

bool IsPhotoFolder(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(PathFromUtf8(path), ec);
}

bool DescribePhotoFolder(const std::string& folder, const std::string& descriptionFolder, PhotoFolderShow& show,
                         std::string& error) {
  std::error_code ec;
  fs::path dir = fs::absolute(PathFromUtf8(folder), ec);
  std::vector<Photo> photos;
  std::vector<std::string> music;
  fs::directory_iterator it(dir, ec);
  if (ec) {
    error = "cannot read the folder " + folder + ": " + ec.message();
    return false;
  }
  for (const fs::directory_entry& entry : it) {
    if (!entry.is_regular_file(ec)) continue;
    std::string path = PathToUtf8(entry.path());
    std::string name = PathToUtf8(entry.path().filename());
    std::optional<std::vector<uint8_t>> head = ReadFileBytes(path, kHeadBytes);
    if (!head) {
      show.warnings.push_back(name + " cannot be read; left out");
    } else if (pictures::RecogniseFormat(*head) != pictures::PictureFormat::Unknown) {
      // The date taken may sit anywhere in the file's header.
      std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(path, kLargestPicture);
      pictures::PictureProbe probe = bytes ? pictures::ProbePicture(*bytes) : pictures::PictureProbe{};
      if (!bytes) show.warnings.push_back(name + " cannot be read; left out");
      else if (!probe.Ok()) show.warnings.push_back(name + ": " + probe.reason + "; left out");
      else photos.push_back({name, probe.dateTaken});
    } else if (IsMusic(path)) {
      music.push_back(name);
    }
  }
  if (photos.empty()) {
    error = "no pictures in " + folder;
    return false;
  }
  std::sort(photos.begin(), photos.end(), ShownBefore);
  std::sort(music.begin(), music.end());

  // Paths from the description's folder, which need not be the photos'.
  fs::path base = fs::absolute(PathFromUtf8(descriptionFolder.empty() ? "." : descriptionFolder), ec);
  fs::path relative = fs::weakly_canonical(dir, ec).lexically_relative(fs::weakly_canonical(base, ec));
  auto pathOf = [&](const std::string& name) {
    return PathToUtf8(relative.empty() || relative == "." ? PathFromUtf8(name) : relative / PathFromUtf8(name));
  };

  ordered_json& d = show.description;
  d = ordered_json::object();
  d["title"] = PathToUtf8(fs::weakly_canonical(dir, ec).filename());
  if (music.size() == 1) {
    show.music = music[0];
    d["music"] = pathOf(music[0]);
  } else if (music.size() > 1) {
    show.warnings.push_back(std::to_string(music.size()) + " music files in the folder; the show has none (name one with \"music\")");
  }
  d["pictures"] = {{"maxSize", kMaxSize}, {"quality", kQuality}};
  d["slides"] = ordered_json::array();
  for (const Photo& photo : photos)
    d["slides"].push_back({{"picture", pathOf(photo.name)}, {"fit", "keep-ratio"}, {"duration", kSlideSeconds}, {"transition", 0}});
  show.pictures = photos.size();
  return true;
}

}  // namespace pellora::tools
