#include "image/error_diffusion.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

namespace pellora {
namespace {

struct ChannelFormat {
  uint8_t mask;
  uint8_t shift;
};
struct KindFormat {
  ChannelFormat red, green, blue;
};
constexpr KindFormat kFormats[2] = {
    {{0xE0, 0}, {0xE0, 3}, {0xC0, 6}},  // PALETTE_332
    {{0x80, 0}, {0x80, 1}, {0x80, 2}},  // PALETTE_111
};

// The level a channel shows for the masked value v.
uint8_t Level(const ChannelFormat& f, unsigned v) { return uint8_t((v * 255 + f.mask / 2) / f.mask); }

// The four weighted error tables, indexed by error + 256.
struct ErrorTables {
  std::array<int32_t, 512> t1, t3, t5, t7;
  ErrorTables() {
    for (int e = -256; e < 256; ++e) {
      t1[size_t(e + 256)] = WeightedError(1, e);
      t3[size_t(e + 256)] = WeightedError(3, e);
      t5[size_t(e + 256)] = WeightedError(5, e);
      t7[size_t(e + 256)] = WeightedError(7, e);
    }
  }
};
const ErrorTables& Tables() {
  static const ErrorTables tables;
  return tables;
}

// Values the engine can meet before clamping: a source value (0..255) plus
// the four shares of neighbouring errors. An error is at most 255 either
// way, and its shares add up to at most 112 + 80 + 48 + 16 = 256, so every
// value lies in -256..511.
constexpr int kLowestValue = -256;
constexpr int kValueRange = 768;

// Everything the engine needs for one channel value: its share of the
// palette index and its error (after clamping the value to 0..255) already
// weighted four ways, so that the inner loop only looks up and adds.
struct Diffused {
  uint8_t index;
  int8_t w7, w3, w5, w1;
};
struct ChannelTable {
  Diffused entry[kValueRange];
  const Diffused& operator[](int32_t value) const { return entry[value - kLowestValue]; }
};
struct KindTables {
  ChannelTable channel[3];
  std::array<RGBQUAD, 256> palette;
};

KindTables BuildKindTables(PaletteKind kind) {
  const KindFormat& f = kFormats[kind];
  const ErrorTables& t = Tables();
  KindTables k{};
  const ChannelFormat* formats[3] = {&f.red, &f.green, &f.blue};
  for (int c = 0; c < 3; ++c) {
    const ChannelFormat& cf = *formats[c];
    for (int i = 0; i < kValueRange; ++i) {
      unsigned v = unsigned(std::clamp(i + kLowestValue, 0, 255));
      unsigned masked = v & cf.mask;
      size_t e = size_t(int(v) - Level(cf, masked) + 256);
      k.channel[c].entry[i] = {uint8_t(masked >> cf.shift), int8_t(t.t7[e]), int8_t(t.t3[e]), int8_t(t.t5[e]),
                               int8_t(t.t1[e])};
    }
  }
  for (unsigned i = 0; i < 256; ++i) {
    k.palette[i].rgbRed = Level(f.red, (i << f.red.shift) & f.red.mask);
    k.palette[i].rgbGreen = Level(f.green, (i << f.green.shift) & f.green.mask);
    k.palette[i].rgbBlue = Level(f.blue, (i << f.blue.shift) & f.blue.mask);
    k.palette[i].rgbReserved = 0;
  }
  return k;
}

const KindTables& TablesFor(PaletteKind kind) {
  static const KindTables tables[2] = {BuildKindTables(PALETTE_332), BuildKindTables(PALETTE_111)};
  return tables[kind == PALETTE_111 ? 1 : 0];
}

// One row. The error going right is carried in registers, and the errors
// going to the row below are gathered so that each of its pixels is
// written once: when pixel x is done, pixel x - 1 below has all three of
// its shares. Clamping is in the tables.
template <bool kHasNext>
void DiffuseRowImpl(const KindTables& k, const int32_t* current, int32_t* next, int width, uint8_t* out) {
  const ChannelTable& tr = k.channel[0];
  const ChannelTable& tg = k.channel[1];
  const ChannelTable& tb = k.channel[2];
  int32_t carryR = 0, carryG = 0, carryB = 0;
  int32_t belowR = 0, belowG = 0, belowB = 0;  // pending for next[x - 1]
  int32_t afterR = 0, afterG = 0, afterB = 0;  // pending for next[x]
  for (int x = 0; x < width; ++x, current += 3) {
    const Diffused& dr = tr[current[0] + carryR];
    const Diffused& dg = tg[current[1] + carryG];
    const Diffused& db = tb[current[2] + carryB];
    out[x] = uint8_t(dr.index | dg.index | db.index);
    carryR = dr.w7;
    carryG = dg.w7;
    carryB = db.w7;
    if constexpr (kHasNext) {
      if (x > 0) {
        int32_t* left = next + 3 * (x - 1);
        left[0] += belowR + dr.w3;
        left[1] += belowG + dg.w3;
        left[2] += belowB + db.w3;
      }
      belowR = afterR + dr.w5;
      belowG = afterG + dg.w5;
      belowB = afterB + db.w5;
      afterR = dr.w1;
      afterG = dg.w1;
      afterB = db.w1;
    }
  }
  if constexpr (kHasNext) {
    if (width > 0) {
      int32_t* last = next + 3 * (width - 1);
      last[0] += belowR;
      last[1] += belowG;
      last[2] += belowB;
    }
  }
}

}  // namespace

int32_t WeightedError(int weight, int error) {
  int product = weight * error;
  return product >= 0 ? (product + 8) / 16 : (product - 8) / 16;
}

uint8_t PaletteIndex(PaletteKind kind, uint8_t red, uint8_t green, uint8_t blue) {
  const KindTables& k = TablesFor(kind);
  return uint8_t(k.channel[0][red].index | k.channel[1][green].index | k.channel[2][blue].index);
}

const RGBQUAD* PaletteTable(PaletteKind kind) { return TablesFor(kind).palette.data(); }

void SetPaletteTable(HDIB& dib, PaletteKind kind) {
  if (!dib || dib.size() < sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)) return;
  std::memcpy(dib.data() + sizeof(BITMAPINFOHEADER), PaletteTable(kind), 256 * sizeof(RGBQUAD));
}

ErrorDiffusion::ErrorDiffusion(PaletteKind kind, int width, int height)
    : kind_(kind), width_(width), height_(height) {
  if (width < 0 || height < 0) return;
  try {
    current_.assign(size_t(width) * 3, 0);
    next_.assign(size_t(width) * 3, 0);
    indices_.assign(size_t(width), 0);
  } catch (const std::bad_alloc&) {
    return;
  }
  ok_ = true;
}

void ErrorDiffusion::DiffuseRow(const int32_t* current, int32_t* next) {
  const KindTables& k = TablesFor(kind_);
  if (next) DiffuseRowImpl<true>(k, current, next, width_, indices_.data());
  else DiffuseRowImpl<false>(k, current, nullptr, width_, indices_.data());
}

}  // namespace pellora
