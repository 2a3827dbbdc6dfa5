#include "app/package_loader.h"

#include "document/diapo_doc.h"
#include "platform/base/text.h"
#include "platform/os/file.h"
#include "platform/storage/archive.h"
#include "platform/ui/cursor.h"
#include "platform/ui/message_box.h"

namespace pellora {

namespace {

LoadResult ReadFromArchive(CDiapoDoc& document, CArchive& archive, const std::string& name, std::string& message) {
  try {
    document.Serialize(archive);
    if (document.loadFailed) {
      message = kLoadErrorMessage;
      return LoadResult::WrongMagic;
    }
    archive.Close();
    return LoadResult::Loaded;
  } catch (const CArchiveException&) {
    document.DeleteContents();
    message = kBadFormatMessage;
    return LoadResult::BadFormat;
  } catch (const CFileException&) {
    document.DeleteContents();
    message = kReadErrorMessage;
    message.replace(message.find("%1"), 2, FileTitle(name));
    return LoadResult::ReadError;
  }
}

}  // namespace

LoadResult ReadShowPackage(CDiapoDoc& document, const std::string& path, uint32_t offset, std::string& message) {
  CFile file;
  if (!file.Open(path, CFile::Mode::Read)) return LoadResult::CannotOpen;
  document.DeleteContents();
  if (file.Seek(offset, CFile::Origin::Begin) < 0) {
    message = kReadErrorMessage;
    message.replace(message.find("%1"), 2, FileTitle(path));
    return LoadResult::ReadError;
  }
  CArchive archive(file, CArchive::Mode::Load, 512);
  return ReadFromArchive(document, archive, path, message);
}

LoadResult ReadShowPackage(CDiapoDoc& document, std::span<const uint8_t> package, const std::string& name,
                           std::string& message) {
  document.DeleteContents();
  CArchive archive(package);
  return ReadFromArchive(document, archive, name, message);
}

bool LoadShowPackage(CDiapoDoc& document, const std::string& exePath, uint32_t packageOffset) {
  std::string message;
  LoadResult result;
  {
    CWaitCursor wait;
    result = ReadShowPackage(document, exePath, packageOffset, message);
  }
  switch (result) {
    case LoadResult::Loaded: return true;
    case LoadResult::CannotOpen: return false;
    case LoadResult::WrongMagic: AfxMessageBox(message, MB_ICONERROR); return false;
    case LoadResult::BadFormat: AfxMessageBox(message, MB_ICONEXCLAMATION); return false;
    case LoadResult::ReadError: AfxMessageBox(message, MB_ICONEXCLAMATION); return false;
  }
  return false;
}

}  // namespace pellora
