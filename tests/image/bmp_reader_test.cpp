#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "image/bmp_reader.h"
#include "image/dib_rgb.h"
#include "tests/support/picture_files.h"
#include "tests/support/test_support.h"

namespace pellora {
namespace {

using test::BitmapFile;
using test::BitmapRows;
using test::Rgb;

BITMAPINFOHEADER Header(const HDIB& dib) {
  BITMAPINFOHEADER h;
  std::memcpy(&h, dib.data(), sizeof h);
  return h;
}

HDIB ReadBytes(const std::string& bytes) {
  return ReadBitmap({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}).picture;
}

Rgb PixelOf(const HDIB& dib, int x, int yFromTop) {
  RgbImage image;
  EXPECT_TRUE(DIBToRgb(dib, image));
  const uint8_t* p = image.Pixel(x, yFromTop);
  return {p[0], p[1], p[2]};
}

std::vector<Rgb> SixteenColours() {
  std::vector<Rgb> palette;
  for (int i = 0; i < 16; ++i) palette.push_back({uint8_t(i * 16), uint8_t(255 - i * 16), uint8_t(i * 7)});
  return palette;
}

std::vector<Rgb> GreyRamp(int n) {
  std::vector<Rgb> palette;
  for (int i = 0; i < n; ++i) palette.push_back({uint8_t(i), uint8_t(i), uint8_t(i)});
  return palette;
}

TEST(BitmapReader, RefusesFilesThatAreNotBitmaps) {
  test::TempDir dir;
  EXPECT_FALSE(ReadBytes("GIF89a not a bitmap at all, but long enough to hold headers"));
  EXPECT_FALSE(ReadBytes("BM"));
  EXPECT_FALSE(ReadBytes(""));
  EXPECT_FALSE(ReadBitmapFile(dir.File("missing.bmp")));
}

TEST(BitmapReader, CoreHeaderBecomesAFortyByteHeaderWithFourByteEntries) {
  BitmapFile f;
  f.core = true;
  f.width = 5;
  f.height = 3;
  f.bits = 4;
  f.palette = SixteenColours();
  f.pixels = BitmapRows(5, 3, 4, [](int x, int y) { return (x + 5 * y) % 16; });
  HDIB dib = ReadBytes(f.Bytes());
  ASSERT_TRUE(dib);
  BITMAPINFOHEADER h = Header(dib);
  EXPECT_EQ(h.biSize, 40u);
  EXPECT_EQ(h.biWidth, 5);
  EXPECT_EQ(h.biHeight, 3);
  EXPECT_EQ(h.biBitCount, 4);
  EXPECT_EQ(h.biClrUsed, 16u);
  auto* table = reinterpret_cast<const RGBQUAD*>(dib.data() + 40);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(table[i].rgbRed, f.palette[size_t(i)].r);
    EXPECT_EQ(table[i].rgbGreen, f.palette[size_t(i)].g);
    EXPECT_EQ(table[i].rgbBlue, f.palette[size_t(i)].b);
    EXPECT_EQ(table[i].rgbReserved, 0);
  }
  EXPECT_EQ(PixelOf(dib, 3, 2), f.palette[(3 + 10) % 16]);
  EXPECT_EQ(dib.size(), 40 + 64 + 4 * 3u);
}

TEST(BitmapReader, HeaderStatesColourCountAndImageSizeLeftAtZero) {
  BitmapFile f;
  f.width = 7;
  f.height = 2;
  f.bits = 8;
  f.palette = GreyRamp(256);
  f.pixels = BitmapRows(7, 2, 8, [](int x, int y) { return x * 30 + y; });
  HDIB dib = ReadBytes(f.Bytes());
  ASSERT_TRUE(dib);
  BITMAPINFOHEADER h = Header(dib);
  EXPECT_EQ(h.biClrUsed, 256u);
  EXPECT_EQ(h.biSizeImage, 8u * 2);
  EXPECT_EQ(h.biCompression, uint32_t(BI_RGB));
  EXPECT_EQ(PixelOf(dib, 4, 1), (Rgb{121, 121, 121}));
}

TEST(BitmapReader, ReadsOneAndTwentyFourBitPixels) {
  BitmapFile mono;
  mono.width = 19;
  mono.height = 3;
  mono.bits = 1;
  mono.palette = {{10, 20, 30}, {200, 210, 220}};
  mono.pixels = BitmapRows(19, 3, 1, [](int x, int y) { return (x * 3 + y) % 5 == 0; });
  HDIB dib = ReadBytes(mono.Bytes());
  ASSERT_TRUE(dib);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 19; ++x) EXPECT_EQ(PixelOf(dib, x, y), mono.palette[(x * 3 + y) % 5 == 0]) << x << "," << y;

  BitmapFile rgb;
  rgb.width = 3;
  rgb.height = 2;
  rgb.bits = 24;
  auto colour = [](int x, int y) { return Rgb{uint8_t(x * 80), uint8_t(y * 90), uint8_t(7 + x + y)}; };
  rgb.pixels = BitmapRows(3, 2, 24, {}, colour);
  dib = ReadBytes(rgb.Bytes());
  ASSERT_TRUE(dib);
  EXPECT_EQ(Header(dib).biClrUsed, 0u);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(PixelOf(dib, x, y), colour(x, y));
}

TEST(BitmapReader, PixelOffsetZeroOrBeyondThePalette) {
  BitmapFile f;
  f.width = 4;
  f.height = 2;
  f.bits = 8;
  f.palette = GreyRamp(4);
  f.clrUsed = 4;
  f.pixels = BitmapRows(4, 2, 8, [](int x, int) { return x; });
  f.zeroOffBits = true;
  HDIB dib = ReadBytes(f.Bytes());
  ASSERT_TRUE(dib);
  EXPECT_EQ(PixelOf(dib, 3, 0), (Rgb{3, 3, 3}));

  f.zeroOffBits = false;
  f.gap = 37;  // bytes of 0xEE between palette and pixels, skipped by the offset
  dib = ReadBytes(f.Bytes());
  ASSERT_TRUE(dib);
  EXPECT_EQ(PixelOf(dib, 2, 1), (Rgb{2, 2, 2}));
  EXPECT_EQ(Header(dib).biClrUsed, 4u);
}

TEST(BitmapReader, LongerWindowsHeadersAreSkippedToTheirPalette) {
  for (uint32_t size : {52u, 56u, 108u, 124u}) {
    BitmapFile f;
    f.headerSize = size;
    f.width = 2;
    f.height = 1;
    f.bits = 8;
    f.palette = {{255, 0, 0}, {0, 0, 255}};
    f.clrUsed = 2;
    f.pixels = BitmapRows(2, 1, 8, [](int x, int) { return 1 - x; });
    HDIB dib = ReadBytes(f.Bytes());
    ASSERT_TRUE(dib) << size;
    EXPECT_EQ(Header(dib).biSize, 40u);
    EXPECT_EQ(PixelOf(dib, 0, 0), (Rgb{0, 0, 255})) << size;
    EXPECT_EQ(PixelOf(dib, 1, 0), (Rgb{255, 0, 0})) << size;
  }
  BitmapFile odd;
  odd.headerSize = 66;
  odd.pixels = BitmapRows(1, 1, 24, {}, [](int, int) { return Rgb{}; });
  EXPECT_FALSE(ReadBytes(odd.Bytes()));
}

TEST(BitmapReader, TopDownRowsAreTurnedOver) {
  BitmapFile f;
  f.width = 2;
  f.height = 3;
  f.bits = 8;
  f.palette = GreyRamp(256);
  auto index = [](int x, int y) { return 10 * y + x; };
  f.pixels = BitmapRows(2, 3, 8, index, {}, true);
  std::string bytes = f.Bytes();
  int32_t negative = -3;
  std::memcpy(&bytes[22], &negative, 4);
  HDIB dib = ReadBytes(bytes);
  ASSERT_TRUE(dib);
  EXPECT_EQ(Header(dib).biHeight, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_EQ(PixelOf(dib, x, y).r, index(x, y));
}

TEST(BitmapReader, RefusesWhatNothingDownstreamDraws) {
  for (int bits : {16, 32, 2, 0, 64}) {
    BitmapFile f;
    f.width = 2;
    f.height = 2;
    f.bits = bits;
    f.pixels = std::string(16, '\x55');
    EXPECT_FALSE(ReadBytes(f.Bytes())) << bits;
  }
  BitmapFile rle4;
  rle4.width = 4;
  rle4.height = 1;
  rle4.bits = 4;
  rle4.palette = SixteenColours();
  rle4.compression = BI_RLE4;
  rle4.pixels = std::string("\x04\x12\x00\x01", 4);
  EXPECT_FALSE(ReadBytes(rle4.Bytes()));
  BitmapFile bitFields;
  bitFields.bits = 24;
  bitFields.compression = BI_BITFIELDS;
  bitFields.pixels = std::string(16, '\0');
  EXPECT_FALSE(ReadBytes(bitFields.Bytes()));
}

TEST(BitmapReader, RefusesSizesNoFileCouldBack) {
  auto withSize = [](int32_t width, int32_t height, int bits) {
    BitmapFile f;
    f.bits = bits;
    f.palette = bits <= 8 ? GreyRamp(1 << bits) : std::vector<Rgb>{};
    f.pixels = std::string(64, '\x11');
    std::string bytes = f.Bytes();
    std::memcpy(&bytes[18], &width, 4);
    std::memcpy(&bytes[22], &height, 4);
    return bytes;
  };
  EXPECT_FALSE(ReadBytes(withSize(0x7FFFFFFF, 0x7FFFFFFF, 24)));
  EXPECT_FALSE(ReadBytes(withSize(60000, 60000, 24)));
  EXPECT_FALSE(ReadBytes(withSize(-5, 4, 24)));
  EXPECT_FALSE(ReadBytes(withSize(4, 0, 24)));
  EXPECT_FALSE(ReadBytes(withSize(0, 4, 8)));
  EXPECT_FALSE(ReadBytes(withSize(4, INT32_MIN, 8)));
  // A picture of a few thousand pixels is allowed to be short of its data.
  EXPECT_TRUE(ReadBytes(withSize(300, 200, 24)));

  BitmapFile palette;
  palette.bits = 8;
  palette.clrUsed = 0x40000000;
  palette.pixels = std::string(4, '\0');
  EXPECT_FALSE(ReadBytes(palette.Bytes()));
}

TEST(BitmapReader, ShortPixelAreaStillYieldsABlock) {
  BitmapFile f;
  f.width = 4;
  f.height = 4;
  f.bits = 8;
  f.palette = GreyRamp(256);
  f.pixels = BitmapRows(4, 4, 8, [](int, int) { return 200; }).substr(0, 6);
  HDIB dib = ReadBytes(f.Bytes());
  ASSERT_TRUE(dib);
  EXPECT_EQ(PixelOf(dib, 1, 3), (Rgb{200, 200, 200}));  // bottom row, present
  EXPECT_EQ(PixelOf(dib, 1, 2), (Rgb{200, 200, 200}));  // bytes 4 and 5: two pixels of the second row
  EXPECT_EQ(PixelOf(dib, 2, 2), (Rgb{0, 0, 0}));
  EXPECT_EQ(PixelOf(dib, 0, 0), (Rgb{0, 0, 0}));
}

TEST(BitmapReader, PaletteLongerThanTheDepthKeepsWhatPixelsCanIndex) {
  BitmapFile f;
  f.width = 2;
  f.height = 1;
  f.bits = 8;
  f.palette = GreyRamp(256);
  for (int i = 0; i < 44; ++i) f.palette.push_back({1, 2, 3});
  f.clrUsed = 300;
  f.pixels = BitmapRows(2, 1, 8, [](int x, int) { return 255 - x; });
  HDIB dib = ReadBytes(f.Bytes());
  ASSERT_TRUE(dib);
  EXPECT_EQ(Header(dib).biClrUsed, 256u);
  EXPECT_EQ(PixelOf(dib, 1, 0), (Rgb{254, 254, 254}));

  BitmapFile rgb;
  rgb.width = 1;
  rgb.height = 1;
  rgb.palette = GreyRamp(3);
  rgb.clrUsed = 3;
  rgb.zeroOffBits = true;
  rgb.pixels = BitmapRows(1, 1, 24, {}, [](int, int) { return Rgb{9, 8, 7}; });
  dib = ReadBytes(rgb.Bytes());
  ASSERT_TRUE(dib);
  EXPECT_EQ(Header(dib).biClrUsed, 0u);
  EXPECT_EQ(PixelOf(dib, 0, 0), (Rgb{9, 8, 7}));
}

std::string Rle(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += char(uint8_t(b));
  return s;
}

TEST(BitmapReader, ExpandsEightBitRunLengthData) {
  BitmapFile f;
  f.width = 6;
  f.height = 4;
  f.bits = 8;
  f.palette = GreyRamp(256);
  f.compression = BI_RLE8;
  // Row 0: run of 3 x 7, literal of 3 (odd: one pad byte), end of line.
  // Row 1: delta right 2 up 1 -> row 2, column 2; run of 2 x 9; end of line.
  // Row 3: literal 4; end of bitmap.
  f.pixels = Rle({3, 7, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 2, 1, 2, 9, 0, 0, 0, 4, 10, 11, 12, 13, 0, 1});
  f.sizeImage = uint32_t(f.pixels.size());
  HDIB dib = ReadBytes(f.Bytes());
  ASSERT_TRUE(dib);
  BITMAPINFOHEADER h = Header(dib);
  EXPECT_EQ(h.biCompression, uint32_t(BI_RGB));
  EXPECT_EQ(h.biSizeImage, 8u * 4);
  const uint8_t* bits = dib.data() + 40 + 1024;
  const uint8_t expected[4][8] = {{7, 7, 7, 1, 2, 3, 0, 0},
                                  {0, 0, 0, 0, 0, 0, 0, 0},
                                  {0, 0, 9, 9, 0, 0, 0, 0},
                                  {10, 11, 12, 13, 0, 0, 0, 0}};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(bits[y * 8 + x], expected[y][x]) << x << "," << y;
}

TEST(BitmapReader, RunLengthRefusedTopDown) {
  BitmapFile f;
  f.width = 2;
  f.height = 2;
  f.bits = 8;
  f.palette = GreyRamp(256);
  f.compression = BI_RLE8;
  f.pixels = Rle({2, 5, 0, 0, 2, 6, 0, 1});
  std::string bytes = f.Bytes();
  int32_t negative = -2;
  std::memcpy(&bytes[22], &negative, 4);
  EXPECT_FALSE(ReadBytes(bytes));
}

// A destination with guard bytes on both sides; the decoder must touch
// only the area between them.
struct Guarded {
  std::vector<uint8_t> bytes;
  size_t area;
  explicit Guarded(size_t n) : bytes(n + 64, 0xCC), area(n) { std::fill_n(bytes.begin() + 32, n, 0); }
  uint8_t* Area() { return bytes.data() + 32; }
  bool GuardsIntact() const {
    for (size_t i = 0; i < 32; ++i)
      if (bytes[i] != 0xCC || bytes[32 + area + i] != 0xCC) return false;
    return true;
  }
};

TEST(BitmapReader, MalformedRunLengthStaysInsideBothBlocks) {
  BITMAPINFOHEADER h{};
  h.biWidth = 5;  // rows of 8
  h.biHeight = 2;
  const std::string streams[] = {
      Rle({255, 1, 255, 2}),                 // runs far past the end
      Rle({0, 2, 200, 200, 5, 5}),           // delta far past the end
      Rle({0, 2, 3, 1, 4, 4}),               // delta into the last row, run past it
      Rle({0, 255, 1, 2, 3}),                // literal longer than the stream
      Rle({0, 0, 0, 0, 0, 0, 9, 9}),         // end of line past the last row
      Rle({6, 1, 6, 2, 0, 0, 3, 3}),         // runs past the row end continue below
      Rle({4}),                              // half a pair
      Rle({0, 2, 1}),                        // half a delta
  };
  for (const std::string& s : streams) {
    Guarded out(16);
    std::vector<uint8_t> in(s.begin(), s.end());
    DecodeRLE8(h, out.Area(), out.area, in.data(), in.size());
    EXPECT_TRUE(out.GuardsIntact());
  }
  // The runs past the row end fill the next row, and the end of line then
  // moves to the row after the first.
  Guarded out(24);
  std::string s = Rle({10, 1, 0, 0, 2, 3});
  h.biHeight = 3;
  DecodeRLE8(h, out.Area(), out.area, reinterpret_cast<const uint8_t*>(s.data()), s.size());
  const uint8_t expected[24] = {1, 1, 1, 1, 1, 1, 1, 1, 3, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_TRUE(std::equal(expected, expected + 24, out.Area()));
}

// The corpus: good files against ImageMagick, bad and questionable files
// must merely come back as a block or nothing.
std::filesystem::path BmpCorpus() {
  std::filesystem::path dir = test::CorpusDir();
  return dir.empty() ? dir : dir / "bmp";
}

const char kReference[] = "/usr/bin/convert";

TEST(BitmapReaderCorpus, GoodFilesMatchTheReferenceDecoder) {
  std::filesystem::path dir = BmpCorpus();
  if (dir.empty()) GTEST_SKIP() << "no corpus";
  if (!std::filesystem::exists(kReference)) GTEST_SKIP() << "no ImageMagick";
  int compared = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir / "g")) {
    std::string path = entry.path().string();
    std::string name = entry.path().filename().string();
    HDIB dib = ReadBitmapFile(path);
    bool wanted = name.rfind("rgb16", 0) != 0 && name.rfind("rgb32", 0) != 0 && name != "pal4rle.bmp";
    if (!wanted) {
      EXPECT_FALSE(dib) << name << " has a depth or compression that is refused";
      continue;
    }
    ASSERT_TRUE(dib) << name;
    RgbImage image;
    ASSERT_TRUE(DIBToRgb(dib, image)) << name;
    test::RunResult ref = test::Run(std::string(kReference) + " '" + path + "' -depth 8 rgb:-");
    ASSERT_EQ(ref.status, 0) << name << ref.err;
    ASSERT_EQ(ref.out.size(), image.rgb.size()) << name;
    EXPECT_TRUE(std::equal(image.rgb.begin(), image.rgb.end(), reinterpret_cast<const uint8_t*>(ref.out.data())))
        << name;
    ++compared;
  }
  EXPECT_GE(compared, 17);
}

TEST(BitmapReaderCorpus, BadAndQuestionableFilesNeverCrash) {
  std::filesystem::path dir = BmpCorpus();
  if (dir.empty()) GTEST_SKIP() << "no corpus";
  for (const char* folder : {"b", "q"})
    for (const auto& entry : std::filesystem::directory_iterator(dir / folder)) {
      HDIB dib = ReadBitmapFile(entry.path().string());
      if (!dib) continue;
      RgbImage image;
      EXPECT_TRUE(DIBToRgb(dib, image)) << entry.path();
    }
  for (const char* refused : {"b/reallybig.bmp", "b/badpalettesize.bmp", "b/rletopdown.bmp",
                              "b/badwidth.bmp", "b/badheadersize.bmp"})
    EXPECT_FALSE(ReadBitmapFile((dir / refused).string())) << refused;
}

}  // namespace
}  // namespace pellora
