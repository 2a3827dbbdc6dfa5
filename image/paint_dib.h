// PaintDIB: puts a rectangle of a packed bitmap on a device context, 1:1
// or stretched, optionally through a logical palette.
#pragma once

#include "image/dib.h"
#include "platform/base/types.h"

namespace pellora {

class CDC;
class CPalette;

// The parts of a block that the platform's bitmap calls read; header null
// when the block does not hold a 40-byte header with its colour table.
DibBitsView DibBitsOf(const HDIB& dib);
DibBitsView DibBitsOf(const uint8_t* block, size_t size);

// Draws src (picture coordinates, y growing downward from the top row) of
// the block onto dest of the DC. With a palette, it is selected as a
// background palette and realised for the call. Returns the scan-line
// count the drawing call reported; 0 for a null block.
int PaintDIB(CDC& dc, const Rect& dest, const HDIB& dib, const Rect& src, const CPalette* palette);

}  // namespace pellora
