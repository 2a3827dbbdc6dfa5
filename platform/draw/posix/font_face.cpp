// Fonts on Linux: Liberation Sans and its bold, built into the program and
// rendered with FreeType, so that a show draws the same text on every
// machine whatever fonts it has. Every face asked for is drawn with them
// (they are metric-compatible with the classic sans-serif dialog face);
// italics are slanted from the upright face.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <mutex>

#include "platform/base/text.h"
#include "platform/draw/font.h"
#include "platform/draw/font_face.h"

// The font files, included whole at build time (their paths come from the
// build); each is a byte array with a symbol at its end.
#define PELLORA_EMBED_FONT(symbol, path)                                                                   \
  __asm__(".section .rodata\n.balign 16\n.type " #symbol ", @object\n" #symbol ":\n.incbin \"" path "\"\n" \
          ".type " #symbol "_end, @object\n" #symbol "_end:\n.previous\n")
PELLORA_EMBED_FONT(pelloraSansRegular, PELLORA_SANS_REGULAR_FILE);
PELLORA_EMBED_FONT(pelloraSansBold, PELLORA_SANS_BOLD_FILE);
extern "C" const unsigned char pelloraSansRegular[], pelloraSansRegular_end[];
extern "C" const unsigned char pelloraSansBold[], pelloraSansBold_end[];

namespace pellora {
namespace {

// Decoded from the 26.6 fixed point FreeType measures in, rounded up.
int Ceil26_6(FT_Pos value) { return int((value + 63) >> 6); }

// One face of the built-in font at one pixel size, with a FreeType
// library of its own: FreeType objects are not shared between threads.
class FreetypeFace : public FontFace {
 public:
  FreetypeFace() = default;
  ~FreetypeFace() override {
    if (face_) FT_Done_Face(face_);
    if (library_) FT_Done_FreeType(library_);
  }
  FreetypeFace(const FreetypeFace&) = delete;
  FreetypeFace& operator=(const FreetypeFace&) = delete;

  bool Open(bool bold, bool italic, int pixels) {
    const unsigned char* begin = bold ? pelloraSansBold : pelloraSansRegular;
    const unsigned char* end = bold ? pelloraSansBold_end : pelloraSansRegular_end;
    if (FT_Init_FreeType(&library_) != 0) return false;
    if (FT_New_Memory_Face(library_, begin, FT_Long(end - begin), 0, &face_) != 0) return false;
    if (FT_Set_Pixel_Sizes(face_, 0, FT_UInt(pixels)) != 0) return false;
    italic_ = italic;
    ascent_ = Ceil26_6(face_->size->metrics.ascender);
    height_ = ascent_ + Ceil26_6(-face_->size->metrics.descender);
    return height_ > 0;
  }

  int Height() const override { return height_; }
  int Ascent() const override { return ascent_; }

  Size TextExtent(std::string_view text) const override {
    std::lock_guard<std::mutex> lock(mutex_);
    return {Lay(text, nullptr), height_};
  }

  TextMask RenderMask(std::string_view text) const override {
    std::lock_guard<std::mutex> lock(mutex_);
    TextMask mask;
    int width = Lay(text, nullptr);
    if (width <= 0 || int64_t(width) * height_ > (int64_t(1) << 26)) return mask;
    mask.width = width;
    mask.height = height_;
    mask.coverage.assign(size_t(width) * size_t(height_), '\0');
    Lay(text, &mask);
    return mask;
  }

 private:
  // Loads one character's glyph, slanted for italics; rendered to its
  // coverage bitmap when render is set.
  bool Load(char32_t code, bool render) const {
    if (FT_Load_Char(face_, code, FT_LOAD_TARGET_NORMAL) != 0) return false;
    if (italic_) FT_GlyphSlot_Oblique(face_->glyph);
    return !render || FT_Render_Glyph(face_->glyph, FT_RENDER_MODE_NORMAL) == 0;
  }

  // Sets the line from the left edge on the ascent's baseline: returns its
  // width (the pen's end, or the last glyph's right edge when it reaches
  // further) and draws it into mask when one is given.
  int Lay(std::string_view text, TextMask* mask) const {
    int pen = 0, right = 0;
    FT_UInt previous = 0;
    for (char c : text) {
      char32_t code = Cp1252CodePoint(static_cast<unsigned char>(c));
      FT_UInt index = FT_Get_Char_Index(face_, code);
      if (previous && index && FT_HAS_KERNING(face_)) {
        FT_Vector kerning{};
        if (FT_Get_Kerning(face_, previous, index, FT_KERNING_DEFAULT, &kerning) == 0) pen += int(kerning.x >> 6);
      }
      previous = index;
      if (!Load(code, true)) continue;
      const FT_GlyphSlot glyph = face_->glyph;
      const FT_Bitmap& bitmap = glyph->bitmap;
      right = std::max(right, pen + glyph->bitmap_left + int(bitmap.width));
      if (mask) Blend(bitmap, pen + glyph->bitmap_left, ascent_ - glyph->bitmap_top, *mask);
      pen += int((glyph->advance.x + 32) >> 6);
    }
    return std::max(pen, right);
  }

  // Puts a glyph's coverage at (x, y) where it is the greater (glyphs may
  // overlap their neighbours), clipped to the mask.
  static void Blend(const FT_Bitmap& bitmap, int x, int y, TextMask& mask) {
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return;
    for (int row = 0; row < int(bitmap.rows); ++row) {
      int ty = y + row;
      if (ty < 0 || ty >= mask.height) continue;
      const unsigned char* source = bitmap.buffer + ptrdiff_t(row) * bitmap.pitch;
      for (int column = 0; column < int(bitmap.width); ++column) {
        int tx = x + column;
        if (tx < 0 || tx >= mask.width) continue;
        auto& target = reinterpret_cast<unsigned char&>(mask.coverage[size_t(ty) * size_t(mask.width) + size_t(tx)]);
        target = std::max(target, source[column]);
      }
    }
  }

  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
  bool italic_ = false;
  int height_ = 0;
  int ascent_ = 0;
  // A face's glyph slot is its one drawing place.
  mutable std::mutex mutex_;
};

std::shared_ptr<FreetypeFace> OpenFace(int pixels, int weight, bool italic) {
  auto face = std::make_shared<FreetypeFace>();
  if (!face->Open(weight >= FW_BOLD, italic, pixels)) return nullptr;
  return face;
}

}  // namespace

std::shared_ptr<FontFace> OpenFontFace(int height, int weight, bool italic, const std::string&) {
  int pixels = height < 0 ? -height : height;
  if (pixels == 0) pixels = 13;
  if (pixels > 1000) return nullptr;
  std::shared_ptr<FreetypeFace> face = OpenFace(pixels, weight, italic);
  // A positive height names the whole cell: shrink until the cell fits.
  while (face && height > 0 && pixels > 1 && face->Height() > height) face = OpenFace(--pixels, weight, italic);
  return face;
}

}  // namespace pellora
