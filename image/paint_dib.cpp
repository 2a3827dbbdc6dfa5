#include "image/paint_dib.h"

#include <cstring>

#include "platform/draw/dc.h"
#include "platform/draw/dib_drawing.h"

namespace pellora {

DibBitsView DibBitsOf(const uint8_t* block, size_t size) {
  DibBitsView pixels;
  if (!block || size < sizeof(BITMAPINFOHEADER)) return pixels;
  uint32_t headerSize;
  std::memcpy(&headerSize, block, 4);
  if (headerSize != sizeof(BITMAPINFOHEADER)) return pixels;
  size_t tableBytes = size_t(DIBNumColors(block)) * sizeof(RGBQUAD);
  if (tableBytes > size - headerSize) return pixels;
  pixels.header = reinterpret_cast<const BITMAPINFOHEADER*>(block);
  pixels.colours = reinterpret_cast<const RGBQUAD*>(block + headerSize);
  pixels.colourCount = DIBNumColors(block);
  pixels.bits = block + headerSize + tableBytes;
  pixels.bitsSize = size - headerSize - tableBytes;
  return pixels;
}

DibBitsView DibBitsOf(const HDIB& dib) { return DibBitsOf(dib.data(), dib.size()); }

int PaintDIB(CDC& dc, const Rect& dest, const HDIB& dib, const Rect& src, const CPalette* palette) {
  if (!dib) return 0;
  DibBitsView pixels = DibBitsOf(dib);
  if (!pixels.header) return 0;
  int pictureHeight = pixels.header->biHeight;
  const CPalette* previous = nullptr;
  if (palette) {
    previous = dc.SelectPalette(palette, true);
    dc.RealizePalette();
  }
  SetStretchBltMode(dc, COLORONCOLOR);
  int result;
  if (dest.Width() == src.Width() && dest.Height() == src.Height()) {
    result = SetDIBitsToDevice(dc, dest.left, dest.top, dest.Width(), dest.Height(), src.left,
                               pictureHeight - src.bottom, 0, pictureHeight, pixels, DIB_RGB_COLORS);
  } else {
    result = StretchDIBits(dc, dest.left, dest.top, dest.Width(), dest.Height(), src.left, pictureHeight - src.bottom,
                           src.Width(), src.Height(), pixels, DIB_RGB_COLORS, SRCCOPY);
  }
  if (palette) dc.SelectPalette(previous, false);
  return result;
}

}  // namespace pellora
