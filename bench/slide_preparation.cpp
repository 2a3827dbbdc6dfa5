// Preparing slides at 1920 x 1080 on a true-colour display.
//
// One slide from an embedded JPEG of about 0.5 MB and 2.5 megapixels
// (temporary file, decode, fit, on a copy of the background) must take at
// most twice the time libjpeg alone takes to decode the same file into rows
// in memory. Building a gradient or plain background must take at most
// three times the time of filling a block of the same size with memset.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <jpeglib.h>

#include <benchmark/benchmark.h>

#include "bench/timing.h"
#include "document/diapo_doc.h"
#include "image/colour_reduction.h"
#include "image/jpeg_writer.h"
#include "platform/backend.h"
#include "platform/draw/screen.h"
#include "platform/headless/headless_backend.h"
#include "platform/os/file.h"

namespace {

using namespace pellora;

constexpr int kScreenWidth = 1920, kScreenHeight = 1080;
constexpr int kPhotoWidth = 1936, kPhotoHeight = 1296;  // 2.5 megapixels

// Something like a photograph: smooth light and colour with fine grain.
std::vector<uint8_t> PhotoSamples() {
  std::mt19937 random(7);
  std::vector<uint8_t> rgb(size_t(kPhotoWidth) * kPhotoHeight * 3);
  uint8_t* p = rgb.data();
  for (int y = 0; y < kPhotoHeight; ++y)
    for (int x = 0; x < kPhotoWidth; ++x) {
      double u = double(x) / kPhotoWidth, v = double(y) / kPhotoHeight;
      double light = 0.5 + 0.4 * std::sin(6.0 * u + 3.0 * v) * std::cos(4.0 * v - 2.0 * u);
      int grain = int(random() % 25) - 12;
      *p++ = uint8_t(std::clamp(int(255 * light * (0.6 + 0.4 * u)) + grain, 0, 255));
      *p++ = uint8_t(std::clamp(int(255 * light * (0.5 + 0.5 * v)) + grain, 0, 255));
      *p++ = uint8_t(std::clamp(int(255 * (1 - light) * 0.8) + grain, 0, 255));
    }
  return rgb;
}

std::vector<uint8_t> Compress(const std::vector<uint8_t>& rgb, int quality) {
  return CompressJpeg(kPhotoWidth, kPhotoHeight, rgb.data(), 3, quality);
}

// The quality whose file comes closest to half a megabyte.
std::vector<uint8_t> HalfMegabyteJpeg() {
  std::vector<uint8_t> rgb = PhotoSamples(), best;
  for (int quality = 50; quality <= 98; ++quality) {
    std::vector<uint8_t> bytes = Compress(rgb, quality);
    if (best.empty() || std::abs(double(bytes.size()) - 5e5) < std::abs(double(best.size()) - 5e5)) best = bytes;
  }
  return best;
}

// libjpeg alone: the file decoded into rows in memory.
void DecodeWithLibjpeg(const std::string& path, std::vector<uint8_t>& rows) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&cinfo);
  jpeg_stdio_src(&cinfo, file);
  jpeg_read_header(&cinfo, TRUE);
  jpeg_start_decompress(&cinfo);
  size_t stride = size_t(cinfo.output_width) * size_t(cinfo.output_components);
  rows.resize(stride * cinfo.output_height);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = &rows[stride * cinfo.output_scanline];
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  std::fclose(file);
}

}  // namespace

int main() {
  pellora::SetDefaultBackend(&pellora::HeadlessBackend::CreateDefault);
  HeadlessBackend::Options options;
  options.screen = {kScreenWidth, kScreenHeight};
  InstallBackend(std::make_unique<HeadlessBackend>(options));
  SetScreenDepthOverride(24);
  bool ok = true;

  // One slide from an embedded JPEG.
  std::vector<uint8_t> jpeg = HalfMegabyteJpeg();
  std::printf("picture: %dx%d JPEG of %.0f kB; screen %dx%d, 24 bits\n", kPhotoWidth, kPhotoHeight,
              double(jpeg.size()) / 1e3, kScreenWidth, kScreenHeight);
  std::string path = GetTempDirectory() + "pellora-bench-photo.jpg";
  {
    CFile file;
    file.Open(path, CFile::Mode::CreateWrite);
    WriteInPieces(file, jpeg.data(), jpeg.size());
  }
  CDiapoDoc document;
  document.backgroundKind = BACKGROUND_GRADIENT;
  document.pictureMargin = 20;
  CDIB background;
  background.Attach(document.MakeBackground());
  CDiapoObject slide;
  slide.pictureFormat = "JPG";
  slide.pictureFit = FIT_KEEP_RATIO;
  slide.pictureSize = uint32_t(jpeg.size());
  slide.pictureData = GlobalBlock::Allocate(jpeg.size(), false);
  std::memcpy(slide.pictureData.data(), jpeg.data(), jpeg.size());

  std::vector<uint8_t> rows;
  double decode = bench::MedianSeconds(15, [&] { DecodeWithLibjpeg(path, rows); });
  double prepare = bench::MedianSeconds(15, [&] {
    CDIB current;
    current.CopyFrom(background);
    slide.RenderPicture(current.m_hDIB, &document);
  });
  DeleteFileNormal(path);
  std::printf("libjpeg decoding into rows: %.2f ms; preparing the slide: %.2f ms\n", decode * 1e3, prepare * 1e3);
  ok &= bench::Report("slide preparation / libjpeg decoding", prepare / decode, 2.0, "x");

  // Backgrounds against memset of a block of the same size.
  size_t frameBytes = size_t(kScreenWidth) * kScreenHeight * 3 + 40;
  GlobalBlock warm = GlobalBlock::Allocate(frameBytes, false);
  // The filled bytes are handed to the optimiser as used, so that no fill
  // is left out.
  double memsetWarm = bench::MedianSeconds(31, [&] {
    std::memset(warm.data(), 0x55, frameBytes);
    benchmark::DoNotOptimize(warm.data());
    benchmark::ClobberMemory();
  });
  double memsetNew = bench::MedianSeconds(31, [&] {
    GlobalBlock block = GlobalBlock::Allocate(frameBytes, false);
    std::memset(block.data(), 0x55, frameBytes);
    benchmark::DoNotOptimize(block.data());
    benchmark::ClobberMemory();
  });
  std::printf("memset of %.1f MB: %.3f ms into a used block, %.3f ms into a new block\n", double(frameBytes) / 1e6,
              memsetWarm * 1e3, memsetNew * 1e3);
  const struct {
    const char* name;
    int kind;
    int horizontal;
  } backgrounds[] = {{"vertical gradient", BACKGROUND_GRADIENT, 0},
                     {"horizontal gradient", BACKGROUND_GRADIENT, 1},
                     {"plain colour", BACKGROUND_COLOUR, 0}};
  for (const auto& b : backgrounds) {
    document.backgroundKind = b.kind;
    document.gradientHorizontal = b.horizontal;
    document.plainColour = RGB(20, 40, 90);
    double build = bench::MedianSeconds(31, [&] {
      HDIB frame = document.MakeBackground();
      benchmark::DoNotOptimize(frame.data());
    });
    std::printf("%s: %.3f ms\n", b.name, build * 1e3);
    std::string what = std::string(b.name) + " / memset into a new block";
    ok &= bench::Report(what.c_str(), build / memsetNew, 3.0, "x");
    what = std::string(b.name) + " / memset into a used block";
    bench::Report(what.c_str(), build / memsetWarm, 3.0, "x");
  }
  InstallBackend(nullptr);
  return ok ? 0 : 1;
}
