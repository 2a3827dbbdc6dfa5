#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "image/dib_rgb.h"
#include "image/jpeg_reader.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "tests/support/picture_files.h"
#include "tests/support/test_support.h"

namespace pellora {
namespace {

// Samples of a test picture: colour bands that JPEG keeps well.
std::vector<uint8_t> Bands(int width, int height) {
  std::vector<uint8_t> rgb;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      rgb.push_back(uint8_t(y < height / 2 ? 230 : 20));
      rgb.push_back(uint8_t(x * 255 / std::max(1, width - 1)));
      rgb.push_back(uint8_t(y < height / 2 ? 30 : 220));
    }
  return rgb;
}

// A PNM file (P5 grey or P6 colour, maxval 255, comments allowed) as RGB rows.
bool ParsePnm(const std::string& bytes, RgbImage& image) {
  size_t pos = 0;
  auto token = [&]() {
    for (;;) {
      while (pos < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[pos]))) ++pos;
      if (pos < bytes.size() && bytes[pos] == '#') {
        while (pos < bytes.size() && bytes[pos] != '\n') ++pos;
        continue;
      }
      break;
    }
    size_t start = pos;
    while (pos < bytes.size() && !std::isspace(static_cast<unsigned char>(bytes[pos]))) ++pos;
    return bytes.substr(start, pos - start);
  };
  std::string magic = token();
  image.width = std::atoi(token().c_str());
  image.height = std::atoi(token().c_str());
  if ((magic != "P5" && magic != "P6") || token() != "255" || image.width <= 0 || image.height <= 0) return false;
  size_t start = pos + 1;
  size_t pixels = size_t(image.width) * size_t(image.height);
  size_t channels = magic == "P6" ? 3 : 1;
  if (bytes.size() < start + pixels * channels) return false;
  image.rgb.resize(pixels * 3);
  for (size_t i = 0; i < pixels; ++i)
    for (size_t c = 0; c < 3; ++c) image.rgb[i * 3 + c] = uint8_t(bytes[start + i * channels + (channels == 3 ? c : 0)]);
  return true;
}

int MaxDifference(const RgbImage& a, const RgbImage& b) {
  if (a.width != b.width || a.height != b.height) return 256;
  int worst = 0;
  for (size_t i = 0; i < a.rgb.size(); ++i) worst = std::max(worst, std::abs(int(a.rgb[i]) - int(b.rgb[i])));
  return worst;
}

bool HaveDjpeg() { return std::filesystem::exists("/usr/bin/djpeg"); }

// djpeg's decoding of a file, when it gives one.
bool Djpeg(const std::string& path, RgbImage& image) {
  test::RunResult r = test::Run("/usr/bin/djpeg -ppm '" + path + "'");
  return !r.out.empty() && ParsePnm(r.out, image);
}

RgbImage Decode(const std::string& path) {
  RgbImage image;
  HDIB dib = ReadJpegFile(path);
  if (dib) {
    EXPECT_TRUE(DIBToRgb(dib, image));
  }
  return image;
}

TEST(JpegReader, TopLineBecomesTheLastStoredRow) {
  test::TempDir dir;
  std::string path = dir.File("bands.jpg");
  ASSERT_TRUE(test::WriteJpeg(path, 32, 16, Bands(32, 16), 3, 95));
  HDIB dib = ReadJpegFile(path);
  ASSERT_TRUE(dib);
  BITMAPINFOHEADER h;
  std::memcpy(&h, dib.data(), sizeof h);
  EXPECT_EQ(h.biWidth, 32);
  EXPECT_EQ(h.biHeight, 16);
  EXPECT_EQ(h.biBitCount, 24);
  const uint8_t* bits = dib.data() + 40;
  const uint8_t* lastRow = bits + 15 * 96;  // the top of the picture: red, little blue
  EXPECT_NEAR(lastRow[2], 230, 12);
  EXPECT_NEAR(lastRow[0], 30, 12);
  const uint8_t* firstRow = bits;  // the bottom: blue
  EXPECT_NEAR(firstRow[2], 20, 12);
  EXPECT_NEAR(firstRow[0], 220, 12);
}

TEST(JpegReader, MatchesTheLibrarysOwnDecoder) {
  if (!HaveDjpeg()) GTEST_SKIP() << "no djpeg";
  test::TempDir dir;
  for (bool progressive : {false, true}) {
    std::string path = dir.File(progressive ? "p.jpg" : "b.jpg");
    ASSERT_TRUE(test::WriteJpeg(path, 45, 29, Bands(45, 29), 3, 75, progressive));
    RgbImage ours = Decode(path), reference;
    ASSERT_TRUE(Djpeg(path, reference));
    EXPECT_LE(MaxDifference(ours, reference), 1) << progressive;
  }
}

TEST(JpegReader, GreyscaleFillsAllThreeBytes) {
  test::TempDir dir;
  std::string path = dir.File("grey.jpg");
  std::vector<uint8_t> grey;
  for (int i = 0; i < 24 * 8; ++i) grey.push_back(uint8_t(i));
  ASSERT_TRUE(test::WriteJpeg(path, 24, 8, grey, 1));
  HDIB dib = ReadJpegFile(path);
  ASSERT_TRUE(dib);
  const uint8_t* bits = dib.data() + 40;
  bool varied = false;
  for (int i = 0; i < 24 * 8; ++i) {
    EXPECT_EQ(bits[3 * i], bits[3 * i + 1]);
    EXPECT_EQ(bits[3 * i], bits[3 * i + 2]);
    varied = varied || bits[3 * i] != bits[0];
  }
  EXPECT_TRUE(varied);
}

TEST(JpegReader, RowPaddingStaysZero) {
  test::TempDir dir;
  std::string path = dir.File("narrow.jpg");
  std::vector<uint8_t> white(3 * 3 * 5, 255);
  ASSERT_TRUE(test::WriteJpeg(path, 3, 5, white, 3));
  HDIB dib = ReadJpegFile(path);
  ASSERT_TRUE(dib);
  ASSERT_EQ(dib.size(), 40u + 12 * 5);
  for (int y = 0; y < 5; ++y) {
    const uint8_t* row = dib.data() + 40 + 12 * y;
    EXPECT_GT(row[8], 240);
    EXPECT_EQ(row[9] | row[10] | row[11], 0);
  }
}

TEST(JpegReader, AdobeCmykDecodesToItsTrueColours) {
  test::TempDir dir;
  std::string path = dir.File("cmyk.jpg");
  // Three 8-pixel-wide patches: red, green, dark blue; inks stored inverted.
  const uint8_t inks[3][4] = {{0, 255, 255, 0}, {255, 0, 255, 0}, {255, 255, 0, 128}};
  std::vector<uint8_t> samples;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 24; ++x)
      for (int c = 0; c < 4; ++c) samples.push_back(uint8_t(255 - inks[x / 8][c]));
  ASSERT_TRUE(test::WriteJpeg(path, 24, 16, samples, 4, 95));
  RgbImage image = Decode(path);
  ASSERT_EQ(image.width, 24);
  const uint8_t* red = image.Pixel(3, 8);
  const uint8_t* green = image.Pixel(11, 8);
  const uint8_t* blue = image.Pixel(19, 8);
  EXPECT_GT(red[0], 240);
  EXPECT_LT(red[1] + red[2], 20);
  EXPECT_GT(green[1], 240);
  EXPECT_LT(green[0] + green[2], 20);
  EXPECT_NEAR(blue[2], 127, 8);
  EXPECT_LT(blue[0] + blue[1], 16);
}

TEST(JpegReader, TruncatedFileDecodesAsFarAsItsDataGoes) {
  test::TempDir dir;
  std::string path = dir.File("whole.jpg");
  std::vector<uint8_t> texture = Bands(128, 128);
  for (size_t i = 0; i < texture.size(); ++i) texture[i] = uint8_t(texture[i] ^ (i * 37 % 61));
  ASSERT_TRUE(test::WriteJpeg(path, 128, 128, texture, 3, 95));
  std::string bytes = test::ReadFile(path);
  std::string cut = dir.File("cut.jpg");
  test::WriteFile(cut, bytes.substr(0, bytes.size() / 2));
  HDIB dib = ReadJpegFile(cut);
  ASSERT_TRUE(dib);
  // The reader says so, and the library's warning is not printed.
  std::string half = bytes.substr(0, bytes.size() / 2);
  testing::internal::CaptureStderr();
  EXPECT_EQ(ReadJpeg({reinterpret_cast<const uint8_t*>(half.data()), half.size()}).warning.rfind("truncated JPEG: the picture ends after ", 0), 0u);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  RgbImage whole = Decode(path), part = Decode(cut);
  // The top rows came from the data present and match the whole picture.
  ASSERT_EQ(part.rgb.size(), whole.rgb.size());
  EXPECT_EQ(std::memcmp(whole.rgb.data(), part.rgb.data(), 128 * 3 * 16), 0);
}

TEST(JpegReader, NotJpegGivesNothingAndNoMessageBox) {
  test::TempDir dir;
  auto owned = std::make_unique<HeadlessBackend>(HeadlessBackend::Options{});
  HeadlessBackend* backend = owned.get();
  InstallBackend(std::move(owned));
  std::string text = dir.File("text.jpg");
  test::WriteFile(text, "This is a letter, not a picture.\n");
  std::string empty = dir.File("empty.jpg");
  test::WriteFile(empty, "");
  std::string header = dir.File("header.jpg");
  test::WriteFile(header, "\xFF\xD8\xFF");
  EXPECT_FALSE(ReadJpegFile(text));
  EXPECT_FALSE(ReadJpegFile(empty));
  EXPECT_FALSE(ReadJpegFile(header));
  EXPECT_FALSE(ReadJpegFile(dir.File("missing.jpg")));
  EXPECT_TRUE(backend->MessageBoxes().empty());
  InstallBackend(nullptr);
}

TEST(JpegReader, RefusesAPictureFarLargerThanItsFile) {
  test::TempDir dir;
  std::string path = dir.File("small.jpg");
  ASSERT_TRUE(test::WriteJpeg(path, 16, 16, Bands(16, 16), 3));
  std::string bytes = test::ReadFile(path);
  // Rewrite the frame header's height and width to 60000 x 60000.
  size_t sof = bytes.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  bytes[sof + 5] = bytes[sof + 7] = char(0xEA);
  bytes[sof + 6] = bytes[sof + 8] = char(0x60);
  std::string big = dir.File("big.jpg");
  test::WriteFile(big, bytes);
  EXPECT_FALSE(ReadJpegFile(big));
}

// The corpus: every file djpeg decodes decodes the same here; CMYK files,
// which djpeg does not turn into RGB, match ImageMagick's colours.
TEST(JpegReaderCorpus, MatchesReferenceDecoders) {
  std::filesystem::path corpus = test::CorpusDir();
  if (corpus.empty()) GTEST_SKIP() << "no corpus";
  if (!HaveDjpeg()) GTEST_SKIP() << "no djpeg";
  const std::vector<std::string> cmyk = {"jpg-cmyk-1.jpg", "jpg-cmyk-2.jpg", "pil_sample_cmyk.jpg"};
  int compared = 0, cmykCompared = 0;
  for (const char* folder : {"libjpeg-turbo", "libjpeg-turbo-history", "photos", "features"})
    for (const auto& entry : std::filesystem::directory_iterator(corpus / "jpeg" / folder)) {
      if (entry.path().extension() != ".jpg") continue;
      std::string path = entry.path().string(), name = entry.path().filename().string();
      RgbImage ours = Decode(path), reference;
      if (std::find(cmyk.begin(), cmyk.end(), name) != cmyk.end()) {
        ASSERT_FALSE(ours.rgb.empty()) << name;
        test::RunResult r = test::Run("/usr/bin/convert '" + path + "' -depth 8 ppm:-");
        if (r.status != 0 || !ParsePnm(r.out, reference)) continue;
        EXPECT_LE(MaxDifference(ours, reference), 1) << name;
        ++cmykCompared;
        continue;
      }
      if (!Djpeg(path, reference)) continue;
      EXPECT_LE(MaxDifference(ours, reference), 1) << name;
      ++compared;
    }
  EXPECT_GE(compared, 40);
  EXPECT_EQ(cmykCompared, 3);
}

TEST(JpegReaderCorpus, BadFilesNeverCrash) {
  std::filesystem::path corpus = test::CorpusDir();
  if (corpus.empty()) GTEST_SKIP() << "no corpus";
  for (const auto& entry : std::filesystem::directory_iterator(corpus / "jpeg" / "bad")) {
    HDIB dib = ReadJpegFile(entry.path().string());
    if (dib) {
      RgbImage image;
      EXPECT_TRUE(DIBToRgb(dib, image)) << entry.path();
    }
  }
  for (const char* truncated : {"flower_truncated_half.jpg", "tower_truncated_half.jpg", "truncated_jpeg.jpg"})
    EXPECT_TRUE(ReadJpegFile((corpus / "jpeg" / "bad" / truncated).string())) << truncated;
}

}  // namespace
}  // namespace pellora
