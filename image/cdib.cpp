#include "image/cdib.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/storage/archive.h"

namespace pellora {
namespace {
std::unique_ptr<CObject> CreateCDIB() { return std::make_unique<CDIB>(); }
// Records are read in pieces of this size.
constexpr size_t kRecordPiece = 0x8000;
}  // namespace

const CRuntimeClass CDIB::classCDIB = {"CDIB", 0, &CreateCDIB};

void CDIB::Attach(HDIB dib) {
  m_hDIB = std::move(dib);
  m_palette.DeleteObject();
  if (DIBColorCount(m_hDIB) != 0) m_palette = CreateDIBPalette(m_hDIB);
}

CDIB& CDIB::CopyFrom(const CDIB& other) {
  m_hDIB.Free();
  m_palette.DeleteObject();
  if (other.m_hDIB) Attach(other.m_hDIB.Clone());
  return *this;
}

void CDIB::Serialize(CArchive& archive) {
  if (archive.IsStoring()) {
    // The block is written as it is, so that a record read from a package
    // is written back byte for byte (whatever its header says).
    if (!m_hDIB || m_hDIB.size() > UINT32_MAX) {
      archive.WriteDWord(0);
      return;
    }
    archive.WriteDWord(1);
    archive.WriteDWord(uint32_t(m_hDIB.size()));
    archive.Write(m_hDIB.data(), m_hDIB.size());
    return;
  }
  uint32_t present = archive.ReadDWord();
  m_hDIB.Free();
  m_palette.DeleteObject();
  if (present == 0) return;
  uint32_t length = archive.ReadDWord();
  // A length beyond the end of the file is a truncated package, not a
  // request for memory.
  if (length > archive.BytesLeft()) throw CArchiveException(CArchiveException::Cause::EndOfFile);
  HDIB dib = GlobalBlock::Allocate(length, false);
  if (!dib) {
    // No memory for the picture: skip its bytes and stay empty.
    std::vector<uint8_t> sink(kRecordPiece);
    for (uint32_t done = 0; done < length;) {
      size_t n = std::min<size_t>(kRecordPiece, length - done);
      archive.ReadExact(sink.data(), n);
      done += uint32_t(n);
    }
    return;
  }
  for (size_t done = 0; done < length;) {
    size_t n = std::min<size_t>(kRecordPiece, length - done);
    archive.ReadExact(dib.data() + done, n);
    done += n;
  }
  Attach(std::move(dib));
}

}  // namespace pellora
