#include "image/dib.h"

#include <cstring>

namespace pellora {
namespace {

BITMAPINFOHEADER ReadInfo(const uint8_t* dib) {
  BITMAPINFOHEADER h;
  std::memcpy(&h, dib, sizeof h);
  return h;
}

BITMAPCOREHEADER ReadCore(const uint8_t* dib) {
  BITMAPCOREHEADER h;
  std::memcpy(&h, dib, sizeof h);
  return h;
}

// The sixteen colours (red, green, blue) that fill new colour tables.
constexpr uint8_t kStandardColours[16][3] = {
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
    {0, 128, 128},   {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

}  // namespace

size_t DIBStride(uint32_t bitCount, uint32_t width) {
  return size_t((uint64_t(bitCount) * width + 31) / 32 * 4);
}

HDIB CreateDIB(uint32_t width, int32_t height, uint16_t bitCount) {
  if (bitCount <= 1) bitCount = 1;
  else if (bitCount <= 4) bitCount = 4;
  else if (bitCount <= 8) bitCount = 8;
  else if (bitCount <= 24) bitCount = 24;
  else bitCount = 4;
  if (height < 0 || width > 0x7FFFFFFF) return {};
  size_t tableBytes = bitCount == 1 ? 8 : bitCount == 4 ? 64 : bitCount == 8 ? 1024 : 0;
  uint64_t pixelBytes = uint64_t(DIBStride(bitCount, width)) * uint64_t(height);
  if (pixelBytes > GlobalBlock::kMaxSize) return {};
  HDIB dib = GlobalBlock::Allocate(40 + tableBytes + size_t(pixelBytes), true);
  if (!dib) return dib;
  BITMAPINFOHEADER h{};
  h.biSize = 40;
  h.biWidth = int32_t(width);
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = bitCount;
  h.biClrUsed = bitCount == 4 ? 16 : bitCount == 8 ? 256 : 0;
  std::memcpy(dib.data(), &h, sizeof h);
  auto* table = reinterpret_cast<RGBQUAD*>(dib.data() + 40);
  for (uint32_t i = 0; i < h.biClrUsed; ++i) {
    const uint8_t* c = kStandardColours[i % 16];
    table[i] = {c[2], c[1], c[0], 0};
  }
  return dib;
}

void FreeDIB(HDIB& dib) { dib.Free(); }

bool IsCoreHeader(const uint8_t* dib) {
  uint32_t size;
  std::memcpy(&size, dib, 4);
  return size == sizeof(BITMAPCOREHEADER);
}

int32_t DIBWidth(const uint8_t* dib) {
  return IsCoreHeader(dib) ? int32_t(ReadCore(dib).bcWidth) : ReadInfo(dib).biWidth;
}

int32_t DIBHeight(const uint8_t* dib) {
  return IsCoreHeader(dib) ? int32_t(ReadCore(dib).bcHeight) : ReadInfo(dib).biHeight;
}

uint16_t DIBBitCount(const uint8_t* dib) {
  return IsCoreHeader(dib) ? ReadCore(dib).bcBitCount : ReadInfo(dib).biBitCount;
}

uint16_t DIBNumColors(const uint8_t* dib) {
  if (!IsCoreHeader(dib)) {
    uint32_t used = ReadInfo(dib).biClrUsed;
    if (used != 0) return uint16_t(used);
  }
  switch (DIBBitCount(dib)) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

uint16_t DIBPaletteSize(const uint8_t* dib) {
  return uint16_t(DIBNumColors(dib) * (IsCoreHeader(dib) ? 3 : 4));
}

uint8_t* FindDIBBits(uint8_t* dib) {
  uint32_t size;
  std::memcpy(&size, dib, 4);
  return dib + size + DIBPaletteSize(dib);
}

const uint8_t* FindDIBBits(const uint8_t* dib) { return FindDIBBits(const_cast<uint8_t*>(dib)); }

uint16_t DIBColorCount(const HDIB& dib) {
  if (!dib || dib.size() < sizeof(BITMAPCOREHEADER)) return 0;
  if (!IsCoreHeader(dib.data()) && dib.size() < sizeof(BITMAPINFOHEADER)) return 0;
  return DIBNumColors(dib.data());
}

CPalette CreateDIBPalette(const HDIB& dib) {
  uint16_t count = DIBColorCount(dib);
  if (count == 0) return {};
  bool core = IsCoreHeader(dib.data());
  size_t headerSize = core ? sizeof(BITMAPCOREHEADER) : ReadInfo(dib.data()).biSize;
  size_t entrySize = core ? 3 : 4;
  // A table that runs past the block yields no palette rather than garbage.
  if (headerSize > dib.size() || (dib.size() - headerSize) / entrySize < count) return {};
  std::vector<PaletteEntry> entries(count);
  const uint8_t* table = dib.data() + headerSize;
  for (uint16_t i = 0; i < count; ++i) {
    const uint8_t* e = table + i * entrySize;
    entries[i] = {e[2], e[1], e[0], 0};
  }
  return CPalette(std::move(entries));
}

std::optional<DibLayout> InspectDIB(const HDIB& dib) {
  if (!dib || dib.size() < sizeof(BITMAPINFOHEADER)) return std::nullopt;
  BITMAPINFOHEADER h = ReadInfo(dib.data());
  if (h.biSize != 40 || h.biWidth < 0 || h.biHeight < 0) return std::nullopt;
  DibLayout layout;
  layout.width = h.biWidth;
  layout.height = h.biHeight;
  layout.bitCount = h.biBitCount;
  // A table whose length the header leaves at 0 has as many entries as the
  // bit count can index, as DIBNumColors and CreateDIBPalette count it.
  layout.colours = h.biClrUsed != 0 ? h.biClrUsed : h.biBitCount <= 8 ? (1u << h.biBitCount) : 0;
  layout.compression = h.biCompression;
  layout.stride = DIBStride(h.biBitCount, uint32_t(h.biWidth));
  uint64_t offset = 40 + uint64_t(layout.colours) * 4 + (h.biCompression == BI_BITFIELDS ? 12 : 0);
  uint64_t end = offset + uint64_t(layout.stride) * uint64_t(h.biHeight);
  if (end > dib.size()) return std::nullopt;
  layout.bitsOffset = size_t(offset);
  return layout;
}

}  // namespace pellora
