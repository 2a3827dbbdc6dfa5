#include "tools/lib/picture_facts.h"

#include "document/diapo_object.h"
#include "image/cdib.h"
#include "image/composition.h"
#include "image/picture_readers.h"
#include "tools/lib/media_checks.h"
#include "tools/lib/show_description.h"

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
  return LoadPictureFile(path, picture, error);
}

HDIB MakeThumbnail(const HDIB& picture, int width, int height) {
  HDIB thumbnail = CreateDIB(uint32_t(width), height, 24);
  if (!thumbnail || !FitPicture24(thumbnail, picture, 0, false)) return {};
  return thumbnail;
}

bool DescribeSlidePicture(const std::string& path, CDiapoObject& slide, std::string& error) {
  CDIB picture;
  if (!LoadPictureFile(path, picture, error)) return false;
  const uint8_t* header = picture.m_hDIB.data();
  slide.pictureWidth = uint32_t(DIBWidth(header));
  slide.pictureHeight = uint32_t(DIBHeight(header));
  slide.pictureDepth = DIBBitCount(header);
  slide.thumbnail.Attach(MakeThumbnail(picture.m_hDIB, kThumbnailWidth, kThumbnailHeight));
  slide.smallThumbnail.Attach(MakeThumbnail(picture.m_hDIB, kSmallThumbnailWidth, kSmallThumbnailHeight));
  if (!slide.thumbnail.m_hDIB || !slide.smallThumbnail.m_hDIB) {
    error = "cannot make the thumbnails of " + path;
    return false;
  }
  slide.thumbnailSize[0] = kThumbnailWidth;
  slide.thumbnailSize[1] = kThumbnailHeight;
  slide.smallThumbnailSize[0] = kSmallThumbnailWidth;
  slide.smallThumbnailSize[1] = kSmallThumbnailHeight;
  return true;
}

}  // namespace pellora::tools
