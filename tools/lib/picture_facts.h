// What pack learns from the pictures it embeds: the decoded background
// picture, and each slide's size, depth and thumbnails.
#pragma once

#include <string>

namespace pellora {
class CDIB;
class CDiapoObject;
}  // namespace pellora

namespace pellora::tools {

// Decodes a picture file into the container that the package stores.
bool LoadBackgroundPicture(const std::string& path, CDIB& picture, std::string& error);

}  // namespace pellora::tools
