// The packed device-independent bitmap: one memory block holding a 40-byte
// header, the colour table and the pixel rows (bottom row first, each
// padded to 4 bytes), and the toolkit that creates, measures and frees such
// blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/draw/dib_drawing.h"
#include "platform/draw/palette.h"
#include "platform/storage/global_block.h"

namespace pellora {

using HDIB = GlobalBlock;

enum : uint32_t { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3 };

#pragma pack(push, 1)
struct BITMAPCOREHEADER {
  uint32_t bcSize;
  uint16_t bcWidth;
  uint16_t bcHeight;
  uint16_t bcPlanes;
  uint16_t bcBitCount;
};
#pragma pack(pop)
static_assert(sizeof(BITMAPCOREHEADER) == 12);

// Bytes per row: ((bitCount * width + 31) / 32) * 4.
size_t DIBStride(uint32_t bitCount, uint32_t width);

// A zero-filled block of the given size and depth (1, 4, 8 or 24 after
// normalising the bit count), with the standard 16-colour table repeated
// for palette depths; empty on failure.
HDIB CreateDIB(uint32_t width, int32_t height, uint16_t bitCount);
void FreeDIB(HDIB& dib);

// Header queries on a block. They read only the header, so they need a
// block of at least 40 bytes (12 for a core header); InspectDIB checks
// everything else.
bool IsCoreHeader(const uint8_t* dib);
int32_t DIBWidth(const uint8_t* dib);
int32_t DIBHeight(const uint8_t* dib);
uint16_t DIBBitCount(const uint8_t* dib);
uint16_t DIBNumColors(const uint8_t* dib);
uint16_t DIBPaletteSize(const uint8_t* dib);
uint8_t* FindDIBBits(uint8_t* dib);
const uint8_t* FindDIBBits(const uint8_t* dib);
uint16_t DIBColorCount(const HDIB& dib);
// The logical palette of the block's colour table; empty when it has none.
CPalette CreateDIBPalette(const HDIB& dib);

// What image operations need to know of a block, once it has been checked
// to hold everything its header promises.
struct DibLayout {
  int width = 0;
  int height = 0;
  int bitCount = 0;
  uint32_t colours = 0;     // colour-table entries (biClrUsed, or 2^bitCount when it is 0)
  size_t stride = 0;
  size_t bitsOffset = 0;    // start of the pixel rows
  uint32_t compression = 0;
};
// Layout of a block with a 40-byte header whose table and rows lie inside
// the block; nullopt for anything else (core headers, negative or
// overflowing sizes, short blocks).
std::optional<DibLayout> InspectDIB(const HDIB& dib);

}  // namespace pellora
