// Turning the show document into screen images: the background frame of
// the show, and each slide's picture placed on a copy of it.
#include <algorithm>

#include "document/diapo_doc.h"
#include "document/diapo_object.h"
#include "document/stored_names.h"
#include "image/colour_reduction.h"
#include "image/composition.h"
#include "platform/base/text.h"
#include "platform/draw/screen.h"
#include "platform/os/file.h"
#include "platform/ui/cursor.h"

namespace pellora {
namespace {

// A temporary file that is deleted when the object goes away, whatever
// path the rendering took.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  ~TemporaryFile() { Delete(); }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool Create(const std::string& directory, const std::string& prefix) {
    path_ = CreateUniqueTempFile(directory, prefix);
    return !path_.empty();
  }
  void Delete() {
    if (!path_.empty()) DeleteFileNormal(path_);
    path_.clear();
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// Embedded picture bytes written to a new "dia" temporary file in folder
// (the system's temporary directory when it is empty).
bool WriteEmbeddedPicture(const CDiapoObject& slide, const std::string& folder, TemporaryFile& temp) {
  if (!temp.Create(folder.empty() ? GetTempDirectory() : folder, "dia")) return false;
  CFile file;
  size_t size = std::min<size_t>(slide.pictureSize, slide.pictureData.size());
  return file.Open(temp.Path(), CFile::Mode::ReadWrite) && WriteInPieces(file, slide.pictureData.data(), size);
}

}  // namespace

HDIB CDiapoDoc::MakeBackground() const {
  CWaitCursor wait;
  Size screen = GetScreenSize();
  int depth = GetDisplayDepth();
  switch (backgroundKind) {
    case BACKGROUND_PICTURE: {
      if (!backgroundPicture.m_hDIB) return {};
      switch (backgroundPlacement) {
        case PLACE_STRETCH:
          return PictureBackground(backgroundPicture.m_hDIB, BackgroundMode::Stretch, screen.cx, screen.cy, depth);
        case PLACE_CENTRE:
          return PictureBackground(backgroundPicture.m_hDIB, BackgroundMode::Centre, screen.cx, screen.cy, depth);
        case PLACE_TILE:
          return PictureBackground(backgroundPicture.m_hDIB, BackgroundMode::Tile, screen.cx, screen.cy, depth);
        default:
          return {};
      }
    }
    case BACKGROUND_GRADIENT:
      return GradientBackground(gradientColourA, gradientColourB, screen.cx, screen.cy, gradientHorizontal, depth);
    case BACKGROUND_COLOUR:
      return SolidBackground(plainColour, screen.cx, screen.cy, depth);
    default:
      return {};
  }
}

bool CDiapoObject::RenderPicture(HDIB& frame, const CDiapoDoc* document) const {
  if (!document) return false;
  PictureFit fit;
  switch (pictureFit) {
    case FIT_NONE: fit = PictureFit::Natural; break;
    case FIT_KEEP_RATIO: fit = PictureFit::KeepRatio; break;
    case FIT_STRETCH: fit = PictureFit::Fill; break;
    default: return false;
  }
  // The stored format chooses the decoder, whatever the file is called.
  CDIB picture;
  if (pictureData && pictureSize != 0) {
    TemporaryFile temp;
    if (WriteEmbeddedPicture(*this, document->tempDirectory, temp)) {
      picture.LoadFile(temp.Path(), pictureFormat);
    } else {
      // No temporary file to be had (a full folder, or every name taken):
      // the picture is decoded straight from the package's bytes.
      temp.Delete();
      picture.LoadBytes({pictureData.data(), std::min<size_t>(pictureSize, pictureData.size())}, pictureFormat);
    }
  } else {
    picture.LoadFile(LocalPath(pictureFileName), pictureFormat);
  }
  if (!picture.m_hDIB) return false;
  return PlaceSlidePicture(frame, picture.m_hDIB, fit, document->pictureMargin, GetDisplayDepth());
}

}  // namespace pellora
