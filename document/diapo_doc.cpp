#include "document/diapo_doc.h"

#include <algorithm>
#include <cstring>

#include "document/diapo_object.h"
#include "image/cdib.h"
#include "platform/base/text.h"
#include "platform/storage/archive.h"

namespace pellora {
namespace {
std::unique_ptr<CObject> CreateDoc() { return std::make_unique<CDiapoDoc>(); }
// The classes a show package may hold.
const CRuntimeClass* const kPackageClasses[] = {&CDiapoDoc::classCDiapoDoc, &CDiapoObject::classCDiapoObject,
                                                &CDIB::classCDIB};
// Blobs are read in pieces of this size.
constexpr size_t kBlobPiece = 0x7FFF;
}  // namespace

const CRuntimeClass CDiapoDoc::classCDiapoDoc = {"CDiapoDoc", kNoSchema, &CreateDoc};

CDiapoDoc::~CDiapoDoc() { DeleteContents(); }

void CDiapoDoc::DeleteContents() { slides.clear(); }

std::string ScramblePassword(const std::string& password) {
  std::string stored = password;
  for (char& c : stored) c = char(uint8_t(c) + kPasswordScramble);
  return stored;
}

std::string UnscramblePassword(const std::string& stored) {
  // The stored characters go through a small working buffer: they end at
  // the first zero byte and the buffer holds at most 51 of them.
  std::string password;
  for (char c : stored) {
    if (c == 0 || password.size() == kMaxStoredPassword) break;
    char plain = char(uint8_t(c) - kPasswordScramble);
    if (plain == 0) break;
    password += plain;
  }
  return password;
}

void SerializeBlob(CArchive& archive, uint32_t& size, GlobalBlock& data) {
  if (archive.IsStoring()) {
    uint32_t n = data ? size : 0;
    archive.WriteDWord(n);
    if (n) archive.Write(data.data(), n);
    return;
  }
  uint32_t n = archive.ReadDWord();
  size = n;
  data.Free();
  if (n == 0) return;
  // A count beyond the end of the stream is a truncated package: refuse it
  // before asking for memory.
  if (n > archive.BytesLeft()) throw CArchiveException(CArchiveException::Cause::EndOfFile);
  GlobalBlock block = GlobalBlock::Allocate(n, false);
  if (!block) {
    // No memory for it: skip the bytes and go on without the blob.
    archive.Skip(n);
    size = 0;
    return;
  }
  for (size_t done = 0; done < n;) {
    size_t piece = std::min(kBlobPiece, size_t(n) - done);
    archive.ReadExact(block.data() + done, piece);
    done += piece;
  }
  data = std::move(block);
}

void CDiapoDoc::Serialize(CArchive& archive) {
  if (archive.IsStoring()) {
    bool magicKept = packageMagic.size() == kPackageMagicLength && EqualsIgnoreCaseAscii(packageMagic, kPackageMagic);
    archive.Write(magicKept ? packageMagic.data() : kPackageMagic, kPackageMagicLength);
    archive.WriteString(title);
    archive.WriteString(description);
    archive.WriteString(notice);
    archive.WriteWord(packageVersion);
    archive.WriteWord(uint16_t(backgroundKind));
    archive.WriteWord(uint16_t(backgroundPlacement));
    archive.WriteString(backgroundFileName);
    archive.WriteWord(uint16_t(gradientHorizontal));
    archive.WriteDWord(gradientColourA);
    archive.WriteDWord(gradientColourB);
    archive.WriteDWord(plainColour);
    archive.WriteString(storedPassword.empty() ? ScramblePassword(password) : storedPassword);
    archive.WriteString(musicFileName);
    SerializeBlob(archive, musicSize, musicData);
    archive.WriteWord(uint16_t(pictureMargin));
    archive.WriteWord(uint16_t(pictureOption));
    archive.WriteWord(uint16_t(loopShow));
    backgroundPicture.Serialize(archive);
    SerializeObArray(archive, slides);
    return;
  }

  archive.SetClasses(kPackageClasses);
  char magic[kPackageMagicLength];
  bool magicRead = archive.BytesLeft() >= kPackageMagicLength;
  if (magicRead) archive.ReadExact(magic, kPackageMagicLength);
  if (!magicRead || !EqualsIgnoreCaseAscii(std::string_view(magic, kPackageMagicLength), kPackageMagic)) {
    loadFailed = 1;
    return;
  }
  packageMagic.assign(magic, kPackageMagicLength);
  title = archive.ReadString();
  description = archive.ReadString();
  notice = archive.ReadString();
  packageVersion = archive.ReadWord();
  backgroundKind = archive.ReadWord();
  backgroundPlacement = archive.ReadWord();
  backgroundFileName = archive.ReadString();
  gradientHorizontal = archive.ReadWord();
  gradientColourA = archive.ReadDWord();
  gradientColourB = archive.ReadDWord();
  plainColour = archive.ReadDWord();
  storedPassword = archive.ReadString();
  password = UnscramblePassword(storedPassword);
  musicFileName = archive.ReadString();
  SerializeBlob(archive, musicSize, musicData);
  pictureMargin = archive.ReadWord();
  pictureOption = archive.ReadWord();
  loopShow = archive.ReadWord();
  backgroundPicture.Serialize(archive);
  SerializeObArray(archive, slides);
  loadFailed = 0;
}

}  // namespace pellora
