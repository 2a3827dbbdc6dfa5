// Device-independent bitmaps on a device context: the header and colour
// entries of a packed bitmap, and the calls that put its pixels on a DC
// one to one or stretched, as the graphics interface's own calls do.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pellora {

class CDC;

#pragma pack(push, 1)
struct BITMAPINFOHEADER {
  uint32_t biSize;
  int32_t biWidth;
  int32_t biHeight;
  uint16_t biPlanes;
  uint16_t biBitCount;
  uint32_t biCompression;
  uint32_t biSizeImage;
  int32_t biXPelsPerMeter;
  int32_t biYPelsPerMeter;
  uint32_t biClrUsed;
  uint32_t biClrImportant;
};
struct RGBQUAD {
  uint8_t rgbBlue;
  uint8_t rgbGreen;
  uint8_t rgbRed;
  uint8_t rgbReserved;
};
#pragma pack(pop)
static_assert(sizeof(BITMAPINFOHEADER) == 40 && sizeof(RGBQUAD) == 4);

// Colour use and raster operation of the bitmap calls.
enum : uint32_t { DIB_RGB_COLORS = 0 };
enum : uint32_t { SRCCOPY = 0x00CC0020 };
// Stretch modes; every mode copies the nearest source pixel.
enum : int { BLACKONWHITE = 1, WHITEONBLACK = 2, COLORONCOLOR = 3, HALFTONE = 4 };

// The parts of a bitmap that the calls read: its header, colour table
// (biClrUsed entries, or 2^bits when that is 0, for 8 bits or fewer) and
// pixel rows, bottom row first (top row first for a negative height).
// bitsSize bounds the rows: rows past it are not read.
struct DibBitsView {
  const BITMAPINFOHEADER* header = nullptr;
  const RGBQUAD* colours = nullptr;
  uint32_t colourCount = 0;
  const uint8_t* bits = nullptr;
  size_t bitsSize = 0;
};

// Copies a width x height rectangle of the bitmap whose lower-left corner
// is (xSrc, ySrc) in the bitmap's bottom-up coordinates to (xDest, yDest).
// The bits hold scanLines rows starting at row startScan. Uncompressed 1,
// 4, 8, 24 and 32 bits per pixel. Returns the number of rows set, 0 when
// nothing could be drawn.
int SetDIBitsToDevice(CDC& dc, int xDest, int yDest, int width, int height, int xSrc, int ySrc,
                      int startScan, int scanLines, const DibBitsView& dib, uint32_t colourUse);

// Copies the source rectangle (lower-left corner (xSrc, ySrc), bottom-up)
// onto the destination rectangle, scaling by nearest pixel. Returns the
// number of rows drawn, 0 when nothing could be drawn.
int StretchDIBits(CDC& dc, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                  int srcWidth, int srcHeight, const DibBitsView& dib, uint32_t colourUse, uint32_t rop);

int SetStretchBltMode(CDC& dc, int mode);

}  // namespace pellora
