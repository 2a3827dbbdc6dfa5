// A font opened by the system's rasteriser at one size: what CFont draws
// with. Each system has its own (fontconfig and SDL_ttf on Linux, GDI on
// Windows); text is given in Windows-1252.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/base/types.h"

namespace pellora {

// The coverage mask of a line of text: width x height bytes, 0..255.
struct TextMask {
  int width = 0;
  int height = 0;
  std::string coverage;
};

class FontFace {
 public:
  virtual ~FontFace() = default;
  // Cell height (ascent + descent) and ascent in pixels.
  virtual int Height() const = 0;
  virtual int Ascent() const = 0;
  // Width of one line of text; the height is the cell height.
  virtual Size TextExtent(std::string_view text) const = 0;
  virtual TextMask RenderMask(std::string_view text) const = 0;
};

// A face for a Windows font request: height < 0 is the character height
// in pixels, height > 0 the cell height (never exceeded), 0 the default.
// Null when no installed font could be opened.
std::shared_ptr<FontFace> OpenFontFace(int height, int weight, bool italic, const std::string& faceName);

}  // namespace pellora
