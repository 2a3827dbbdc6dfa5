// A show description made from a folder of photos, as `pellora new`
// writes it and `pellora pack PHOTOS_DIR` packs it: every picture of the
// folder (in any format pack reads) in the order they were taken, each
// fitted to the screen for five seconds with a random transition, sized
// for a 1920x1080 screen, the folder's name as the title and its one music
// file, if it holds exactly one, behind them.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace pellora::tools {

struct PhotoFolderShow {
  nlohmann::ordered_json description;
  size_t pictures = 0;
  std::string music;                  // the music file's name, or ""
  std::vector<std::string> warnings;  // files left out and why
};

// True when the path names a folder (of photos) rather than a show file.
bool IsPhotoFolder(const std::string& path);

// Describes the folder's pictures; paths in the description are relative
// to descriptionFolder. False with the reason when the folder cannot be
// read or holds no picture.
bool DescribePhotoFolder(const std::string& folder, const std::string& descriptionFolder, PhotoFolderShow& show,
                         std::string& error);

}  // namespace pellora::tools
