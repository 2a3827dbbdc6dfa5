// Pack's pictures end to end: files of every format, made here by the
// libraries or by Debian's command-line encoders (a row is skipped when
// its encoder is missing), read through a show description, and the
// stored picture checked as the player will decode it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>

#include "document/diapo_doc.h"
#include "image/dib_rgb.h"
#include "image/picture_readers.h"
#include "tests/support/picture_files.h"
#include "tests/support/test_support.h"
#include "tools/lib/show_description.h"

namespace pellora {
namespace {

constexpr int kW = 64, kH = 48;

// A smooth picture whose four corners differ, with alpha for the rows
// that want it; top row first.
std::vector<uint8_t> Source(int channels, int w = kW, int h = kH) {
  std::vector<uint8_t> px;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      px.push_back(uint8_t(x * 255 / (w - 1)));
      px.push_back(uint8_t(y * 255 / (h - 1)));
      px.push_back(uint8_t(100 + (x + y) % 7));
      if (channels == 4) px.push_back(uint8_t(x < w / 2 ? 255 : 128));
    }
  return px;
}

// The source as it should look: alpha blended onto black, turned as the
// EXIF orientation says: stored row 0 lies along one side of the shown
// picture and stored column 0 along another (1: top, left; 2: top, right;
// 3: bottom, right; 4: bottom, left; 5: left, top; 6: right, top; 7: right,
// bottom; 8: left, bottom).
RgbImage Expected(const std::vector<uint8_t>& px, int channels, int orientation, int w = kW, int h = kH) {
  // Where stored (0, 0) shows, and which way stored x and y run, in
  // shown coordinates.
  struct Axes { int ox, oy, xdx, xdy, ydx, ydy; };
  static const Axes kAxes[9] = {{}, {0, 0, 1, 0, 0, 1}, {1, 0, -1, 0, 0, 1}, {1, 1, -1, 0, 0, -1}, {0, 1, 1, 0, 0, -1},
                                {0, 0, 0, 1, 1, 0}, {1, 0, 0, 1, -1, 0}, {1, 1, 0, -1, -1, 0}, {0, 1, 0, -1, 1, 0}};
  const Axes& a = kAxes[orientation];
  bool swap = orientation >= 5;
  RgbImage out;
  out.width = swap ? h : w;
  out.height = swap ? w : h;
  out.rgb.resize(size_t(out.width) * out.height * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      int X = a.ox * (out.width - 1) + a.xdx * x + a.ydx * y;
      int Y = a.oy * (out.height - 1) + a.xdy * x + a.ydy * y;
      const uint8_t* s = &px[(size_t(y) * w + x) * channels];
      unsigned alpha = channels == 4 ? s[3] : 255;
      for (int c = 0; c < 3; ++c) out.rgb[(size_t(Y) * out.width + X) * 3 + c] = uint8_t((s[c] * alpha + 127) / 255);
    }
  return out;
}

double Psnr(const RgbImage& a, const RgbImage& b) {
  if (a.width != b.width || a.height != b.height) return 0;
  double sum = 0;
  for (size_t i = 0; i < a.rgb.size(); ++i) sum += std::pow(double(a.rgb[i]) - b.rgb[i], 2);
  return sum == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / (sum / double(a.rgb.size())));
}

std::string Png(const std::vector<uint8_t>& px, uint32_t format, int w = kW, int h = kH) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = uint32_t(w);
  image.height = uint32_t(h);
  image.format = format;
  std::vector<uint8_t> samples = px;
  if (format & PNG_FORMAT_FLAG_LINEAR) {
    // 16-bit samples, linear light as the simplified writer takes them.
    std::vector<uint16_t> wide;
    for (uint8_t v : px) wide.push_back(uint16_t(std::lround(std::pow(v / 255.0, 2.2) * 65535)));
    samples.assign(reinterpret_cast<uint8_t*>(wide.data()), reinterpret_cast<uint8_t*>(wide.data() + wide.size()));
  }
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, samples.data(), 0, nullptr);
  std::string bytes(size, '\0');
  if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, samples.data(), 0, nullptr)) return {};
  bytes.resize(size);
  return bytes;
}

std::string Jpeg(const std::vector<uint8_t>& px, int components, int quality = 95, int w = kW, int h = kH) {
  std::vector<uint8_t> bytes = CompressJpeg(w, h, px.data(), components, quality);
  return {bytes.begin(), bytes.end()};
}

// An APP1 EXIF segment holding the orientation, put after the SOI marker.
std::string WithOrientation(const std::string& jpeg, int orientation) {
  std::string tiff = std::string("MM\0*\0\0\0\x08", 8) + std::string("\0\x01", 2) +
                     std::string("\x01\x12\0\x03\0\0\0\x01", 8) + char(0) + char(orientation) + std::string(2, '\0') +
                     std::string(4, '\0');
  std::string segment = std::string("Exif\0\0", 6) + tiff;
  size_t length = segment.size() + 2;
  return jpeg.substr(0, 2) + "\xFF\xE1" + char(length >> 8) + char(length & 0xFF) + segment + jpeg.substr(2);
}

// The file made by ImageMagick from a PNG of the source, or empty when it
// is not installed or cannot write the format.
std::string Converted(const test::TempDir& dir, const std::string& png, const std::string& out,
                      const std::string& options, const std::string& prefix = "") {
  test::WriteFile(dir.File("in.png"), png);
  std::string command = "convert " + dir.File("in.png") + " " + options + " " + prefix + dir.File(out) + " 2>/dev/null";
  if (std::system(command.c_str()) != 0) return {};
  return test::ReadFile(dir.File(out));
}

TEST(PackPictures, EveryFormatIsStoredUprightAndSized) {
  test::TempDir dir;
  const std::vector<uint8_t> rgb = Source(3), rgba = Source(4);
  std::vector<uint8_t> cmyk;
  for (size_t i = 0; i < rgb.size(); i += 3)
    for (int c = 0; c < 3; ++c) cmyk.push_back(rgb[i + c]), c == 2 ? cmyk.push_back(255) : void();
  const std::string png = Png(rgb, PNG_FORMAT_RGB), jpeg = Jpeg(rgb, 3);
  struct Case {
    const char* what;
    const char* file;
    std::function<std::string()> make;
    const char* pictures;   // the description's "pictures" object
    const char* tag;        // stored type, empty when the slide must fail
    int width, height;      // stored size
    int orientation;        // how the source is to be turned, 0: no pixel check
    int channels;           // of the source compared against
    double psnr;            // at least
    const char* message;    // an error (no tag) or a warning, empty for none
    bool kept;              // stored byte for byte
  } kCases[] = {
      {"JPEG needing nothing", "plain.jpg", [&] { return jpeg; }, "{}", "JPG", kW, kH, 1, 3, 40, "", true},
      {"orientation 2", "o2.jpg", [&] { return WithOrientation(jpeg, 2); }, "{}", "JPG", kW, kH, 2, 3, 35, "", false},
      {"orientation 3", "o3.jpg", [&] { return WithOrientation(jpeg, 3); }, "{}", "JPG", kW, kH, 3, 3, 35, "", false},
      {"orientation 4", "o4.jpg", [&] { return WithOrientation(jpeg, 4); }, "{}", "JPG", kW, kH, 4, 3, 35, "", false},
      {"orientation 5", "o5.jpg", [&] { return WithOrientation(jpeg, 5); }, "{}", "JPG", kH, kW, 5, 3, 35, "", false},
      {"orientation 6", "o6.jpg", [&] { return WithOrientation(jpeg, 6); }, "{}", "JPG", kH, kW, 6, 3, 35, "", false},
      {"orientation 7", "o7.jpg", [&] { return WithOrientation(jpeg, 7); }, "{}", "JPG", kH, kW, 7, 3, 35, "", false},
      {"orientation 8", "o8.jpg", [&] { return WithOrientation(jpeg, 8); }, "{}", "JPG", kH, kW, 8, 3, 35, "", false},
      {"orientation 6, odd size", "o6odd.jpg", [&] { return WithOrientation(Jpeg(Source(3, 60, 44), 3, 95, 60, 44), 6); },
       "{}", "JPG", 44, 60, 0, 3, 0, "", false},
      {"PNG", "rgb.png", [&] { return png; }, R"({"quality": 95})", "JPG", kW, kH, 1, 3, 40, "", false},
      {"PNG with alpha", "alpha.png", [&] { return Png(rgba, PNG_FORMAT_RGBA); }, R"({"quality": 95})", "JPG", kW, kH,
       1, 4, 40, "", false},
      {"16-bit PNG", "deep.png", [&] { return Png(rgb, PNG_FORMAT_LINEAR_RGB); }, R"({"quality": 95})", "JPG", kW, kH,
       1, 3, 40, "", false},
      {"palette PNG", "palette.png", [&] { return Converted(dir, png, "palette.png", "-colors 256", "PNG8:"); }, "{}", "JPG",
       kW, kH, 1, 3, 30, "", false},
      {"PNG kept lossless", "exact.png", [&] { return png; }, R"({"lossless": true})", "BMP", kW, kH, 1, 3, 99, "", false},
      {"PNG named .jpg", "png.jpg", [&] { return png; }, R"({"quality": 95})", "JPG", kW, kH, 1, 3, 40, "", false},
      {"JPEG named .png", "jpeg.png", [&] { return jpeg; }, "{}", "JPG", kW, kH, 1, 3, 40, "", true},
      {"PNG scaled down", "big.png", [&] { return png; }, R"({"maxSize": "32x32", "quality": 95})", "JPG", 32, 24, 0, 3,
       0, "", false},
      {"lossless WebP", "l.webp", [&] { return Converted(dir, png, "l.webp", "-define webp:lossless=true"); },
       R"({"quality": 95})", "JPG", kW, kH, 1, 3, 40, "", false},
      {"HEIC", "p.heic", [&] { return Converted(dir, png, "p.heic", "-quality 95"); }, R"({"quality": 95})", "JPG", kW,
       kH, 1, 3, 30, "", false},
      {"AVIF", "p.avif", [&] { return Converted(dir, png, "p.avif", "-quality 95"); }, R"({"quality": 95})", "JPG", kW,
       kH, 1, 3, 30, "", false},
      {"TIFF", "p.tif", [&] { return Converted(dir, png, "p.tif", "-compress lzw"); }, R"({"quality": 95})", "JPG", kW,
       kH, 1, 3, 40, "", false},
      {"TIFF turned", "t6.tif", [&] { return Converted(dir, png, "t6.tif", "-orient RightTop"); }, R"({"quality": 95})",
       "JPG", kH, kW, 6, 3, 40, "", false},
      {"GIF", "p.gif", [&] { return Converted(dir, png, "p.gif", ""); }, "{}", "JPG", kW, kH, 1, 3, 25, "", false},
      {"CMYK JPEG", "cmyk.jpg", [&] { return Jpeg(cmyk, 4); }, "{}", "JPG", kW, kH, 0, 3, 0, "", true},
      {"CMYK JPEG scaled", "cmyk2.jpg", [&] { return Jpeg(cmyk, 4); }, R"({"maxSize": "32x32"})", "JPG", 32, 24, 0, 3,
       0, "", false},
      {"truncated JPEG", "cut.jpg", [&] { return jpeg.substr(0, (jpeg.find("\xFF\xDA") + jpeg.size()) / 2); }, "{}", "JPG", kW, kH, 0, 3, 0,
       "cut.jpg: truncated JPEG: the picture ends after ", true},
      {"corrupt PNG", "bad.png", [&] { return png.substr(0, 40) + std::string(200, 'x'); }, "{}", "", 0, 0, 0, 3, 0,
       "cannot read the picture bad.png: damaged PNG", false},
      {"not a picture", "notes.jpg", [] { return std::string("just text"); }, "{}", "", 0, 0, 0, 3, 0,
       "cannot read the picture notes.jpg: not a picture in a format pack reads", false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    std::string bytes = c.make();
    if (bytes.empty()) {
      std::printf("[ SKIPPED  ] %s: no encoder here\n", c.what);
      continue;
    }
    test::WriteFile(dir.File(c.file), bytes);
    std::string description = dir.File("show.json");
    test::WriteFile(description, std::string(R"({"pictures": )") + c.pictures + R"(, "slides": [{"picture": ")" +
                                     c.file + R"("}]})");
    testing::internal::CaptureStderr();
    tools::DescriptionRead read = tools::ReadShowDescription(description);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    std::string problems = tools::FormatProblems(description, read.problems);
    if (*c.message) EXPECT_NE(problems.find(c.message), std::string::npos) << problems;
    else EXPECT_EQ(problems, "");
    if (!*c.tag) {
      EXPECT_EQ(read.document, nullptr);
      continue;
    }
    ASSERT_NE(read.document, nullptr) << problems;
    const CDiapoObject& slide = *read.document->slides.at(0);
    EXPECT_EQ(slide.pictureFormat, c.tag);
    EXPECT_EQ(tools::PictureFormatTag(slide.pictureFileName), c.tag);
    EXPECT_EQ(int(slide.pictureWidth), c.width);
    EXPECT_EQ(int(slide.pictureHeight), c.height);
    std::string stored(reinterpret_cast<const char*>(slide.pictureData.data()), slide.pictureSize);
    EXPECT_EQ(stored == bytes, c.kept);
    if (!c.orientation) continue;
    PictureRead decoded = PictureReaderFor(c.tag)->read(
        {reinterpret_cast<const uint8_t*>(stored.data()), stored.size()});
    RgbImage got;
    ASSERT_TRUE(DIBToRgb(decoded.picture, got));
    double psnr = Psnr(got, Expected(c.channels == 4 ? rgba : rgb, c.channels, c.orientation));
    EXPECT_GE(psnr, c.psnr);
  }
}

}  // namespace
}  // namespace pellora
