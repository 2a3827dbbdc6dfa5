// Feeds arbitrary bytes to the bitmap file reader; a picture that reads is
// turned into RGB rows and reduced, placed and fitted as slides are.
#include <cstddef>
#include <cstdint>

#include "image/bmp_reader.h"
#include "image/colour_reduction.h"
#include "image/composition.h"
#include "image/dib_rgb.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pellora;
  HDIB picture = ReadBitmap({data, size}).picture;
  if (!picture) return 0;
  // Large pictures only go through the reader, to keep the runs quick.
  uint64_t pixels = uint64_t(DIBWidth(picture.data())) * uint64_t(DIBHeight(picture.data()));
  if (pixels > (1u << 18)) return 0;
  RgbImage image;
  DIBToRgb(picture, image);
  // Small pictures also go through the palette and placement paths.
  if (pixels <= (1u << 14)) {
    ReduceDIB(picture, PALETTE_332);
    HDIB screen24 = SolidDIB24(RGB(0, 0, 64), 48, 32);
    PlacePicture24(screen24, picture);
    FitPicture24(screen24, picture, 3, false);
    HDIB screen8 = SolidDIB8(RGB(0, 0, 64), 48, 32, PALETTE_111);
    PlacePicture8(screen8, picture, PALETTE_111);
    FitPicture8(screen8, picture, 3, true, PALETTE_111);
  }
  return 0;
}
