// Feeds arbitrary bytes to the show package reader; a package that reads
// is written back and read again, which must give the same slides.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/package_loader.h"
#include "document/diapo_doc.h"
#include "platform/headless/headless_backend.h"
#include "platform/storage/archive.h"

// The player's code runs on the headless backend, as in the tests.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  pellora::SetDefaultBackend(&pellora::HeadlessBackend::CreateDefault);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pellora;
  CDiapoDoc document;
  std::string message;
  if (ReadShowPackage(document, {data, size}, "input", message) != LoadResult::Loaded) return 0;
  std::vector<uint8_t> written;
  {
    CArchive archive(written);
    document.Serialize(archive);
    archive.Close();
  }
  CDiapoDoc again;
  if (ReadShowPackage(again, written, "written", message) != LoadResult::Loaded ||
      again.slides.size() != document.slides.size())
    __builtin_trap();
  return 0;
}
