#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "image/colour_reduction.h"
#include "platform/draw/screen.h"
#include "tests/image/dib_builders.h"

namespace pellora {
namespace {

using test::Rgb;

// The reduction written as plainly as possible: per pixel, clamp, index,
// error against the entry's level, and the four weighted shares added to
// whole rows of accumulated values.
std::vector<uint8_t> PlainReduction(const HDIB& source, PaletteKind kind) {
  std::optional<DibPixels> pixels = DibPixels::Open(source);
  int w = pixels->Width(), h = pixels->Height();
  const RGBQUAD* table = PaletteTable(kind);
  std::vector<std::vector<int>> value(size_t(h), std::vector<int>(size_t(w) * 3));
  for (int y = 0; y < h; ++y) pixels->RowRgb(y, 0, w, value[size_t(y)].data());
  std::vector<uint8_t> out(size_t(w) * size_t(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      int c[3];
      for (int k = 0; k < 3; ++k) c[k] = std::clamp(value[size_t(y)][size_t(x) * 3 + size_t(k)], 0, 255);
      uint8_t index = PaletteIndex(kind, uint8_t(c[0]), uint8_t(c[1]), uint8_t(c[2]));
      out[size_t(y) * size_t(w) + size_t(x)] = index;
      int level[3] = {table[index].rgbRed, table[index].rgbGreen, table[index].rgbBlue};
      for (int k = 0; k < 3; ++k) {
        int e = c[k] - level[k];
        auto add = [&](int dx, int dy, int weight) {
          int nx = x + dx, ny = y + dy;
          if (nx < 0 || nx >= w || ny >= h) return;
          value[size_t(ny)][size_t(nx) * 3 + size_t(k)] += WeightedError(weight, e);
        };
        add(1, 0, 7);
        add(-1, 1, 3);
        add(0, 1, 5);
        add(1, 1, 1);
      }
    }
  return out;
}

std::vector<uint8_t> Indices(HDIB& dib) {
  std::vector<uint8_t> out;
  for (int y = 0; y < test::BlockHeight(dib); ++y)
    for (int x = 0; x < test::BlockWidth(dib); ++x) out.push_back(test::IndexAt(dib, x, y));
  return out;
}

HDIB Noise(int w, int h, unsigned seed) {
  std::mt19937 random(seed);
  return test::Dib24(w, h, [&](int, int) { return Rgb{uint8_t(random()), uint8_t(random()), uint8_t(random())}; });
}

TEST(ColourReduction, PaletteLevelsAndIndices) {
  const RGBQUAD* p332 = PaletteTable(PALETTE_332);
  std::set<int> red, blue;
  for (int i = 0; i < 256; ++i) {
    red.insert(p332[i].rgbRed);
    blue.insert(p332[i].rgbBlue);
  }
  EXPECT_EQ(red, (std::set<int>{0, 36, 73, 109, 146, 182, 219, 255}));
  EXPECT_EQ(blue, (std::set<int>{0, 85, 170, 255}));
  EXPECT_EQ(PaletteIndex(PALETTE_332, 255, 0, 0), 0xE0);
  EXPECT_EQ(PaletteIndex(PALETTE_332, 0, 255, 0), 0x1C);
  EXPECT_EQ(PaletteIndex(PALETTE_332, 0, 0, 255), 0x03);
  EXPECT_EQ(PaletteIndex(PALETTE_332, 255, 255, 255), 0xFF);
  const RGBQUAD* p111 = PaletteTable(PALETTE_111);
  for (int i = 0; i < 256; ++i) {
    const RGBQUAD& e = p111[i];
    for (int level : {e.rgbRed, e.rgbGreen, e.rgbBlue}) EXPECT_TRUE(level == 0 || level == 255);
    EXPECT_EQ(e.rgbRed, p111[i & 0xE0].rgbRed);  // the other entries repeat the eight
  }
  EXPECT_EQ(PaletteIndex(PALETTE_111, 255, 255, 255), 0xE0);
  EXPECT_EQ(PaletteIndex(PALETTE_111, 0, 0, 255), 0x20);
}

TEST(ColourReduction, WeightedErrorsRoundHalvesAwayFromZero) {
  EXPECT_EQ(WeightedError(1, 8), 1);
  EXPECT_EQ(WeightedError(1, -8), -1);
  EXPECT_EQ(WeightedError(1, 7), 0);
  EXPECT_EQ(WeightedError(7, 8), 4);
  EXPECT_EQ(WeightedError(7, -255), -112);
  EXPECT_EQ(WeightedError(5, 255), 80);
  EXPECT_EQ(WeightedError(3, -3), -1);
}

TEST(ColourReduction, EngineMatchesThePlainAlgorithm) {
  for (PaletteKind kind : {PALETTE_332, PALETTE_111})
    for (auto [w, h] : {std::pair{1, 1}, {1, 7}, {9, 1}, {17, 13}, {64, 3}}) {
      HDIB source = Noise(w, h, unsigned(w * 100 + h));
      HDIB reduced = ReduceDIB(source, kind);
      ASSERT_TRUE(reduced);
      EXPECT_EQ(Indices(reduced), PlainReduction(source, kind)) << w << "x" << h << " kind " << kind;
    }
}

TEST(ColourReduction, ExactLevelsGiveNoDither) {
  const Rgb colours[] = {{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {36, 73, 170}};
  for (Rgb c : colours) {
    HDIB reduced = ReduceDIB(test::SolidDib24(11, 7, c), PALETTE_332);
    ASSERT_TRUE(reduced);
    for (uint8_t index : Indices(reduced)) EXPECT_EQ(index, PaletteIndex(PALETTE_332, c.r, c.g, c.b));
  }
}

TEST(ColourReduction, MidGreyBecomesAMixtureAroundTheNearestLevels) {
  HDIB reduced = ReduceDIB(test::SolidDib24(32, 32, {128, 128, 128}), PALETTE_332);
  ASSERT_TRUE(reduced);
  const RGBQUAD* table = PaletteTable(PALETTE_332);
  std::set<uint8_t> distinct;
  double red = 0, blue = 0;
  for (uint8_t index : Indices(reduced)) {
    distinct.insert(index);
    EXPECT_TRUE(table[index].rgbRed == 109 || table[index].rgbRed == 146);
    EXPECT_TRUE(table[index].rgbGreen == 109 || table[index].rgbGreen == 146);
    EXPECT_TRUE(table[index].rgbBlue == 85 || table[index].rgbBlue == 170);
    red += table[index].rgbRed;
    blue += table[index].rgbBlue;
  }
  EXPECT_GT(distinct.size(), 1u);
  EXPECT_NEAR(red / 1024, 128, 3);
  EXPECT_NEAR(blue / 1024, 128, 3);
}

TEST(ColourReduction, EightColourPaletteGivesMultiplesOf32) {
  HDIB reduced = ReduceDIB(Noise(40, 30, 7), PALETTE_111);
  ASSERT_TRUE(reduced);
  std::set<uint8_t> distinct;
  for (uint8_t index : Indices(reduced)) {
    EXPECT_EQ(index % 32, 0);
    distinct.insert(index);
  }
  EXPECT_EQ(distinct.size(), 8u);
}

TEST(ColourReduction, ReadsEveryPaletteDepth) {
  HDIB mono = test::PaletteDib(13, 3, 1, {{0, 0, 0}, {255, 255, 255}}, [](int x, int y) { return (x + y) % 2; });
  HDIB reduced = ReduceDIB(mono, PALETTE_332);
  ASSERT_TRUE(reduced);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 13; ++x) EXPECT_EQ(test::IndexAt(reduced, x, y), (x + y) % 2 ? 255 : 0);

  std::vector<Rgb> table = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
  HDIB nibbles = test::PaletteDib(5, 2, 4, table, [](int x, int y) { return (x + 2 * y) % 4; });
  reduced = ReduceDIB(nibbles, PALETTE_111);
  ASSERT_TRUE(reduced);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 5; ++x) {
      Rgb c = table[size_t((x + 2 * y) % 4)];
      EXPECT_EQ(test::IndexAt(reduced, x, y), PaletteIndex(PALETTE_111, c.r, c.g, c.b));
    }

  BITMAPINFOHEADER h;
  HDIB sixteen = CreateDIB(4, 4, 24);
  std::memcpy(&h, sixteen.data(), sizeof h);
  h.biBitCount = 16;
  std::memcpy(sixteen.data(), &h, sizeof h);
  EXPECT_FALSE(ReduceDIB(sixteen, PALETTE_332));
  EXPECT_FALSE(ScaleReduceDIB(sixteen, 8, 8, PALETTE_332));
  EXPECT_FALSE(ReduceDIB(HDIB(), PALETTE_332));
}

TEST(ColourReduction, ResultCarriesTheKindsTable) {
  HDIB reduced = ReduceDIB(Noise(3, 3, 1), PALETTE_111);
  ASSERT_TRUE(reduced);
  EXPECT_EQ(test::BlockBits(reduced), 8);
  EXPECT_EQ(DIBNumColors(reduced.data()), 256);
  EXPECT_EQ(std::memcmp(reduced.data() + 40, PaletteTable(PALETTE_111), 1024), 0);
}

TEST(ColourReduction, ScalingToTheOwnSizeEqualsPlainReduction) {
  HDIB source = Noise(37, 21, 3);
  HDIB a = ReduceDIB(source, PALETTE_332), b = ScaleReduceDIB(source, 37, 21, PALETTE_332);
  ASSERT_TRUE(a && b);
  EXPECT_EQ(Indices(a), Indices(b));
  HDIB nibbles = test::PaletteDib(9, 4, 4, {{1, 2, 3}, {250, 20, 90}}, [](int x, int) { return x % 2; });
  EXPECT_EQ(Indices(a = ReduceDIB(nibbles, PALETTE_111)), Indices(b = ScaleReduceDIB(nibbles, 9, 4, PALETTE_111)));
}

TEST(ColourReduction, ScalingSamplesTheFirstRowAndAveragesTheOthers) {
  // Red 0, 72, 0, 72, ... in every row: averaging two neighbours gives 36,
  // an exact level; point sampling gives 0 (even columns). The last
  // column's run ends at the clamped source column 5 and takes column 4 alone.
  HDIB source = test::Dib24(6, 2, [](int x, int) { return Rgb{uint8_t(x % 2 ? 72 : 0), 0, 0}; });
  HDIB scaled = ScaleReduceDIB(source, 3, 2, PALETTE_332);
  ASSERT_TRUE(scaled);
  for (int x = 0; x < 3; ++x) EXPECT_EQ(test::IndexAt(scaled, x, 0), 0);
  EXPECT_EQ(test::IndexAt(scaled, 0, 1), PaletteIndex(PALETTE_332, 36, 0, 0));
  EXPECT_EQ(test::IndexAt(scaled, 1, 1), PaletteIndex(PALETTE_332, 36, 0, 0));
  EXPECT_EQ(test::IndexAt(scaled, 2, 1), 0);
  // Enlarging repeats source pixels; an empty size is an empty block.
  HDIB big = ScaleReduceDIB(test::SolidDib24(2, 2, {255, 0, 0}), 9, 5, PALETTE_332);
  ASSERT_TRUE(big);
  for (uint8_t index : Indices(big)) EXPECT_EQ(index, 0xE0);
  EXPECT_TRUE(ScaleReduceDIB(source, 0, 0, PALETTE_332));
  EXPECT_FALSE(ScaleReduceDIB(source, -1, 3, PALETTE_332));
}

TEST(ColourReduction, DisplayDepthFollowsTheScreen) {
  SetScreenDepthOverride(8);
  EXPECT_EQ(GetDisplayDepth(), 8);
  SetScreenDepthOverride(4);
  EXPECT_EQ(GetDisplayDepth(), 4);
  EXPECT_EQ(PaletteKindForDepth(4), PALETTE_111);
  EXPECT_EQ(PaletteKindForDepth(8), PALETTE_332);
  SetScreenDepthOverride(0);
}

}  // namespace
}  // namespace pellora
