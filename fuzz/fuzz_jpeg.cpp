// Feeds arbitrary bytes to the JPEG reader; a picture that decodes is
// turned into RGB rows and fitted onto a small screen.
#include <cstddef>
#include <cstdint>

#include "image/composition.h"
#include "image/dib_rgb.h"
#include "image/jpeg_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pellora;
  HDIB picture = ReadJpeg({data, size}).picture;
  if (!picture) return 0;
  // Large pictures only go through the reader, to keep the runs quick.
  uint64_t pixels = uint64_t(DIBWidth(picture.data())) * uint64_t(DIBHeight(picture.data()));
  if (pixels > (1u << 18)) return 0;
  RgbImage image;
  DIBToRgb(picture, image);
  HDIB screen = SolidDIB24(RGB(0, 0, 0), 40, 30);
  FitPicture24(screen, picture, 2, false);
  return 0;
}
