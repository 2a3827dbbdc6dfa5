#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "document/diapo_doc.h"
#include "image/colour_reduction.h"
#include "image/dib_pixels.h"
#include "platform/backend.h"
#include "platform/draw/screen.h"
#include "platform/headless/headless_backend.h"
#include "tests/support/picture_files.h"
#include "tests/support/test_support.h"

namespace pellora {
namespace {

using test::Rgb;

// A headless screen (640 x 480 unless a test asks otherwise) at the given
// depth, with temporary files going to a scratch folder the tests look into.
class SlideRendering : public ::testing::Test {
 protected:
  void SetUp() override { UseScreen(24); }
  void TearDown() override {
    SetScreenDepthOverride(0);
    InstallBackend(nullptr);
  }
  void UseScreen(int depth, Size size = {640, 480}) {
    HeadlessBackend::Options options;
    options.screen = size;
    auto owned = std::make_unique<HeadlessBackend>(options);
    backend = owned.get();
    InstallBackend(std::move(owned));
    SetScreenDepthOverride(depth);
    document.tempDirectory = temp.path().string() + "/";
  }
  bool TempEmpty() const { return std::filesystem::is_empty(temp.path()); }

  // A bitmap file of one colour.
  static std::string SolidBitmap(int width, int height, Rgb colour) {
    test::BitmapFile f;
    f.width = width;
    f.height = height;
    f.bits = 24;
    f.pixels = test::BitmapRows(width, height, 24, {}, [=](int, int) { return colour; });
    return f.Bytes();
  }
  static void Embed(CDiapoObject& slide, const std::string& bytes, const std::string& format) {
    slide.pictureData = GlobalBlock::Allocate(bytes.size(), false);
    std::copy(bytes.begin(), bytes.end(), slide.pictureData.data());
    slide.pictureSize = uint32_t(bytes.size());
    slide.pictureFormat = format;
  }
  static Rgb At(const HDIB& frame, int x, int y) {
    int32_t rgb[3];
    DibPixels::Open(frame)->RowRgb(y, x, 1, rgb);
    return {uint8_t(rgb[0]), uint8_t(rgb[1]), uint8_t(rgb[2])};
  }
  // The bounding box, in stored rows, of the pixels that are not the
  // background colour; right stays -1 when there are none.
  static Rect Drawn(const HDIB& frame, Rgb background) {
    std::optional<DibPixels> p = DibPixels::Open(frame);
    Rect r{1 << 30, 1 << 30, -1, -1};
    for (int y = 0; y < p->Height(); ++y)
      for (int x = 0; x < p->Width(); ++x)
        if (!(At(frame, x, y) == background))
          r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1), std::max(r.bottom, y + 1)};
    return r;
  }
  HDIB BlackFrame() {
    document.backgroundKind = BACKGROUND_COLOUR;
    document.plainColour = RGB(0, 0, 0);
    return document.MakeBackground();
  }

  test::TempDir temp;
  test::TempDir files;
  HeadlessBackend* backend = nullptr;
  CDiapoDoc document;
};

TEST_F(SlideRendering, PlainColourAndMissingPictureBackgrounds) {
  HDIB frame = BlackFrame();
  ASSERT_TRUE(frame);
  EXPECT_EQ(DIBWidth(frame.data()), 640);
  EXPECT_EQ(DIBHeight(frame.data()), 480);
  EXPECT_EQ(DIBBitCount(frame.data()), 24);
  EXPECT_EQ(Drawn(frame, {0, 0, 0}).right, -1);
  EXPECT_EQ(backend->Cursor(), CursorKind::Arrow);  // the wait cursor is put back

  document.backgroundKind = BACKGROUND_PICTURE;
  EXPECT_FALSE(document.MakeBackground());
  document.backgroundPicture.Attach(CreateDIB(8, 8, 24));
  document.backgroundPlacement = 3;
  EXPECT_FALSE(document.MakeBackground());
  document.backgroundPlacement = PLACE_TILE;
  EXPECT_TRUE(document.MakeBackground());
  document.backgroundKind = 3;
  EXPECT_FALSE(document.MakeBackground());
}

TEST_F(SlideRendering, BackgroundFollowsTheDisplayDepth) {
  UseScreen(8, {64, 48});
  document.backgroundKind = BACKGROUND_GRADIENT;
  HDIB frame = document.MakeBackground();
  ASSERT_TRUE(frame);
  EXPECT_EQ(DIBBitCount(frame.data()), 8);
  EXPECT_EQ(std::memcmp(frame.data() + 40, PaletteTable(PALETTE_332), 1024), 0);
  // A picture of exactly the screen's size is reduced without scaling.
  document.backgroundKind = BACKGROUND_PICTURE;
  document.backgroundPlacement = PLACE_STRETCH;
  HDIB picture = CreateDIB(64, 48, 24);
  for (size_t i = 40; i < picture.size(); ++i) picture.data()[i] = uint8_t(i * 7);
  HDIB reduced = ReduceDIB(picture, PALETTE_332);
  document.backgroundPicture.Attach(std::move(picture));
  frame = document.MakeBackground();
  ASSERT_TRUE(frame);
  EXPECT_EQ(std::memcmp(frame.data(), reduced.data(), reduced.size()), 0);
  UseScreen(4, {64, 48});
  frame = document.MakeBackground();
  ASSERT_TRUE(frame);
  EXPECT_EQ(std::memcmp(frame.data() + 40, PaletteTable(PALETTE_111), 1024), 0);
}

TEST_F(SlideRendering, EmbeddedBytesWinOverTheNamedFile) {
  std::string named = files.File("green.bmp");
  test::WriteFile(named, SolidBitmap(10, 10, {0, 255, 0}));
  CDiapoObject slide;
  slide.pictureFileName = named;
  Embed(slide, SolidBitmap(10, 10, {255, 0, 0}), "BMP");
  HDIB frame = BlackFrame();
  ASSERT_TRUE(slide.RenderPicture(frame, &document));
  EXPECT_EQ(At(frame, 315, 235), (Rgb{255, 0, 0}));
  EXPECT_EQ(Drawn(frame, {0, 0, 0}), (Rect{315, 235, 325, 245}));
  EXPECT_TRUE(TempEmpty());
}

TEST_F(SlideRendering, NamedFileIsUsedWithoutEmbeddedBytes) {
  std::string named = files.File("green.bmp");
  test::WriteFile(named, SolidBitmap(10, 10, {0, 255, 0}));
  CDiapoObject slide;
  slide.pictureFileName = named;
  slide.pictureFormat = "BMP";
  HDIB frame = BlackFrame();
  ASSERT_TRUE(slide.RenderPicture(frame, &document));
  EXPECT_EQ(At(frame, 320, 240), (Rgb{0, 255, 0}));
  slide.pictureFileName = files.File("missing.bmp");
  EXPECT_FALSE(slide.RenderPicture(frame, &document));
  EXPECT_FALSE(slide.RenderPicture(frame, nullptr));
}

TEST_F(SlideRendering, WindowsNamesAreConverted) {
  std::filesystem::create_directory(files.path() / "sub");
  test::WriteFile(files.File("sub/caf\xC3\xA9.bmp"), SolidBitmap(4, 4, {0, 0, 255}));
  CDiapoObject slide;
  slide.pictureFileName = files.path().string() + "\\sub\\caf\xE9.bmp";  // Windows-1252, Windows separators
  HDIB frame = BlackFrame();
  ASSERT_TRUE(slide.RenderPicture(frame, &document));
  EXPECT_EQ(At(frame, 320, 240), (Rgb{0, 0, 255}));
}

TEST_F(SlideRendering, EmbeddedJpegDecodesByItsFormatTag) {
  std::string path = files.File("p.jpg");
  ASSERT_TRUE(test::WriteJpeg(path, 16, 16, std::vector<uint8_t>(16 * 16 * 3, 200), 3, 95));
  CDiapoObject slide;
  Embed(slide, test::ReadFile(path), "JPG");
  HDIB frame = BlackFrame();
  ASSERT_TRUE(slide.RenderPicture(frame, &document));
  EXPECT_NEAR(At(frame, 320, 240).r, 200, 3);
  EXPECT_TRUE(TempEmpty());
  // Without its tag the temporary file's own name decides: nothing loads.
  slide.pictureFormat.clear();
  EXPECT_FALSE(slide.RenderPicture(frame, &document));
  EXPECT_TRUE(TempEmpty());
}

TEST_F(SlideRendering, TemporaryFileIsDeletedOnEveryPath) {
  CDiapoObject slide;
  HDIB frame = BlackFrame();
  Embed(slide, SolidBitmap(4, 4, {1, 2, 3}), "GIF");
  EXPECT_FALSE(slide.RenderPicture(frame, &document));
  Embed(slide, "not a bitmap", "BMP");
  EXPECT_FALSE(slide.RenderPicture(frame, &document));
  Embed(slide, SolidBitmap(4, 4, {1, 2, 3}), "BMP");
  slide.pictureFit = 9;
  EXPECT_FALSE(slide.RenderPicture(frame, &document));
  EXPECT_TRUE(TempEmpty());
  EXPECT_EQ(Drawn(frame, {0, 0, 0}).right, -1);
  // A temporary folder that cannot take the file: the picture is decoded
  // from the package's bytes.
  slide.pictureFit = FIT_NONE;
  document.tempDirectory = files.path().string() + "/absent/";
  EXPECT_TRUE(slide.RenderPicture(frame, &document));
  EXPECT_NE(Drawn(frame, {0, 0, 0}).right, -1);
}

TEST_F(SlideRendering, WithoutATemporaryDirectoryTheSystemOneIsUsed) {
  document.tempDirectory.clear();
  bool rendered = false;
  HDIB frame = BlackFrame();
  {
    test::ScopedTempFolder folder{temp.path().string()};
    CDiapoObject slide;
    Embed(slide, SolidBitmap(4, 4, {9, 9, 9}), "BMP");
    rendered = slide.RenderPicture(frame, &document);
  }
  EXPECT_TRUE(rendered);
  EXPECT_EQ(At(frame, 320, 240), (Rgb{9, 9, 9}));
  EXPECT_TRUE(TempEmpty());
}

TEST_F(SlideRendering, MarginFitAndStretch) {
  std::string path = files.File("wide.jpg");
  ASSERT_TRUE(test::WriteJpeg(path, 1384, 957, std::vector<uint8_t>(size_t(1384) * 957 * 3, 255), 3, 50));
  document.pictureMargin = 20;
  CDiapoObject slide;
  slide.pictureFileName = path;
  slide.pictureFit = FIT_KEEP_RATIO;
  HDIB frame = BlackFrame();
  ASSERT_TRUE(slide.RenderPicture(frame, &document));
  Rect drawn = Drawn(frame, {0, 0, 0});
  EXPECT_EQ(drawn.Width(), 600);
  EXPECT_EQ(drawn.Height(), 414);
  EXPECT_EQ(drawn.left, 20);
  EXPECT_EQ(drawn.top, 33);
  slide.pictureFit = FIT_STRETCH;
  frame = BlackFrame();
  ASSERT_TRUE(slide.RenderPicture(frame, &document));
  EXPECT_EQ(Drawn(frame, {0, 0, 0}), (Rect{20, 20, 620, 460}));
}

TEST_F(SlideRendering, PaletteDisplaysGetDitheredPictures) {
  for (int depth : {8, 4}) {
    UseScreen(depth, {64, 48});
    CDiapoObject slide;
    Embed(slide, SolidBitmap(20, 20, {100, 150, 200}), "BMP");
    slide.pictureFit = FIT_STRETCH;
    HDIB frame = BlackFrame();
    ASSERT_EQ(DIBBitCount(frame.data()), 8);
    ASSERT_TRUE(slide.RenderPicture(frame, &document));
    std::optional<DibRows> rows = DibRows::Open(frame);
    bool drawn = false;
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 64; ++x) {
        uint8_t index = rows->Row(y)[x];
        drawn = drawn || index != 0;
        if (depth == 4) {
          EXPECT_EQ(index % 32, 0);
        }
      }
    EXPECT_TRUE(drawn);
  }
}

}  // namespace
}  // namespace pellora
