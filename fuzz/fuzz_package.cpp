// Feeds arbitrary bytes to the show package reader; a package that reads
// is written back and read again, which must give the same slides.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/package_loader.h"
#include "document/diapo_doc.h"
#include "fuzz/input_file.h"
#include "platform/archive.h"
#include "platform/file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pellora;
  static const fuzz::InputFile input("fuzzpkg");
  if (!input.Write(data, size)) return 0;
  CDiapoDoc document;
  std::string message;
  if (ReadShowPackage(document, input.Path(), 0, message) != LoadResult::Loaded) return 0;
  {
    CFile out;
    if (!out.Open(input.Path(), CFile::Mode::CreateWrite)) return 0;
    CArchive archive(out, CArchive::Mode::Store);
    document.Serialize(archive);
    archive.Close();
  }
  CDiapoDoc again;
  if (ReadShowPackage(again, input.Path(), 0, message) != LoadResult::Loaded ||
      again.slides.size() != document.slides.size())
    __builtin_trap();
  return 0;
}
