// Fonts for the dialogs: a face name, height and style as a Windows font
// is created, opened by the system's rasteriser (platform/draw/font_face.h).
// Text is given in Windows-1252. Works without a display.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/base/types.h"
#include "platform/draw/font_face.h"

namespace pellora {

enum : int { FW_NORMAL = 400, FW_BOLD = 700 };

class CFont {
 public:
  CFont();
  ~CFont();
  CFont(const CFont&) = delete;
  CFont& operator=(const CFont&) = delete;

  // height < 0: the character height in pixels (as fonts are created from
  // point sizes); height > 0: the cell height. False when no installed
  // font could be opened (text in this font is then not drawn).
  bool CreateFont(int height, int weight, bool italic, const std::string& faceName);
  bool IsLoaded() const { return face_ != nullptr; }
  void DeleteObject();

  // Cell height (ascent + descent) and ascent in pixels; 0 without a face.
  int Height() const;
  int Ascent() const;
  Size GetTextExtent(std::string_view text) const;

  // Draws one line of text with its top-left corner at (x, y): calls
  // plot(x, y, coverage 0..255) for every covered pixel.
  template <class Plot>
  void Render(std::string_view text, int x, int y, Plot plot) const;

  FontFace* Face() const { return face_.get(); }

 private:
  std::shared_ptr<FontFace> face_;
};

template <class Plot>
void CFont::Render(std::string_view text, int x, int y, Plot plot) const {
  if (!face_ || text.empty()) return;
  TextMask mask = face_->RenderMask(text);
  for (int row = 0; row < mask.height; ++row)
    for (int col = 0; col < mask.width; ++col) {
      uint8_t a = uint8_t(mask.coverage[size_t(row) * size_t(mask.width) + size_t(col)]);
      if (a) plot(x + col, y + row, a);
    }
}

}  // namespace pellora
