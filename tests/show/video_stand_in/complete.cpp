// A stand-in for the video drawing library with all nine entry points. Its
// DrawDibDraw draws with the player's own bitmap calls, found in the test
// program that loads it, and counts its calls.
#include <cstdint>

#include "image/paint_dib.h"
#include "platform/draw/dc.h"
#include "platform/draw/dib_drawing.h"

using pellora::BITMAPINFOHEADER;

namespace {
int draws = 0;
int handle = 0;
}  // namespace

extern "C" {

uint32_t VideoForWindowsVersion() { return 0x010A0000; }
void* DrawDibOpen() { return &handle; }
int DrawDibClose(void* hdd) { return hdd == &handle; }

int DrawDibDraw(void* hdd, void* dc, int xDst, int yDst, int dxDst, int dyDst, BITMAPINFOHEADER* header, void* bits,
                int xSrc, int ySrc, int dxSrc, int dySrc, unsigned) {
  if (hdd != &handle || !dc || !header || bits) return 0;
  ++draws;
  uint64_t stride = (uint64_t(header->biBitCount) * uint64_t(header->biWidth) + 31) / 32 * 4;
  uint64_t size = 40 + uint64_t(header->biClrUsed) * 4 + stride * uint64_t(header->biHeight);
  pellora::DibBitsView view = pellora::DibBitsOf(reinterpret_cast<const uint8_t*>(header), size_t(size));
  auto& target = *static_cast<pellora::CDC*>(dc);
  // The source rectangle counts from the top of the picture.
  int height = header->biHeight;
  if (dxDst == dxSrc && dyDst == dySrc)
    return pellora::SetDIBitsToDevice(target, xDst, yDst, dxDst, dyDst, xSrc, height - ySrc - dySrc, 0, height, view,
                                      pellora::DIB_RGB_COLORS) != 0;
  return pellora::StretchDIBits(target, xDst, yDst, dxDst, dyDst, xSrc, height - ySrc - dySrc, dxSrc, dySrc, view,
                                pellora::DIB_RGB_COLORS, pellora::SRCCOPY) != 0;
}

int DrawDibBegin(void*, void*, int, int, BITMAPINFOHEADER*, int, int, unsigned) { return 1; }
int DrawDibEnd(void*) { return 1; }
unsigned DrawDibRealize(void*, void*, int) { return 0; }
void* DrawDibGetPalette(void*) { return nullptr; }
int DrawDibSetPalette(void*, void*) { return 1; }

// For the tests: how many times DrawDibDraw drew.
int StandInDrawCount() { return draws; }
}
