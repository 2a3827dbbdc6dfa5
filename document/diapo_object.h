// CDiapoObject: one slide of a show, with its picture (embedded bytes or a
// file name), its placement, its sound, its timing, its transition and two
// thumbnails.
#pragma once

#include <cstdint>
#include <string>

#include "image/cdib.h"
#include "platform/storage/global_block.h"
#include "platform/storage/object.h"

namespace pellora {

class CDiapoDoc;

enum : uint16_t { FIT_NONE = 0, FIT_KEEP_RATIO = 1, FIT_STRETCH = 2 };
enum : uint16_t { SOUND_SHOW_MUSIC = 0, SOUND_SILENCE = 1, SOUND_KEEP = 2, SOUND_SLIDE = 3 };
enum : uint16_t { ADVANCE_TIMED = 0, ADVANCE_AT_SOUND_END = 1 };

class CDiapoObject : public CObject {
 public:
  static const CRuntimeClass classCDiapoObject;
  static constexpr uint16_t kSchema = 1;

  CDiapoObject() = default;
  const CRuntimeClass* GetRuntimeClass() const override { return &classCDiapoObject; }
  // Reads or writes the slide record.
  void Serialize(CArchive& archive) override;

  // Loads the slide's picture and places it on frame, a screen-sized block
  // that already holds the background; false when no picture was placed.
  bool RenderPicture(HDIB& frame, const CDiapoDoc* document) const;

  std::string pictureFileName;
  std::string pictureFormat;
  CDIB thumbnail;
  CDIB smallThumbnail;
  uint32_t thumbnailSize[2] = {0, 0};       // width, height
  uint32_t smallThumbnailSize[2] = {0, 0};  // width, height
  uint32_t pictureHeight = 0;
  uint32_t pictureWidth = 0;
  uint16_t pictureDepth = 0;
  std::string slideName;
  std::string slideComment;
  uint16_t pictureFit = FIT_NONE;
  uint16_t soundMode = SOUND_SHOW_MUSIC;
  std::string soundFileName;
  uint16_t duration = 10;
  uint16_t advanceMode = ADVANCE_TIMED;
  uint16_t transition = 0;
  uint32_t pictureSize = 0;
  GlobalBlock pictureData;
  uint32_t soundSize = 0;
  GlobalBlock soundData;
  uint16_t slideReserved = 0xFFFF;
};

}  // namespace pellora
