// What pack learns from the pictures it embeds: the decoded background
// picture, and each slide's size, depth and thumbnails.
#pragma once

#include <string>

#include "image/dib.h"

namespace pellora {
class CDIB;
class CDiapoObject;
}  // namespace pellora

namespace pellora::tools {

// Sizes of the two thumbnails a slide carries.
constexpr int kThumbnailWidth = 84, kThumbnailHeight = 58;
constexpr int kSmallThumbnailWidth = 67, kSmallThumbnailHeight = 46;

// Decodes a picture file (by its extension, as the player would by its
// format tag) into a container; false with the reader's reason when it
// cannot.
bool LoadPictureFile(const std::string& path, CDIB& picture, std::string& error);
// Decodes a picture file of any format pack reads, turned upright, into
// the container that the package stores.
bool LoadBackgroundPicture(const std::string& path, CDIB& picture, std::string& error);
// A width x height 24-bit thumbnail: the picture scaled to fit inside,
// proportions kept, centred on black. Empty on failure.
HDIB MakeThumbnail(const HDIB& picture, int width, int height);
// Fills the slide's picture width, height and depth and its two thumbnails
// from the picture file; false with a message when it cannot be decoded.
bool DescribeSlidePicture(const std::string& path, CDiapoObject& slide, std::string& error);
// The same from the picture as the player decodes it.
bool DescribeSlideFromPicture(const HDIB& picture, CDiapoObject& slide, std::string& error);

}  // namespace pellora::tools
