// Turning a JPEG file upright without decoding it: its blocks of DCT
// coefficients are moved, transposed and sign-flipped through libjpeg's
// coefficient access, so that nothing of the picture is lost.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace pellora::pictures {

// The file turned from its EXIF orientation (2 to 8) to upright, without
// its metadata segments; empty when the picture's size does not allow it
// (an edge that would move is not made of whole blocks) or the file
// cannot be read.
std::vector<uint8_t> TurnJpegLosslessly(std::span<const uint8_t> bytes, int orientation);

}  // namespace pellora::pictures
