// CDiapoDoc: everything the player knows about a show once its package has
// been read: texts and password, background, music, looping, and the
// slides in order.
#pragma once

#include <cstdint>
#include <string>

#include "document/diapo_object.h"
#include "image/cdib.h"
#include "platform/base/types.h"
#include "platform/storage/global_block.h"
#include "platform/storage/ob_array.h"
#include "platform/storage/object.h"

namespace pellora {

enum : int { BACKGROUND_PICTURE = 0, BACKGROUND_GRADIENT = 1, BACKGROUND_COLOUR = 2 };
enum : int { PLACE_STRETCH = 0, PLACE_CENTRE = 1, PLACE_TILE = 2 };

// The package's magic, compared without regard to case.
inline constexpr char kPackageMagic[] = "PELLORA 1.00";
constexpr size_t kPackageMagicLength = 12;
// Offset added to every stored password byte.
constexpr uint8_t kPasswordScramble = 0x4B;
// Longest password the stored form can hold.
constexpr size_t kMaxStoredPassword = 51;

class CDiapoDoc : public CObject {
 public:
  static const CRuntimeClass classCDiapoDoc;

  CDiapoDoc() = default;
  ~CDiapoDoc() override;
  const CRuntimeClass* GetRuntimeClass() const override { return &classCDiapoDoc; }
  // Reads (or, for the pack tool, writes) the document record and slides.
  void Serialize(CArchive& archive) override;
  // Deletes every slide and empties the array.
  void DeleteContents();
  // A new screen-sized background frame built from the background
  // settings, or an empty block.
  HDIB MakeBackground() const;

  CObArray<CDiapoObject> slides;
  std::string title;
  std::string description;
  std::string notice;
  std::string password;
  int loopShow = 1;
  int loadFailed = 0;
  std::string musicFileName;
  uint32_t musicSize = 0;
  GlobalBlock musicData;
  int pictureMargin = 0;
  int pictureOption = 1;
  int backgroundKind = BACKGROUND_GRADIENT;
  int backgroundPlacement = PLACE_STRETCH;
  std::string backgroundFileName;
  CDIB backgroundPicture;
  int gradientHorizontal = 0;
  COLORREF gradientColourA = RGB(0, 0, 0);
  COLORREF gradientColourB = RGB(0, 0, 128);
  COLORREF plainColour = RGB(0, 0, 0);
  // The package's format version word, as read and written again; nothing
  // depends on it.
  uint16_t packageVersion = 0;
  // The magic and the password's stored form as read, written again so
  // that a package read and written is the same bytes (the magic's letter
  // case may differ; the stored password may hold what unscrambling
  // drops). Empty storedPassword: written from password.
  std::string packageMagic = kPackageMagic;
  std::string storedPassword;
  // The folder (with a trailing separator) the slides' embedded pictures
  // are written to while they are decoded: the player's tempDirectory.
  // Empty: the system's temporary directory. Not part of the package.
  std::string tempDirectory;
};

// Stored form of a password and back.
std::string ScramblePassword(const std::string& password);
std::string UnscramblePassword(const std::string& stored);

// Reads a blob (u32 count, then the bytes straight from the file) into
// size and data; writes one when storing.
void SerializeBlob(CArchive& archive, uint32_t& size, GlobalBlock& data);

}  // namespace pellora
