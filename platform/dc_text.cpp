// Text and small images on a device context.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/dc.h"
#include "platform/font.h"

namespace pellora {
namespace {

struct Line {
  std::string text;
  int mnemonic = -1;  // index in text of the underlined character
};

// Removes the '&' marks: "&&" is a plain '&', "&x" underlines x.
Line StripPrefix(std::string_view text, bool prefix) {
  Line line;
  for (size_t i = 0; i < text.size(); ++i) {
    if (prefix && text[i] == '&' && i + 1 < text.size()) {
      ++i;
      if (text[i] != '&' && line.mnemonic < 0) line.mnemonic = int(line.text.size());
    }
    line.text += text[i];
  }
  return line;
}

// Breaks a paragraph into lines no wider than width, at spaces; a word
// wider than the line stands alone.
void BreakParagraph(const CFont& font, const Line& paragraph, int width, std::vector<Line>& lines) {
  const std::string& text = paragraph.text;
  auto emit = [&](size_t from, size_t to) {
    Line line;
    line.text = text.substr(from, to - from);
    if (paragraph.mnemonic >= int(from) && paragraph.mnemonic < int(to)) line.mnemonic = paragraph.mnemonic - int(from);
    lines.push_back(std::move(line));
  };
  size_t lineStart = std::string::npos, lineEnd = 0, pos = 0;
  while (pos < text.size()) {
    size_t wordStart = text.find_first_not_of(' ', pos);
    if (wordStart == std::string::npos) break;
    size_t wordEnd = std::min(text.find(' ', wordStart), text.size());
    if (lineStart == std::string::npos) {
      lineStart = wordStart;
    } else if (font.GetTextExtent(std::string_view(text).substr(lineStart, wordEnd - lineStart)).cx > width) {
      emit(lineStart, lineEnd);
      lineStart = wordStart;
    }
    lineEnd = wordEnd;
    pos = wordEnd;
  }
  if (lineStart == std::string::npos) emit(0, 0);
  else emit(lineStart, lineEnd);
}

}  // namespace

void CDC::DrawPixels(int x, int y, int width, int height, const uint32_t* pixels) {
  if (!surface_ || !pixels || width <= 0 || height <= 0) return;
  Rect r = Rect{x, y, x + width, y + height}.Intersect(clip_);
  for (int row = r.top; row < r.bottom; ++row) {
    uint32_t* out = surface_->Row(row + origin_.y) + origin_.x;
    const uint32_t* in = pixels + size_t(row - y) * size_t(width);
    for (int col = r.left; col < r.right; ++col)
      if (in[col - x] != kTransparentPixel) out[col] = DisplayColour(in[col - x]);
  }
  NoteDrawn(r);
}

const CFont* CDC::SelectFont(const CFont* font) {
  const CFont* previous = font_;
  font_ = font;
  return previous;
}

COLORREF CDC::SetTextColor(COLORREF colour) {
  COLORREF previous = textColour_;
  textColour_ = colour;
  return previous;
}

Size CDC::GetTextExtent(std::string_view text) const { return font_ ? font_->GetTextExtent(text) : Size{}; }

void CDC::TextOut(int x, int y, std::string_view text) {
  if (!surface_ || !font_ || text.empty()) return;
  uint32_t fg = PixelFromColorRef(textColour_);
  Rect drawn;
  font_->Render(text, x, y, [&](int px, int py, uint8_t a) {
    if (!clip_.Contains({px, py})) return;
    uint32_t& pixel = surface_->Row(py + origin_.y)[px + origin_.x];
    uint32_t mixed = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
      uint32_t b = (pixel >> shift) & 0xFF, f = (fg >> shift) & 0xFF;
      mixed |= ((f * a + b * (255 - a) + 127) / 255) << shift;
    }
    pixel = DisplayColour(mixed);
    drawn = drawn.Union({px, py, px + 1, py + 1});
  });
  NoteDrawn(drawn);
}

int CDC::DrawText(std::string_view text, Rect& rect, uint32_t format) {
  if (!font_) return 0;
  bool prefix = !(format & DT_NOPREFIX);
  std::vector<Line> lines;
  if (format & DT_SINGLELINE) {
    lines.push_back(StripPrefix(text, prefix));
  } else {
    size_t start = 0;
    while (start <= text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      std::string_view paragraph = text.substr(start, end - start);
      if (!paragraph.empty() && paragraph.back() == '\r') paragraph.remove_suffix(1);
      Line line = StripPrefix(paragraph, prefix);
      if (format & DT_WORDBREAK) BreakParagraph(*font_, line, rect.Width(), lines);
      else lines.push_back(line);
      if (end == text.size()) break;
      start = end + 1;
    }
  }
  int lineHeight = font_->Height();
  int total = lineHeight * int(lines.size());
  if (format & DT_CALCRECT) {
    int widest = 0;
    for (const Line& line : lines) widest = std::max(widest, font_->GetTextExtent(line.text).cx);
    rect.right = rect.left + widest;
    rect.bottom = rect.top + total;
    return total;
  }
  int y = rect.top;
  if ((format & DT_SINGLELINE) && (format & DT_VCENTER)) y = rect.top + (rect.Height() - lineHeight) / 2;
  // Text stays inside its rectangle.
  Rect savedClip = clip_;
  clip_ = clip_.Intersect(rect);
  for (const Line& line : lines) {
    int width = font_->GetTextExtent(line.text).cx;
    int x = rect.left;
    if (format & DT_CENTER) x = rect.left + (rect.Width() - width) / 2;
    else if (format & DT_RIGHT) x = rect.right - width;
    TextOut(x, y, line.text);
    if (line.mnemonic >= 0 && size_t(line.mnemonic) < line.text.size()) {
      int before = font_->GetTextExtent(std::string_view(line.text).substr(0, size_t(line.mnemonic))).cx;
      int letter = font_->GetTextExtent(std::string_view(line.text).substr(size_t(line.mnemonic), 1)).cx;
      FillSolidRect({x + before, y + font_->Ascent() + 1, x + before + letter, y + font_->Ascent() + 2}, textColour_);
    }
    y += lineHeight;
  }
  clip_ = savedClip;
  return total;
}

}  // namespace pellora
