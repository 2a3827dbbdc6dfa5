// Feeds arbitrary bytes to the show package reader; a package that reads
// is written back and read again, which must give the same slides.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/diapo_doc.h"
#include "app/package_loader.h"
#include "platform/archive.h"
#include "platform/file.h"

namespace {

std::string TempName() {
  static std::string name = pellora::CreateUniqueTempFile(pellora::GetTempDirectory(), "fuzzpkg");
  return name;
}

bool WriteAll(const std::string& path, const uint8_t* data, size_t size) {
  pellora::CFile file;
  return file.Open(path, pellora::CFile::Mode::CreateWrite) && pellora::WriteInPieces(file, data, size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pellora;
  const std::string path = TempName();
  if (path.empty() || !WriteAll(path, data, size)) return 0;
  CDiapoDoc document;
  std::string message;
  if (ReadShowPackage(document, path, 0, message) != LoadResult::Loaded) return 0;
  {
    CFile out;
    if (!out.Open(path, CFile::Mode::CreateWrite)) return 0;
    CArchive archive(out, CArchive::Mode::Store);
    document.Serialize(archive);
    archive.Close();
  }
  CDiapoDoc again;
  if (ReadShowPackage(again, path, 0, message) != LoadResult::Loaded || again.slides.size() != document.slides.size())
    __builtin_trap();
  return 0;
}
