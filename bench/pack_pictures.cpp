// Packing a folder of 50 photographs of 12 megapixels (4000 x 3000 JPEG
// files) with "maxSize": "1920x1080": the show must hold at most 30 MB,
// and packing (reading, decoding, scaling, encoding, thumbnails, writing)
// must take at most twice the time libjpeg alone takes to decode the same
// files in full, one after the other. Pack decodes on every core; the
// machine's core count is printed with the figures.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <jpeglib.h>

#include "bench/timing.h"
#include "document/diapo_doc.h"
#include "image/jpeg_writer.h"
#include "platform/os/file.h"
#include "tools/lib/package_writer.h"
#include "tools/lib/show_description.h"

namespace {

using namespace pellora;

constexpr int kPhotos = 50, kDistinct = 5;
constexpr int kWidth = 4000, kHeight = 3000;

// Something like a photograph: smooth light and colour with fine grain.
std::vector<uint8_t> PhotoSamples(unsigned seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> rgb(size_t(kWidth) * kHeight * 3);
  uint8_t* p = rgb.data();
  double phase = seed * 0.7;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      double u = double(x) / kWidth, v = double(y) / kHeight;
      double light = 0.5 + 0.4 * std::sin(6.0 * u + 3.0 * v + phase) * std::cos(4.0 * v - 2.0 * u);
      int grain = int(random() % 13) - 6;
      *p++ = uint8_t(std::clamp(int(255 * light * (0.6 + 0.4 * u)) + grain, 0, 255));
      *p++ = uint8_t(std::clamp(int(255 * light * (0.5 + 0.5 * v)) + grain, 0, 255));
      *p++ = uint8_t(std::clamp(int(255 * (1 - light) * 0.8) + grain, 0, 255));
    }
  return rgb;
}

// libjpeg's own decoding of a file into rows, the baseline.
void DecodeWithLibjpeg(const std::vector<uint8_t>& bytes, std::vector<uint8_t>& rows) {
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  jpeg_start_decompress(&cinfo);
  size_t stride = size_t(cinfo.output_width) * cinfo.output_components;
  rows.resize(stride * cinfo.output_height);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = rows.data() + stride * cinfo.output_scanline;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
}

}  // namespace

int main() {
  namespace fs = std::filesystem;
  fs::path folder = fs::temp_directory_path() / ("pellora-bench-photos-" + std::to_string(std::random_device()()));
  fs::create_directories(folder);
  std::vector<std::vector<uint8_t>> files;
  for (int i = 0; i < kDistinct; ++i) {
    std::vector<uint8_t> rgb = PhotoSamples(unsigned(i + 1));
    files.push_back(CompressJpeg(kWidth, kHeight, rgb.data(), 3, 92));
  }
  std::string slides;
  std::vector<std::string> paths;
  uint64_t folderBytes = 0;
  for (int i = 0; i < kPhotos; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "photo-%02d.jpg", i + 1);
    const std::vector<uint8_t>& bytes = files[size_t(i % kDistinct)];
    paths.push_back(PathToUtf8(folder / name));
    CFile file;
    if (!file.Open(paths.back(), CFile::Mode::CreateWrite) || !WriteInPieces(file, bytes.data(), bytes.size()))
      return 2;
    folderBytes += bytes.size();
    slides += std::string(i ? ", " : "") + "{\"picture\": \"" + name + "\"}";
  }
  std::string description = PathToUtf8(folder / "show.json");
  {
    std::string text = R"({"pictures": {"maxSize": "1920x1080", "quality": 90}, "slides": [)" + slides + "]}";
    CFile file;
    if (!file.Open(description, CFile::Mode::CreateWrite) ||
        !WriteInPieces(file, reinterpret_cast<const uint8_t*>(text.data()), text.size()))
      return 2;
  }
  std::string out = PathToUtf8(folder / "show.package");

  std::vector<uint8_t> rows;
  double decoding = bench::MedianSeconds(1, [&] {
    for (const std::string& path : paths) {
      std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(path, size_t(1) << 30);
      if (bytes) DecodeWithLibjpeg(*bytes, rows);
    }
  });
  bool built = true;
  double packing = bench::MedianSeconds(1, [&] {
    tools::DescriptionRead read = tools::ReadShowDescription(description);
    std::string error;
    built = read.document && tools::WriteBarePackage(*read.document, out, error);
  });
  std::error_code ec;
  double showMegabytes = double(fs::file_size(out, ec)) / 1e6;
  fs::remove_all(folder, ec);
  std::printf("%d photos of %dx%d, %.0f MB, on %u cores; libjpeg decodes them in %.2f s, pack takes %.2f s\n", kPhotos,
              kWidth, kHeight, double(folderBytes) / 1e6, std::thread::hardware_concurrency(), decoding, packing);
  bool ok = built;
  ok &= bench::Report("pack time / libjpeg decoding alone", packing / decoding, 2.0, "x");
  ok &= bench::Report("show size with maxSize 1920x1080", showMegabytes, 30.0, "MB");
  return ok ? 0 : 1;
}
