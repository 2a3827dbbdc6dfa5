// Putting bitmap pixels on a device context: every depth, bottom-up rows,
// 1:1 and stretched paths, clipping, palettes on 8- and 4-bit displays,
// and blocks that do not hold what their header promises.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>
#include <algorithm>
#include <memory>

#include "image/dib.h"
#include "image/paint_dib.h"
#include "platform/backend.h"
#include "platform/draw/dc.h"
#include "platform/draw/dib_drawing.h"
#include "platform/draw/palette.h"
#include "platform/draw/screen.h"
#include "platform/headless/headless_backend.h"
#include "platform/ui/window.h"
#include "platform/ui/window_dc.h"
#include "tests/support/test_support.h"

namespace pellora {
namespace {

// A visible window of the given client size on a fresh headless screen,
// filled with a marker colour.
class Canvas {
 public:
  static constexpr uint32_t kMarker = 0x00ABCDEF;
  explicit Canvas(int w, int h) {
    test::ResetPlatform();
    InstallBackend(std::make_unique<HeadlessBackend>(HeadlessBackend::Options{}));
    WindowSpec spec;
    spec.style = WS_POPUP;
    spec.rect = {0, 0, w, h};
    window.CreateFromSpec(spec);
    window.ShowWindow(true);
    window.GetSurface()->Fill(window.GetSurface()->Bounds(), kMarker);
  }
  ~Canvas() {
    window.DestroyWindow();
    ReleaseBackend();
    test::ResetPlatform();
  }
  uint32_t At(int x, int y) { return window.GetSurface()->Pixel(x, y); }
  CWnd window;
};

// A bitmap whose pixel at picture (x, y) (y from the top) has colour table
// index or colour Value(x, y).
uint32_t Value(int x, int y, int bitCount) {
  switch (bitCount) {
    case 1: return uint32_t((x + y) & 1);
    case 4: return uint32_t((x * 3 + y) & 15);
    case 8: return uint32_t((x * 17 + y * 5) & 255);
    default: return (uint32_t((x * 40) & 255) << 16) | (uint32_t((y * 30) & 255) << 8) | uint32_t((x + y) & 255);
  }
}

// Colour-table entry i: black first and white last, as a screen palette.
uint32_t TableColour(uint32_t i) {
  if (i == 0) return 0;
  if (i == 255) return 0xFFFFFF;
  return (uint32_t(uint8_t(i * 7)) << 16) | (uint32_t(uint8_t(255 - i)) << 8) | i;
}

HDIB TestDib(int w, int h, int bitCount) {
  HDIB dib = CreateDIB(uint32_t(w), h, uint16_t(bitCount));
  auto* table = reinterpret_cast<RGBQUAD*>(dib.data() + 40);
  if (bitCount <= 8)
    for (uint32_t i = 0; i < (1u << bitCount); ++i) {
      uint32_t c = TableColour(i);
      table[i] = {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16), 0};
    }
  uint8_t* bits = FindDIBBits(dib.data());
  size_t stride = DIBStride(uint32_t(bitCount), uint32_t(w));
  for (int y = 0; y < h; ++y) {
    uint8_t* row = bits + size_t(h - 1 - y) * stride;  // bottom row first
    for (int x = 0; x < w; ++x) {
      uint32_t v = Value(x, y, bitCount);
      switch (bitCount) {
        case 1: row[x / 8] |= uint8_t(v << (7 - x % 8)); break;
        case 4: row[x / 2] |= uint8_t(x % 2 ? v : v << 4); break;
        case 8: row[x] = uint8_t(v); break;
        default: row[x * 3] = uint8_t(v); row[x * 3 + 1] = uint8_t(v >> 8); row[x * 3 + 2] = uint8_t(v >> 16);
      }
    }
  }
  return dib;
}

uint32_t Expected(int x, int y, int bitCount) {
  uint32_t v = Value(x, y, bitCount);
  return bitCount > 8 ? v : TableColour(v);
}

TEST(PaintDib, DrawsEveryDepthOneToOneTheRightWayUp) {
  for (int bitCount : {1, 4, 8, 24}) {
    SCOPED_TRACE(bitCount);
    Canvas canvas(40, 30);
    HDIB dib = TestDib(13, 9, bitCount);
    CClientDC dc(&canvas.window);
    EXPECT_EQ(PaintDIB(dc, {5, 4, 18, 13}, dib, {0, 0, 13, 9}, nullptr), 9);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) {
        bool inside = x >= 5 && x < 18 && y >= 4 && y < 13;
        ASSERT_EQ(canvas.At(x, y), inside ? Expected(x - 5, y - 4, bitCount) : Canvas::kMarker) << x << "," << y;
      }
  }
}

TEST(PaintDib, SourceRectanglesCountFromTheTopOfThePicture) {
  // The top half of a 100-row picture: rows 0..49 as the viewer sees them.
  Canvas canvas(20, 60);
  HDIB dib = TestDib(10, 100, 24);
  CClientDC dc(&canvas.window);
  PaintDIB(dc, {0, 0, 10, 50}, dib, {0, 0, 10, 50}, nullptr);
  EXPECT_EQ(canvas.At(3, 0), Expected(3, 0, 24));
  EXPECT_EQ(canvas.At(3, 49), Expected(3, 49, 24));
  EXPECT_EQ(canvas.At(3, 50), Canvas::kMarker);
  // A part in the middle lands where the destination says.
  PaintDIB(dc, {12, 10, 16, 14}, dib, {2, 60, 6, 64}, nullptr);
  EXPECT_EQ(canvas.At(12, 10), Expected(2, 60, 24));
  EXPECT_EQ(canvas.At(15, 13), Expected(5, 63, 24));
}

TEST(PaintDib, ADestinationOfAnotherSizeStretchesByNearestPixel) {
  Canvas canvas(40, 40);
  HDIB dib = TestDib(4, 3, 8);
  CClientDC dc(&canvas.window);
  // One pixel wider than the source takes the stretching path.
  PaintDIB(dc, {0, 0, 5, 3}, dib, {0, 0, 4, 3}, nullptr);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(canvas.At(x, 1), Expected(x * 4 / 5, 1, 8)) << x;
  // Twice the size: each pixel becomes a 2 x 2 block.
  PaintDIB(dc, {10, 10, 18, 16}, dib, {0, 0, 4, 3}, nullptr);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(canvas.At(10 + x, 10 + y), Expected(x / 2, y / 2, 8));
  // Shrinking a part of the picture.
  HDIB big = TestDib(20, 20, 24);
  PaintDIB(dc, {30, 30, 35, 35}, big, {10, 10, 20, 20}, nullptr);
  EXPECT_EQ(canvas.At(30, 30), Expected(10, 10, 24));
  EXPECT_EQ(canvas.At(34, 34), Expected(18, 18, 24));
}

TEST(PaintDib, DrawingIsClippedToTheWindowAndThePicture) {
  Canvas canvas(10, 10);
  HDIB dib = TestDib(8, 8, 24);
  CClientDC dc(&canvas.window);
  PaintDIB(dc, {-3, -2, 5, 6}, dib, {0, 0, 8, 8}, nullptr);
  EXPECT_EQ(canvas.At(0, 0), Expected(3, 2, 24));
  PaintDIB(dc, {6, 6, 14, 14}, dib, {0, 0, 8, 8}, nullptr);
  EXPECT_EQ(canvas.At(9, 9), Expected(3, 3, 24));
  // A source partly outside the picture draws only what exists.
  canvas.window.GetSurface()->Fill({0, 0, 10, 10}, Canvas::kMarker);
  PaintDIB(dc, {0, 0, 6, 6}, dib, {5, 5, 11, 11}, nullptr);
  EXPECT_EQ(canvas.At(2, 2), Expected(7, 7, 24));
  EXPECT_EQ(canvas.At(3, 3), Canvas::kMarker);
}

TEST(PaintDib, BadBlocksDrawNothing) {
  Canvas canvas(10, 10);
  CClientDC dc(&canvas.window);
  EXPECT_EQ(PaintDIB(dc, {0, 0, 5, 5}, HDIB(), {0, 0, 5, 5}, nullptr), 0);
  // Header only, promising rows it does not have.
  HDIB dib = TestDib(8, 8, 24);
  HDIB cut = GlobalBlock::Allocate(40 + 24 * 3, false);
  std::memcpy(cut.data(), dib.data(), cut.size());
  PaintDIB(dc, {0, 0, 8, 8}, cut, {0, 0, 8, 8}, nullptr);
  EXPECT_EQ(canvas.At(0, 7), Expected(0, 7, 24));  // the one bottom row that is there
  EXPECT_EQ(canvas.At(0, 0), Canvas::kMarker);
  // Unknown depth, compression, negative sizes, a colour table past the end.
  auto header = [&](auto change) {
    HDIB copy = dib.Clone();
    BITMAPINFOHEADER h;
    std::memcpy(&h, copy.data(), 40);
    change(h);
    std::memcpy(copy.data(), &h, 40);
    return copy;
  };
  std::vector<HDIB> bads;
  bads.push_back(header([](auto& h) { h.biBitCount = 7; }));
  bads.push_back(header([](auto& h) { h.biCompression = BI_RLE8; }));
  bads.push_back(header([](auto& h) { h.biWidth = -8; }));
  bads.push_back(header([](auto& h) { h.biHeight = 0; }));
  bads.push_back(header([](auto& h) { h.biSize = 12; }));
  bads.push_back(header([](auto& h) { h.biBitCount = 8, h.biClrUsed = 100000; }));
  for (HDIB& bad : bads) {
    canvas.window.GetSurface()->Fill({0, 0, 10, 10}, Canvas::kMarker);
    EXPECT_EQ(PaintDIB(dc, {0, 0, 8, 8}, bad, {0, 0, 8, 8}, nullptr), 0);
    EXPECT_EQ(canvas.At(4, 4), Canvas::kMarker);
  }
}

TEST(PaintDib, ColoursAreMappedToThePaletteDisplayAtDrawTime) {
  {
    Canvas canvas(20, 20);
    SetScreenDepthOverride(8);
    HDIB dib = TestDib(16, 16, 8);
    CPalette palette = CreateDIBPalette(dib);
    CClientDC dc(&canvas.window);
    CDC screen;
    SetSystemPaletteUse(screen, SYSPAL_STATIC);
    // Without its palette realised, the picture shows in the twenty
    // static colours.
    PaintDIB(dc, {0, 0, 16, 16}, dib, {0, 0, 16, 16}, nullptr);
    EXPECT_EQ(canvas.At(3, 0), SystemPalette::Instance().Map(Expected(3, 0, 8), 8));
    EXPECT_NE(canvas.At(3, 0), Expected(3, 0, 8));
    // With no static colours but black and white, the realised palette
    // gives every colour of the table.
    SetSystemPaletteUse(screen, SYSPAL_NOSTATIC);
    PaintDIB(dc, {0, 0, 16, 16}, dib, {0, 0, 16, 16}, &palette);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) ASSERT_EQ(canvas.At(x, y), Expected(x, y, 8));
    // The palette is selected only for the call.
    EXPECT_EQ(dc.SelectedPalette(), nullptr);
  }
  {
    Canvas canvas(4, 4);
    SetScreenDepthOverride(4);
    HDIB dib = TestDib(4, 4, 24);
    CClientDC dc(&canvas.window);
    PaintDIB(dc, {0, 0, 4, 4}, dib, {0, 0, 4, 4}, nullptr);
    const uint32_t vga[] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                            0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) EXPECT_NE(std::find(std::begin(vga), std::end(vga), canvas.At(x, y)), std::end(vga));
  }
}

}  // namespace
}  // namespace pellora
