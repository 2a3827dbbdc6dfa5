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
    if (!m_hDIB || m_hDIB.size() < sizeof(BITMAPINFOHEADER)) {
      archive.WriteDWord(0);
      return;
    }
    const uint8_t* dib = m_hDIB.data();
    int32_t height = std::max(DIBHeight(dib), 0);
    uint64_t length = 40 + uint64_t(DIBPaletteSize(dib)) +
                      uint64_t(DIBStride(DIBBitCount(dib), uint32_t(std::max(DIBWidth(dib), 0)))) * height;
    // A block whose header promises more than it holds (one read from a
    // damaged package) is written as it is, never padded out.
    length = std::min<uint64_t>(length, m_hDIB.size());
    archive.WriteDWord(1);
    archive.WriteDWord(uint32_t(length));
    archive.Write(dib, size_t(length));
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
