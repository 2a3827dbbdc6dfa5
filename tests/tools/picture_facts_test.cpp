#include <gtest/gtest.h>

#include "document/diapo_object.h"
#include "image/cdib.h"
#include "image/dib_pixels.h"
#include "tests/support/picture_files.h"
#include "tests/support/test_support.h"
#include "tools/lib/picture_facts.h"

namespace pellora {
namespace {

using test::Rgb;

Rgb At(const HDIB& dib, int x, int y) {
  int32_t rgb[3];
  DibPixels::Open(dib)->RowRgb(y, x, 1, rgb);
  return {uint8_t(rgb[0]), uint8_t(rgb[1]), uint8_t(rgb[2])};
}

std::string RedBitmap(int width, int height) {
  test::BitmapFile f;
  f.width = width;
  f.height = height;
  f.bits = 4;
  f.palette = std::vector<Rgb>(16, Rgb{255, 0, 0});
  f.pixels = test::BitmapRows(width, height, 4, [](int, int) { return 3; });
  return f.Bytes();
}

TEST(PictureFacts, ThumbnailFitsInsideCentredOnBlack) {
  test::TempDir dir;
  test::WriteFile(dir.File("wide.bmp"), RedBitmap(200, 100));
  CDIB picture;
  std::string error;
  ASSERT_TRUE(tools::LoadPictureFile(dir.File("wide.bmp"), picture, error)) << error;
  HDIB thumb = tools::MakeThumbnail(picture.m_hDIB, 84, 58);
  ASSERT_TRUE(thumb);
  EXPECT_EQ(DIBBitCount(thumb.data()), 24);
  // 200 x 100 into 84 x 58: 84 x 42, rows 8 to 49.
  for (int y : {0, 7, 50, 57}) EXPECT_EQ(At(thumb, 40, y), (Rgb{0, 0, 0})) << y;
  for (int y : {8, 30, 49}) EXPECT_EQ(At(thumb, 0, y), (Rgb{255, 0, 0})) << y;
  EXPECT_EQ(At(thumb, 83, 49), (Rgb{255, 0, 0}));
}

TEST(PictureFacts, SlideGetsSizeDepthAndBothThumbnails) {
  test::TempDir dir;
  test::WriteFile(dir.File("tall.bmp"), RedBitmap(30, 90));
  CDiapoObject slide;
  std::string error;
  ASSERT_TRUE(tools::DescribeSlidePicture(dir.File("tall.bmp"), slide, error)) << error;
  EXPECT_EQ(slide.pictureWidth, 30u);
  EXPECT_EQ(slide.pictureHeight, 90u);
  EXPECT_EQ(slide.pictureDepth, 4);
  EXPECT_EQ(slide.thumbnailSize[0], 84u);
  EXPECT_EQ(slide.thumbnailSize[1], 58u);
  EXPECT_EQ(slide.smallThumbnailSize[0], 67u);
  EXPECT_EQ(slide.smallThumbnailSize[1], 46u);
  ASSERT_TRUE(slide.thumbnail.m_hDIB && slide.smallThumbnail.m_hDIB);
  EXPECT_EQ(DIBWidth(slide.smallThumbnail.m_hDIB.data()), 67);
  EXPECT_EQ(At(slide.smallThumbnail.m_hDIB, 33, 23), (Rgb{255, 0, 0}));
  EXPECT_EQ(At(slide.smallThumbnail.m_hDIB, 5, 23), (Rgb{0, 0, 0}));

  std::vector<uint8_t> grey(16 * 8, 77);
  ASSERT_TRUE(test::WriteJpeg(dir.File("grey.jpeg"), 16, 8, grey, 1));
  ASSERT_TRUE(tools::DescribeSlidePicture(dir.File("grey.jpeg"), slide, error)) << error;
  EXPECT_EQ(slide.pictureDepth, 24);
  EXPECT_EQ(slide.pictureWidth, 16u);
}

TEST(PictureFacts, UndecodablePicturesAreReported) {
  test::TempDir dir;
  test::WriteFile(dir.File("a.gif"), RedBitmap(4, 4));
  test::WriteFile(dir.File("b.bmp"), "not a picture");
  CDiapoObject slide;
  CDIB picture;
  std::string error;
  EXPECT_FALSE(tools::DescribeSlidePicture(dir.File("a.gif"), slide, error));
  EXPECT_NE(error.find("a.gif"), std::string::npos);
  EXPECT_FALSE(tools::LoadBackgroundPicture(dir.File("b.bmp"), picture, error));
  EXPECT_FALSE(tools::LoadBackgroundPicture(dir.File("none.jpg"), picture, error));
  test::WriteFile(dir.File("c.bmp"), RedBitmap(4, 4));
  EXPECT_TRUE(tools::LoadBackgroundPicture(dir.File("c.bmp"), picture, error));
}

}  // namespace
}  // namespace pellora
