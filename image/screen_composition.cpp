// The choice of background builder and picture placement by the display's
// depth.
#include "image/colour_reduction.h"
#include "image/composition.h"
#include "image/dib_pixels.h"

namespace pellora {
namespace {
bool PaletteDisplay(int depth) { return depth <= 8; }
}  // namespace

HDIB PictureBackground(const HDIB& picture, BackgroundMode mode, int width, int height, int depth) {
  PaletteKind kind = PaletteKindForDepth(depth);
  bool palette = PaletteDisplay(depth);
  switch (mode) {
    case BackgroundMode::Stretch: {
      if (!palette) return StretchDIB24(picture, width, height);
      std::optional<DibPixels> pixels = DibPixels::Open(picture);
      if (pixels && pixels->Width() == width && pixels->Height() == height) return ReduceDIB(picture, kind);
      return ScaleReduceDIB(picture, width, height, kind);
    }
    case BackgroundMode::Centre:
      return palette ? CenterDIB8(picture, width, height, kind) : CenterDIB24(picture, width, height);
    case BackgroundMode::Tile:
      return palette ? TileDIB8(picture, width, height, kind) : TileDIB24(picture, width, height);
  }
  return {};
}

HDIB GradientBackground(COLORREF first, COLORREF second, int width, int height, int direction, int depth) {
  if (PaletteDisplay(depth))
    return GradientDIB8(first, second, width, height, direction, PaletteKindForDepth(depth));
  return GradientDIB24(first, second, width, height, direction);
}

HDIB SolidBackground(COLORREF colour, int width, int height, int depth) {
  if (PaletteDisplay(depth)) return SolidDIB8(colour, width, height, PaletteKindForDepth(depth));
  return SolidDIB24(colour, width, height);
}

bool PlaceSlidePicture(HDIB& screen, const HDIB& picture, PictureFit fit, int margin, int depth) {
  PaletteKind kind = PaletteKindForDepth(depth);
  bool palette = PaletteDisplay(depth);
  switch (fit) {
    case PictureFit::Natural:
      return palette ? PlacePicture8(screen, picture, kind) : PlacePicture24(screen, picture);
    case PictureFit::KeepRatio:
    case PictureFit::Fill: {
      bool stretch = fit == PictureFit::Fill;
      return palette ? FitPicture8(screen, picture, margin, stretch, kind)
                     : FitPicture24(screen, picture, margin, stretch);
    }
  }
  return false;
}

}  // namespace pellora
