#include "document/diapo_object.h"

#include "document/diapo_doc.h"
#include "platform/storage/archive.h"

namespace pellora {
namespace {
std::unique_ptr<CObject> CreateSlide() { return std::make_unique<CDiapoObject>(); }
}  // namespace

const CRuntimeClass CDiapoObject::classCDiapoObject = {"CDiapoObject", CDiapoObject::kSchema, &CreateSlide};

void CDiapoObject::Serialize(CArchive& archive) {
  if (archive.IsStoring()) {
    archive.WriteString(pictureFileName);
    archive.WriteString(pictureFormat);
    archive.WriteString(slideName);
    archive.WriteString(slideComment);
    archive.WriteDWord(thumbnailSize[0]);
    archive.WriteDWord(thumbnailSize[1]);
    archive.WriteDWord(smallThumbnailSize[0]);
    archive.WriteDWord(smallThumbnailSize[1]);
    archive.WriteDWord(pictureHeight);
    archive.WriteDWord(pictureWidth);
    archive.WriteWord(pictureDepth);
    archive.WriteWord(pictureFit);
    archive.WriteWord(soundMode);
    archive.WriteString(soundFileName);
    archive.WriteWord(duration);
    archive.WriteWord(advanceMode);
    archive.WriteWord(transition);
    SerializeBlob(archive, pictureSize, pictureData);
    SerializeBlob(archive, soundSize, soundData);
    archive.WriteWord(slideReserved);
    thumbnail.Serialize(archive);
    smallThumbnail.Serialize(archive);
    return;
  }
  pictureFileName = archive.ReadString();
  pictureFormat = archive.ReadString();
  slideName = archive.ReadString();
  slideComment = archive.ReadString();
  thumbnailSize[0] = archive.ReadDWord();
  thumbnailSize[1] = archive.ReadDWord();
  smallThumbnailSize[0] = archive.ReadDWord();
  smallThumbnailSize[1] = archive.ReadDWord();
  pictureHeight = archive.ReadDWord();
  pictureWidth = archive.ReadDWord();
  pictureDepth = archive.ReadWord();
  pictureFit = archive.ReadWord();
  soundMode = archive.ReadWord();
  soundFileName = archive.ReadString();
  duration = archive.ReadWord();
  advanceMode = archive.ReadWord();
  transition = archive.ReadWord();
  SerializeBlob(archive, pictureSize, pictureData);
  SerializeBlob(archive, soundSize, soundData);
  slideReserved = archive.ReadWord();
  thumbnail.Serialize(archive);
  smallThumbnail.Serialize(archive);
}

}  // namespace pellora
