#include <gtest/gtest.h>

#include <filesystem>

#include "image/cdib.h"
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

TEST(PictureLoading, TypeByTheLastThreeLetters) {
  EXPECT_EQ(PictureTypeOf("photo.bmp"), PICTURE_BMP);
  EXPECT_EQ(PictureTypeOf("PCX"), PICTURE_PCX);
  EXPECT_EQ(PictureTypeOf("a.gif"), PICTURE_GIF);
  EXPECT_EQ(PictureTypeOf("PHOTO.JpG"), PICTURE_JPG);
  EXPECT_EQ(PictureTypeOf("x.rle"), PICTURE_RLE);
  EXPECT_EQ(PictureTypeOf("x.DIB"), PICTURE_DIB);
  EXPECT_EQ(PictureTypeOf("x.pcd"), PICTURE_PCD);
  EXPECT_EQ(PictureTypeOf("x.tga"), PICTURE_TGA);
  EXPECT_EQ(PictureTypeOf("x.tif"), PICTURE_TIF);
  EXPECT_EQ(PictureTypeOf("photo.jpeg"), PICTURE_UNKNOWN);
  EXPECT_EQ(PictureTypeOf("x.tiff"), PICTURE_UNKNOWN);
  EXPECT_EQ(PictureTypeOf("pg"), PICTURE_UNKNOWN);
  EXPECT_EQ(PictureTypeOf(""), PICTURE_UNKNOWN);
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
