#include <gtest/gtest.h>

#include <filesystem>

#include "image/cdib.h"
#include "image/picture_readers.h"
#include "tests/support/picture_files.h"
#include "tests/support/test_support.h"

namespace pellora {
namespace {

std::string SmallBitmap() {
  test::BitmapFile f;
  f.width = 3;
  f.height = 2;
  f.bits = 8;
  f.palette = {{255, 0, 0}, {0, 0, 255}};
  f.clrUsed = 2;
  f.pixels = test::BitmapRows(3, 2, 8, [](int x, int) { return x % 2; });
  return f.Bytes();
}

std::string SmallJpeg(const test::TempDir& dir) {
  std::string path = dir.File("source.jpg");
  EXPECT_TRUE(test::WriteJpeg(path, 8, 4, std::vector<uint8_t>(8 * 4 * 3, 128), 3));
  return test::ReadFile(path);
}

TEST(PictureReaders, ChosenByTheLastThreeLettersAndRecognisedByTheFirstBytes) {
  const struct {
    const char* typeName;
    const PictureReader* reader;
  } kNames[] = {{"photo.bmp", &kBitmapReader}, {"x.rle", &kBitmapReader}, {"x.DIB", &kBitmapReader},
                {"PHOTO.JpG", &kJpegReader},   {"JPG", &kJpegReader},     {"PCX", nullptr},
                {"a.gif", nullptr},            {"x.pcd", nullptr},        {"x.tga", nullptr},
                {"x.tif", nullptr},            {"photo.jpeg", nullptr},   {"x.tiff", nullptr},
                {"pg", nullptr},               {"", nullptr}};
  for (const auto& c : kNames) EXPECT_EQ(PictureReaderFor(c.typeName), c.reader) << c.typeName;

  test::TempDir dir;
  auto bytes = [](const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); };
  EXPECT_EQ(RecognisePicture(bytes(SmallBitmap())), &kBitmapReader);
  EXPECT_EQ(RecognisePicture(bytes(SmallJpeg(dir))), &kJpegReader);
  EXPECT_EQ(RecognisePicture(bytes("GIF89a")), nullptr);
  EXPECT_EQ(RecognisePicture({}), nullptr);
}

TEST(PictureReaders, SayWhyThereIsNoPicture) {
  test::TempDir dir;
  std::string jpeg = SmallJpeg(dir);
  test::BitmapFile compressed;
  compressed.bits = 24;
  compressed.compression = 5;
  compressed.pixels = std::string(4, '\0');
  test::BitmapFile sixteen;
  sixteen.bits = 16;
  sixteen.pixels = std::string(4, '\0');
  const struct {
    const char* what;
    const PictureReader& reader;
    std::string bytes;
    std::string reason;
  } kCases[] = {
      {"text as a bitmap", kBitmapReader, "hello", "not a BMP picture"},
      {"a bitmap's headers cut", kBitmapReader, SmallBitmap().substr(0, 20), "truncated BMP"},
      {"a JPEG compression", kBitmapReader, compressed.Bytes(), "unsupported BMP compression 5"},
      {"16 bits", kBitmapReader, sixteen.Bytes(), "unsupported BMP of 16 bits"},
      {"text as a JPEG", kJpegReader, "hello", "not a JPEG picture"},
      {"nothing", kJpegReader, "", "truncated JPEG"},
      {"a JPEG's header cut", kJpegReader, jpeg.substr(0, 100), "truncated JPEG"},
  };
  for (const auto& c : kCases) {
    testing::internal::CaptureStderr();
    PictureRead read = c.reader.read({reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size()});
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << c.what;  // the library's messages are kept
    EXPECT_FALSE(read.picture) << c.what;
    EXPECT_EQ(read.reason, c.reason) << c.what;
  }
  EXPECT_EQ(ReadPictureFile(kJpegReader, dir.File("missing.jpg")).reason, "cannot be read");
}

TEST(PictureLoading, DecoderChosenByTheFileName) {
  test::TempDir dir;
  std::string jpeg = SmallJpeg(dir);
  for (const char* name : {"PHOTO.jpg", "photo.JPG"}) {
    test::WriteFile(dir.File(name), jpeg);
    CDIB picture;
    picture.LoadFile(dir.File(name));
    ASSERT_TRUE(picture.m_hDIB) << name;
    EXPECT_EQ(DIBBitCount(picture.m_hDIB.data()), 24);
  }
  test::WriteFile(dir.File("photo.jpeg"), jpeg);
  CDIB unknown;
  unknown.LoadFile(dir.File("photo.jpeg"));
  EXPECT_FALSE(unknown.m_hDIB);

  for (const char* name : {"a.bmp", "a.DIB", "a.rle"}) {
    test::WriteFile(dir.File(name), SmallBitmap());
    CDIB picture;
    picture.LoadFile(dir.File(name));
    ASSERT_TRUE(picture.m_hDIB) << name;
    EXPECT_EQ(DIBColorCount(picture.m_hDIB), 2);
    EXPECT_EQ(picture.m_palette.Entries().size(), 2u);
  }
  for (const char* name : {"a.pcx", "a.gif", "a.pcd", "a.tga", "a.tif"}) {
    test::WriteFile(dir.File(name), SmallBitmap());
    CDIB picture;
    picture.LoadFile(dir.File(name));
    EXPECT_FALSE(picture.m_hDIB) << name;
  }
}

TEST(PictureLoading, TypeNameWinsOverTheFileName) {
  test::TempDir dir;
  test::WriteFile(dir.File("dia1F2E.tmp"), SmallJpeg(dir));
  CDIB picture;
  picture.LoadFile(dir.File("dia1F2E.tmp"), "JPG");
  EXPECT_TRUE(picture.m_hDIB);
  picture.LoadFile(dir.File("dia1F2E.tmp"), "BMP");  // not a bitmap: nothing, and the old picture is gone
  EXPECT_FALSE(picture.m_hDIB);
  test::WriteFile(dir.File("picture.jpg"), SmallBitmap());
  picture.LoadFile(dir.File("picture.jpg"), "bmp");
  EXPECT_TRUE(picture.m_hDIB);
  picture.LoadFile(dir.File("picture.jpg"), "GIF");
  EXPECT_FALSE(picture.m_hDIB);
}

TEST(PictureLoading, MissingFilesAndFoldersLoadNothing) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.path() / "folder.bmp");
  CDIB picture;
  test::WriteFile(dir.File("a.bmp"), SmallBitmap());
  picture.LoadFile(dir.File("a.bmp"));
  ASSERT_TRUE(picture.m_hDIB);
  picture.LoadFile(dir.File("folder.bmp"));
  EXPECT_FALSE(picture.m_hDIB);
  picture.LoadFile(dir.File("missing.bmp"));
  EXPECT_FALSE(picture.m_hDIB);
  picture.LoadFile("");
  EXPECT_FALSE(picture.m_hDIB);
}

}  // namespace
}  // namespace pellora
