// Writes show packages byte by byte, the way the authoring tool lays them
// out, so that tests can vary one field at a time.
#pragma once

#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace pellora::test {

struct SlideBytes {
  std::string pictureFileName = "C:\\Photos\\plage.jpg";
  std::string pictureFormat = "JPG";
  std::string slideName = "Plage";
  std::string slideComment;
  uint32_t thumb[2] = {84, 58};
  uint32_t smallThumb[2] = {67, 46};
  uint32_t pictureHeight = 957, pictureWidth = 1384;
  uint16_t pictureDepth = 24, fit = 1, soundMode = 0;
  std::string soundFileName;
  uint16_t duration = 6, advance = 0, transition = 16;
  std::string picture = "JPEGBYTES";
  std::string sound;
  uint16_t reserved = 0xFFFF;
  std::string thumbnail;       // DIB record bytes, empty = absent
  std::string smallThumbnail;
};

struct PackageBytes {
  std::string magic = "PELLORA 1.00";
  std::string title = "Vacances";
  std::string description = "Une semaine";
  std::string notice = "(c) Famille";
  uint16_t version = 1;
  uint16_t backgroundKind = 2, placement = 0;
  std::string backgroundFileName;
  uint16_t horizontal = 0;
  uint32_t colourA = 0, colourB = 0x800000, plain = 0;
  std::string storedPassword;  // already scrambled
  std::string musicFileName = "theme.mp3";
  std::string music = "ID3MUSIC";
  uint16_t margin = 20, option = 1, loop = 1;
  std::string backgroundPicture;  // DIB record bytes, empty = absent
  std::vector<SlideBytes> slides;
  uint16_t slideSchema = 1;

  std::string Build() const;
};

// A DIB record: present flag, length and the packed bitmap.
std::string DibRecord(const std::string& dib);

// A minimal 32-bit Windows image: DOS header, PE header, one section whose
// raw data ends at 0x400, then padding; a Windows show is this and its
// package.
std::string MinimalPe(size_t padding);

}  // namespace pellora::test
