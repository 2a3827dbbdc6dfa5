// Reading a large show package: 53 slides with 0.5 MB embedded pictures and
// an 8 MB music blob, about 35 MB in all. The read must take at most twice
// the time of reading the file's bytes into memory, and hold at most the
// package's size plus 20 MB.
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "app/package_loader.h"
#include "bench/timing.h"
#include "document/diapo_doc.h"
#include "platform/headless/headless_backend.h"
#include "platform/os/file.h"
#include "platform/os/process_stats.h"
#include "platform/storage/archive.h"

namespace {

using namespace pellora;

GlobalBlock RandomBlock(size_t size, std::mt19937& random) {
  GlobalBlock block = GlobalBlock::Allocate(size, false);
  for (size_t i = 0; i < size; ++i) block.data()[i] = uint8_t(random());
  return block;
}

void WritePackage(const std::string& path) {
  std::mt19937 random(1);
  CDiapoDoc doc;
  doc.title = "Benchmark";
  doc.musicFileName = "theme.mp3";
  doc.musicSize = 8254124;
  doc.musicData = RandomBlock(doc.musicSize, random);
  for (int i = 0; i < 53; ++i) {
    auto slide = std::make_shared<CDiapoObject>();
    slide->pictureFormat = "JPG";
    slide->pictureFileName = "photo" + std::to_string(i) + ".jpg";
    slide->pictureSize = uint32_t(360000 + (i * 4391) % 220000);
    slide->pictureData = RandomBlock(slide->pictureSize, random);
    slide->thumbnail.Attach(CreateDIB(84, 58, 24));
    slide->smallThumbnail.Attach(CreateDIB(67, 46, 24));
    slide->thumbnailSize[0] = 84;
    slide->thumbnailSize[1] = 58;
    doc.slides.push_back(slide);
  }
  CFile file;
  file.Open(path, CFile::Mode::CreateWrite);
  CArchive archive(file, CArchive::Mode::Store);
  doc.Serialize(archive);
  archive.Close();
}

}  // namespace

int main() {
  pellora::SetDefaultBackend(&pellora::HeadlessBackend::CreateDefault);
  std::string path = GetTempDirectory() + "pellora-bench-package.pkg";
  WritePackage(path);
  long long size = std::filesystem::file_size(path);
  std::printf("package: %.1f MB, 53 slides\n", double(size) / 1e6);

  // Memory first, in a fresh process state.
  uint64_t before = CurrentResidentBytes();
  {
    CDiapoDoc doc;
    std::string message;
    if (ReadShowPackage(doc, path, 0, message) != LoadResult::Loaded) {
      std::printf("package did not load: %s\n", message.c_str());
      return 1;
    }
  }
  double peakMb = double(PeakResidentBytes() - before) / 1e6;

  double bytes = bench::MedianSeconds(9, [&] {
    CFile file;
    file.Open(path, CFile::Mode::Read);
    GlobalBlock data = GlobalBlock::Allocate(size_t(file.Length()), false);
    file.Read(data.data(), data.size());
  });
  double package = bench::MedianSeconds(9, [&] {
    CDiapoDoc doc;
    std::string message;
    ReadShowPackage(doc, path, 0, message);
  });
  DeleteFileNormal(path);
  std::printf("reading the file's bytes: %.2f ms; reading the package: %.2f ms\n", bytes * 1e3, package * 1e3);
  bool ok = bench::Report("package read time / byte read time", package / bytes, 2.0, "x");
  ok &= bench::Report("peak memory growth while reading", peakMb, double(size) / 1e6 + 20, "MB");
  return ok ? 0 : 1;
}
