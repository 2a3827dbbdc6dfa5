#include <gtest/gtest.h>

#include <random>
#include <set>

#include "image/colour_reduction.h"
#include "image/composition.h"
#include "platform/base/mul_div.h"
#include "tests/image/dib_builders.h"

namespace pellora {
namespace {

using test::PixelAt;
using test::Rgb;

// A picture whose every pixel says where it is: red = x, green = y, blue 200.
HDIB Coded(int w, int h) {
  return test::Dib24(w, h, [](int x, int y) { return Rgb{uint8_t(x), uint8_t(y), 200}; });
}

HDIB Noise(int w, int h, unsigned seed) {
  std::mt19937 random(seed);
  return test::Dib24(w, h, [&](int, int) { return Rgb{uint8_t(random()), uint8_t(random()), uint8_t(random())}; });
}

const Rgb kBlack{0, 0, 0};
const Rgb kGrey{50, 60, 70};

// The rectangle of a screen whose pixels differ from the background colour.
struct Drawn {
  int left = 1 << 30, bottom = 1 << 30, right = -1, top = -1;
};
Drawn DrawnArea(const HDIB& screen, Rgb background) {
  Drawn d;
  for (int y = 0; y < test::BlockHeight(screen); ++y)
    for (int x = 0; x < test::BlockWidth(screen); ++x)
      if (!(PixelAt(screen, x, y) == background)) {
        d.left = std::min(d.left, x);
        d.bottom = std::min(d.bottom, y);
        d.right = std::max(d.right, x);
        d.top = std::max(d.top, y);
      }
  return d;
}

TEST(Composition, BlendColorSteps) {
  EXPECT_EQ(BlendColor(5, 0xFF123456, RGB(0, 0, 0), 1), 0x123456u);
  EXPECT_EQ(BlendColor(0, RGB(255, 255, 255), RGB(0, 0, 0), 0), RGB(255, 255, 255));
  EXPECT_EQ(BlendColor(0, RGB(10, 20, 30), RGB(110, 220, 130), 3), RGB(10, 20, 30));
  EXPECT_EQ(BlendColor(2, RGB(10, 20, 30), RGB(110, 220, 130), 3), RGB(110, 220, 130));
  EXPECT_EQ(BlendColor(1, RGB(10, 20, 30), RGB(110, 221, 130), 3), RGB(60, 120, 80));
  EXPECT_EQ(BlendColor(1, RGB(0, 0, 0), RGB(255, 255, 255), 4), RGB(85, 85, 85));
}

TEST(Composition, CentredPictureStartsAtHalfTheDifference) {
  HDIB screen = CenterDIB24(Coded(200, 100), 640, 480);
  ASSERT_TRUE(screen);
  EXPECT_EQ(PixelAt(screen, 220, 190), (Rgb{0, 0, 200}));
  EXPECT_EQ(PixelAt(screen, 419, 289), (Rgb{199, 99, 200}));
  EXPECT_EQ(PixelAt(screen, 219, 190), kBlack);
  EXPECT_EQ(PixelAt(screen, 220, 290), kBlack);
  // Larger than the screen: its bottom-left part shows.
  HDIB small = CenterDIB24(Coded(30, 20), 10, 8);
  ASSERT_TRUE(small);
  EXPECT_EQ(PixelAt(small, 0, 0), (Rgb{0, 0, 200}));
  EXPECT_EQ(PixelAt(small, 9, 7), (Rgb{9, 7, 200}));
}

TEST(Composition, CentredEightBitIsTheDitheredPictureAtItsPlace) {
  HDIB picture = Noise(20, 10, 4);
  HDIB screen = CenterDIB8(picture, 64, 48, PALETTE_332);
  HDIB reduced = ReduceDIB(picture, PALETTE_332);
  ASSERT_TRUE(screen && reduced);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) EXPECT_EQ(test::IndexAt(screen, 22 + x, 19 + y), test::IndexAt(reduced, x, y));
  EXPECT_EQ(test::IndexAt(screen, 21, 19), 0);
}

TEST(Composition, TilesStartAtTheBottomLeftCorner) {
  HDIB tiled = TileDIB24(Coded(3, 2), 8, 5);
  ASSERT_TRUE(tiled);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(PixelAt(tiled, x, y), (Rgb{uint8_t(x % 3), uint8_t(y % 2), 200}));
  HDIB picture = Noise(3, 2, 9);
  HDIB tiled8 = TileDIB8(picture, 8, 5, PALETTE_111);
  HDIB reduced = ReduceDIB(picture, PALETTE_111);
  ASSERT_TRUE(tiled8 && reduced);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(test::IndexAt(tiled8, x, y), test::IndexAt(reduced, x % 3, y % 2));
}

TEST(Composition, StretchAveragesRunsWithinARow) {
  HDIB picture = test::Dib24(4, 1, [](int x, int) { return Rgb{uint8_t(x * 10), 0, 0}; });
  HDIB half = StretchDIB24(picture, 2, 3);
  ASSERT_TRUE(half);
  EXPECT_EQ(PixelAt(half, 0, 2), (Rgb{5, 0, 0}));   // columns 0 and 1
  EXPECT_EQ(PixelAt(half, 1, 0), (Rgb{20, 0, 0}));  // column 2: the run's end is clamped to 3
  HDIB twice = StretchDIB24(Coded(2, 2), 4, 4);
  ASSERT_TRUE(twice);
  EXPECT_EQ(PixelAt(twice, 0, 0), (Rgb{0, 0, 200}));
  EXPECT_EQ(PixelAt(twice, 1, 1), (Rgb{1, 1, 200}));  // MulDiv(1, 2, 4) rounds up
  EXPECT_EQ(PixelAt(twice, 2, 3), (Rgb{1, 1, 200}));
}

TEST(Composition, GradientsRunFromTheFirstColour) {
  COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
  HDIB vertical = GradientDIB24(white, black, 4, 6, 0);
  ASSERT_TRUE(vertical);
  EXPECT_EQ(PixelAt(vertical, 2, 5), (Rgb{255, 255, 255}));  // top row
  EXPECT_EQ(PixelAt(vertical, 2, 0), kBlack);                // bottom row
  EXPECT_EQ(PixelAt(vertical, 0, 3), (Rgb{153, 153, 153}));
  HDIB horizontal = GradientDIB24(white, black, 6, 3, 1);
  ASSERT_TRUE(horizontal);
  EXPECT_EQ(PixelAt(horizontal, 0, 1), (Rgb{255, 255, 255}));
  EXPECT_EQ(PixelAt(horizontal, 5, 1), kBlack);
  EXPECT_EQ(PixelAt(horizontal, 2, 0), PixelAt(horizontal, 2, 2));

  HDIB dithered = GradientDIB8(white, black, 16, 16, 0, PALETTE_332);
  ASSERT_TRUE(dithered);
  EXPECT_EQ(test::IndexAt(dithered, 3, 15), 0xFF);
  EXPECT_EQ(test::IndexAt(dithered, 3, 0), 0);
  HDIB across = GradientDIB8(white, black, 16, 16, 1, PALETTE_332);
  ASSERT_TRUE(across);
  EXPECT_EQ(test::IndexAt(across, 0, 0), 0xFF);
  EXPECT_EQ(test::IndexAt(across, 15, 15), 0);
}

TEST(Composition, SolidColours) {
  HDIB solid = SolidDIB24(RGB(1, 2, 3), 5, 3);
  ASSERT_TRUE(solid);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(PixelAt(solid, x, y), (Rgb{1, 2, 3}));
  HDIB red = SolidDIB8(RGB(255, 0, 0), 9, 9, PALETTE_332);
  ASSERT_TRUE(red);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) EXPECT_EQ(test::IndexAt(red, x, y), 0xE0);
  HDIB between = SolidDIB8(RGB(100, 100, 100), 9, 9, PALETTE_332);
  ASSERT_TRUE(between);
  std::set<int> indices;
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) indices.insert(test::IndexAt(between, x, y));
  EXPECT_GT(indices.size(), 1u);
  HDIB black = SolidBackground(RGB(0, 0, 0), 7, 5, 8);
  ASSERT_TRUE(black);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) EXPECT_EQ(test::IndexAt(black, x, y), 0);
}

TEST(Composition, FilledScreensHaveZeroRowPadding) {
  // 5 pixels of 3 bytes leave one padding byte in each 16-byte row.
  HDIB built[] = {SolidDIB24(RGB(255, 255, 255), 5, 3), GradientDIB24(RGB(255, 255, 255), 0, 5, 3, 0),
                  GradientDIB24(RGB(255, 255, 255), RGB(255, 255, 255), 5, 3, 1)};
  for (HDIB& b : built) {
    ASSERT_EQ(b.size(), 40u + 16 * 3);
    for (int y = 0; y < 3; ++y) EXPECT_EQ(b.data()[40 + 16 * y + 15], 0);
    EXPECT_EQ(b.data()[40 + 16 * 2 + 14], 255);  // the top row is white in all three
  }
}

TEST(Composition, NaturalSizePlacementCutsAtTheEdges) {
  HDIB screen = test::SolidDib24(640, 4, kGrey);
  ASSERT_TRUE(PlacePicture24(screen, Coded(641, 2)));
  EXPECT_EQ(PixelAt(screen, 0, 1), (Rgb{0, 0, 200}));   // (640 - 641) / 2 is 0
  EXPECT_EQ(PixelAt(screen, 639, 2), (Rgb{127, 1, 200}));  // column 639 (red wraps at 256)
  EXPECT_EQ(PixelAt(screen, 0, 0), kGrey);
  EXPECT_EQ(PixelAt(screen, 0, 3), kGrey);

  HDIB tall = test::SolidDib24(6, 4, kGrey);
  ASSERT_TRUE(PlacePicture24(tall, Coded(2, 10)));
  EXPECT_EQ(PixelAt(tall, 2, 0), (Rgb{0, 3, 200}));  // (4 - 10) / 2 = -3
  EXPECT_EQ(PixelAt(tall, 3, 3), (Rgb{1, 6, 200}));
}

TEST(Composition, NaturalSizeEightBitDithersTheVisibleRowsOverTheFullWidth) {
  HDIB picture = Noise(12, 10, 5);
  HDIB screen = SolidDIB8(RGB(0, 0, 0), 8, 4, PALETTE_332);
  ASSERT_TRUE(PlacePicture8(screen, picture, PALETTE_332));
  // Visible: picture rows 3..6 and columns 2..9 ((8 - 12) / 2 = -2, (4 - 10) / 2 = -3).
  HDIB rows = test::Dib24(12, 4, [&](int x, int y) { return PixelAt(picture, x, y + 3); });
  HDIB reduced = ReduceDIB(rows, PALETTE_332);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(test::IndexAt(screen, x, y), test::IndexAt(reduced, x + 2, y));
}

TEST(Composition, FitKeepsProportionsInsideTheMargins) {
  HDIB screen = test::SolidDib24(640, 480, kGrey);
  ASSERT_TRUE(FitPicture24(screen, test::SolidDib24(400, 300, {255, 0, 0}), 20, false));
  Drawn d = DrawnArea(screen, kGrey);
  EXPECT_EQ(d.left, 27);
  EXPECT_EQ(d.bottom, 20);
  EXPECT_EQ(d.right - d.left + 1, 586);
  EXPECT_EQ(d.top - d.bottom + 1, 440);

  HDIB photo = test::SolidDib24(1384, 957, {0, 255, 0});
  HDIB kept = test::SolidDib24(640, 480, kGrey);
  ASSERT_TRUE(FitPicture24(kept, photo, 20, false));
  d = DrawnArea(kept, kGrey);
  EXPECT_EQ(d.right - d.left + 1, 600);
  EXPECT_EQ(d.top - d.bottom + 1, 414);
  EXPECT_EQ(d.left, 20);
  EXPECT_EQ(d.bottom, 33);
  HDIB filled = test::SolidDib24(640, 480, kGrey);
  ASSERT_TRUE(FitPicture24(filled, photo, 20, true));
  d = DrawnArea(filled, kGrey);
  EXPECT_EQ(d.right - d.left + 1, 600);
  EXPECT_EQ(d.top - d.bottom + 1, 440);
}

TEST(Composition, FitSamplesTheNearestPixel) {
  HDIB screen = test::SolidDib24(8, 8, kGrey);
  ASSERT_TRUE(FitPicture24(screen, Coded(4, 2), 0, true));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      int sx = std::min(MulDiv(x, 4, 8), 3), sy = std::min(MulDiv(y, 2, 8), 1);
      EXPECT_EQ(PixelAt(screen, x, y), (Rgb{uint8_t(sx), uint8_t(sy), 200}));
    }
  // A picture of the screen's size fitted without margin is the picture.
  HDIB picture = Noise(16, 12, 2);
  HDIB screen8 = SolidDIB8(RGB(0, 0, 0), 16, 12, PALETTE_332);
  HDIB reduced = ReduceDIB(picture, PALETTE_332);
  ASSERT_TRUE(FitPicture8(screen8, picture, 0, false, PALETTE_332));
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 16; ++x) EXPECT_EQ(test::IndexAt(screen8, x, y), test::IndexAt(reduced, x, y));
}

TEST(Composition, NothingToDrawNeverCrashes) {
  for (int margin : {240, 300, 65535, -70000}) {
    HDIB screen = test::SolidDib24(640, 480, kGrey);
    EXPECT_TRUE(FitPicture24(screen, Coded(50, 50), margin, false)) << margin;
    if (margin > 0) {
      EXPECT_EQ(DrawnArea(screen, kGrey).right, -1) << margin;
    }
    HDIB screen8 = SolidDIB8(RGB(0, 0, 0), 64, 48, PALETTE_332);
    EXPECT_TRUE(FitPicture8(screen8, Coded(50, 50), margin, true, PALETTE_332));
  }
  HDIB empty = CreateDIB(0, 5, 24);
  HDIB screen = test::SolidDib24(20, 10, kGrey);
  EXPECT_TRUE(FitPicture24(screen, empty, 0, false));
  EXPECT_TRUE(PlacePicture24(screen, empty));
  HDIB screen8 = SolidDIB8(RGB(0, 0, 0), 20, 10, PALETTE_111);
  EXPECT_TRUE(PlacePicture8(screen8, empty, PALETTE_111));
  EXPECT_TRUE(FitPicture8(screen8, empty, 0, true, PALETTE_111));
  EXPECT_EQ(DrawnArea(screen, kGrey).right, -1);
  HDIB built[] = {StretchDIB24(empty, 8, 8), CenterDIB24(empty, 8, 8), TileDIB24(empty, 8, 8),
                  CenterDIB8(empty, 8, 8, PALETTE_332), TileDIB8(empty, 8, 8, PALETTE_332),
                  ScaleReduceDIB(empty, 8, 8, PALETTE_332)};
  for (const HDIB& b : built) {
    ASSERT_TRUE(b);
    EXPECT_EQ(PixelAt(b, 7, 7), kBlack);
  }
  // A one-pixel-high picture fitted into a wide area may round to nothing.
  HDIB thin = test::SolidDib24(1000, 1, {9, 9, 9});
  EXPECT_TRUE(FitPicture24(screen, thin, 0, false));
}

TEST(Composition, RefusesBlocksItCannotDrawInto) {
  HDIB screen8 = SolidDIB8(RGB(0, 0, 0), 16, 16, PALETTE_332);
  HDIB screen24 = test::SolidDib24(16, 16, kGrey);
  HDIB picture = Coded(4, 4);
  EXPECT_FALSE(PlacePicture24(screen8, picture));
  EXPECT_FALSE(FitPicture24(screen8, picture, 0, false));
  EXPECT_FALSE(PlacePicture8(screen24, picture, PALETTE_332));
  EXPECT_FALSE(FitPicture8(screen24, picture, 0, false, PALETTE_332));
  HDIB none;
  EXPECT_FALSE(PlacePicture24(none, picture));
  EXPECT_FALSE(PlacePicture24(screen24, none));
  EXPECT_FALSE(StretchDIB24(none, 4, 4));
  EXPECT_FALSE(SolidDIB24(RGB(1, 1, 1), 0, 4));
  EXPECT_FALSE(GradientDIB8(0, 0, 4, -1, 0, PALETTE_332));
}

TEST(Composition, ChoiceFollowsTheDisplayDepth) {
  HDIB picture = Noise(32, 24, 8);
  HDIB exact = PictureBackground(picture, BackgroundMode::Stretch, 32, 24, 8);
  HDIB reduced = ReduceDIB(picture, PALETTE_332);
  ASSERT_TRUE(exact && reduced);
  EXPECT_EQ(std::memcmp(exact.data(), reduced.data(), exact.size()), 0);
  HDIB scaled = PictureBackground(picture, BackgroundMode::Stretch, 40, 30, 8);
  HDIB scaleReduced = ScaleReduceDIB(picture, 40, 30, PALETTE_332);
  ASSERT_TRUE(scaled && scaleReduced);
  EXPECT_EQ(std::memcmp(scaled.data(), scaleReduced.data(), scaled.size()), 0);
  EXPECT_EQ(test::BlockBits(PictureBackground(picture, BackgroundMode::Tile, 40, 30, 24)), 24);
  EXPECT_EQ(test::BlockBits(PictureBackground(picture, BackgroundMode::Centre, 40, 30, 4)), 8);
  EXPECT_EQ(test::BlockBits(GradientBackground(0, RGB(0, 0, 128), 40, 30, 0, 16)), 24);

  HDIB screen = GradientBackground(0, RGB(0, 0, 128), 40, 30, 0, 4);
  ASSERT_TRUE(PlaceSlidePicture(screen, picture, PictureFit::KeepRatio, 2, 4));
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) EXPECT_EQ(test::IndexAt(screen, x, y) % 32, 0);
  HDIB screen24 = SolidBackground(RGB(5, 5, 5), 40, 30, 24);
  EXPECT_TRUE(PlaceSlidePicture(screen24, picture, PictureFit::Natural, 0, 24));
  EXPECT_EQ(PixelAt(screen24, 4, 3), PixelAt(picture, 0, 0));
  EXPECT_FALSE(PlaceSlidePicture(screen24, picture, PictureFit::Fill, 0, 8));
}

}  // namespace
}  // namespace pellora
