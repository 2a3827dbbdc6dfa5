#include "tools/lib/picture_facts.h"

#include "document/diapo_object.h"
#include "image/cdib.h"
#include "image/composition.h"
#include "image/picture_readers.h"
#include "tools/lib/media_checks.h"
#include "tools/lib/show_description.h"
#include "tools/pictures/pictures.h"
#include "platform/os/file.h"

namespace pellora::tools {

bool LoadPictureFile(const std::string& path, CDIB& picture, std::string& error) {
  picture.m_hDIB.Free();
  picture.m_palette.DeleteObject();
  const PictureReader* reader = PictureReaderFor(PictureFormatTag(path));
  PictureRead read = reader ? ReadPictureFile(*reader, path) : PictureRead{{}, kPictureNamesDecoded, {}};
  if (!read.picture) {
    error = "cannot decode the picture " + path + ": " + read.reason;
    return false;
  }
  picture.Attach(std::move(read.picture));
  return true;
}

bool LoadBackgroundPicture(const std::string& path, CDIB& picture, std::string& error) {
  picture.m_hDIB.Free();
  picture.m_palette.DeleteObject();
  std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(path, size_t(0x7FFFFFFF));
  pictures::ConvertedPicture converted;
  if (bytes) converted = pictures::ConvertPicture(std::move(*bytes), {});
  if (!bytes || !converted.Ok()) {
    error = "cannot decode the picture " + path + ": " + (bytes ? converted.reason : "cannot be read");
    return false;
  }
  picture.Attach(std::move(converted.picture));
  return true;
}

HDIB MakeThumbnail(const HDIB& picture, int width, int height) {
  HDIB thumbnail = CreateDIB(uint32_t(width), height, 24);
  if (!thumbnail || !FitPicture24(thumbnail, picture, 0, false)) return {};
  return thumbnail;
}

bool DescribeSlidePicture(const std::string& path, CDiapoObject& slide, std::string& error) {
  CDIB picture;
  if (!LoadPictureFile(path, picture, error)) return false;
  if (DescribeSlideFromPicture(picture.m_hDIB, slide, error)) return true;
  error += " of " + path;
  return false;
}

bool DescribeSlideFromPicture(const HDIB& picture, CDiapoObject& slide, std::string& error) {
  if (!InspectDIB(picture)) {
    error = "cannot measure the picture";
    return false;
  }
  const uint8_t* header = picture.data();
  slide.pictureWidth = uint32_t(DIBWidth(header));
  slide.pictureHeight = uint32_t(DIBHeight(header));
  slide.pictureDepth = DIBBitCount(header);
  slide.thumbnail.Attach(MakeThumbnail(picture, kThumbnailWidth, kThumbnailHeight));
  slide.smallThumbnail.Attach(MakeThumbnail(picture, kSmallThumbnailWidth, kSmallThumbnailHeight));
  if (!slide.thumbnail.m_hDIB || !slide.smallThumbnail.m_hDIB) {
    error = "cannot make the thumbnails";
    return false;
  }
  slide.thumbnailSize[0] = kThumbnailWidth;
  slide.thumbnailSize[1] = kThumbnailHeight;
  slide.smallThumbnailSize[0] = kSmallThumbnailWidth;
  slide.smallThumbnailSize[1] = kSmallThumbnailHeight;
  return true;
}

}  // namespace pellora::tools
