// CDIB: the container that owns one packed bitmap block and the logical
// palette made from its colour table; also the record in which pictures
// are stored inside a show package.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "image/dib.h"
#include "platform/storage/object.h"

namespace pellora {

class CDIB : public CObject {
 public:
  static const CRuntimeClass classCDIB;

  CDIB() = default;
  const CRuntimeClass* GetRuntimeClass() const override { return &classCDIB; }
  // Writes or reads the record: u32 present flag, then u32 length and the
  // block's bytes when present.
  void Serialize(CArchive& archive) override;
  // A byte copy of the other container's block, with a fresh palette.
  CDIB& CopyFrom(const CDIB& other);
  // Takes over a block, making its palette when it has a colour table.
  void Attach(HDIB dib);
  // Replaces the picture with the one decoded from the file at path; the
  // reader is chosen by the last three letters of typeName, or of path
  // when typeName is empty (PictureReaderFor). Empty afterwards when
  // nothing could be loaded.
  void LoadFile(const std::string& path, const std::string& typeName = {});
  // The same from the file's bytes in memory; typeName chooses the reader.
  void LoadBytes(std::span<const uint8_t> bytes, const std::string& typeName);

  HDIB m_hDIB;
  CPalette m_palette;
};

}  // namespace pellora
