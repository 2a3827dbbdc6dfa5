// Text and small images on a device context.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/draw/dc.h"
#include "platform/draw/font.h"

namespace pellora {
namespace {

// Text is laid out only as far as it can be seen, so that no string makes
// the work or memory of drawing it grow with its length. A line of up to
// kMeasuredChars characters (or as many as its rectangle is pixels wide)
// is measured whole and placed as usual; a longer one cannot fit and is
// laid out from the rectangle's left edge up to where it leaves the view.
constexpr size_t kMeasuredChars = 1024;
// With DT_CALCRECT and no height given, text is measured down to this many
// pixels at most.
constexpr int kMaxLayoutHeight = 32767;

struct Line {
  std::string text;
  int mnemonic = -1;  // index in text of the underlined character
  bool cut = false;   // the line went on beyond text
};

int Extent(const CFont& font, std::string_view text) { return font.GetTextExtent(text).cx; }

// How many leading characters of text are drawn, at least in part, when
// width pixels of the line are visible. Every character is taken to be at
// least one pixel wide, so no more than width + 1 are measured.
size_t VisibleChars(const CFont& font, std::string_view text, int width) {
  if (width <= 0 || text.empty()) return 0;
  size_t high = std::min(text.size(), size_t(width) + 1);
  if (Extent(font, text.substr(0, high)) <= width) return high;
  // The first prefix wider than width ends with the last visible character.
  size_t low = 0;
  while (high - low > 1) {
    size_t mid = low + (high - low) / 2;
    if (Extent(font, text.substr(0, mid)) > width) high = mid;
    else low = mid;
  }
  return high;
}

// Removes the '&' marks: "&&" is a plain '&', "&x" underlines x. At most
// limit characters are kept.
Line StripPrefix(std::string_view text, bool prefix, size_t limit) {
  Line line;
  size_t i = 0;
  for (; i < text.size() && line.text.size() < limit; ++i) {
    if (prefix && text[i] == '&' && i + 1 < text.size()) {
      ++i;
      if (text[i] != '&' && line.mnemonic < 0) line.mnemonic = int(line.text.size());
    }
    line.text += text[i];
  }
  line.cut = i < text.size();
  return line;
}

// Breaks a paragraph into lines no wider than width, at spaces; a word
// wider than the line stands alone. Stops after maxLines lines.
void BreakParagraph(const CFont& font, const Line& paragraph, int width, size_t maxLines, size_t lineLimit,
                    std::vector<Line>& lines) {
  const std::string& text = paragraph.text;
  size_t first = lines.size();
  auto emit = [&](size_t from, size_t to) {
    Line line;
    line.cut = to - from > lineLimit;
    line.text = text.substr(from, std::min(to - from, lineLimit));
    if (paragraph.mnemonic >= int(from) && paragraph.mnemonic < int(from + line.text.size()))
      line.mnemonic = paragraph.mnemonic - int(from);
    lines.push_back(std::move(line));
  };
  // A stretch longer than a line can hold is too wide without measuring it.
  auto tooWide = [&](size_t from, size_t to) {
    return to - from > lineLimit || Extent(font, std::string_view(text).substr(from, to - from)) > width;
  };
  size_t lineStart = std::string::npos, lineEnd = 0, pos = 0;
  while (pos < text.size() && lines.size() - first < maxLines) {
    size_t wordStart = text.find_first_not_of(' ', pos);
    if (wordStart == std::string::npos) break;
    size_t wordEnd = std::min(text.find(' ', wordStart), text.size());
    if (lineStart == std::string::npos) {
      lineStart = wordStart;
    } else if (tooWide(lineStart, wordEnd)) {
      emit(lineStart, lineEnd);
      lineStart = wordStart;
    }
    lineEnd = wordEnd;
    pos = wordEnd;
  }
  if (lines.size() - first >= maxLines) return;
  if (lineStart == std::string::npos) emit(0, 0);
  else emit(lineStart, lineEnd);
  if (paragraph.cut) lines.back().cut = true;
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
  // Only the characters that reach into the clip rectangle are rendered.
  text = text.substr(0, VisibleChars(*font_, text, clip_.right - x));
  if (text.empty()) return;
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
  bool measuring = format & DT_CALCRECT;
  int lineHeight = std::max(font_->Height(), 1);
  // Lines below what can be seen are not laid out.
  int height = measuring ? (rect.Height() > 0 ? rect.Height() : kMaxLayoutHeight)
                         : std::min(rect.bottom, clip_.bottom) - rect.top;
  size_t maxLines = size_t(std::max(height, 0) / lineHeight) + 1;
  size_t lineLimit = std::max(kMeasuredChars, size_t(std::max(rect.Width(), 0)) + 1);
  std::vector<Line> lines;
  if (format & DT_SINGLELINE) {
    lines.push_back(StripPrefix(text, prefix, lineLimit));
  } else {
    size_t start = 0;
    while (start <= text.size() && lines.size() < maxLines) {
      size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      std::string_view paragraph = text.substr(start, end - start);
      if (!paragraph.empty() && paragraph.back() == '\r') paragraph.remove_suffix(1);
      size_t room = maxLines - lines.size();
      if (format & DT_WORDBREAK)
        BreakParagraph(*font_, StripPrefix(paragraph, prefix, room * (lineLimit + 1)), rect.Width(), room, lineLimit,
                       lines);
      else
        lines.push_back(StripPrefix(paragraph, prefix, lineLimit));
      if (end == text.size()) break;
      start = end + 1;
    }
  }
  int total = lineHeight * int(lines.size());
  if (measuring) {
    int widest = 0;
    for (const Line& line : lines) widest = std::max(widest, Extent(*font_, line.text));
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
    // A cut line is wider than its rectangle: it shows from its start.
    int x = rect.left;
    if (!line.cut) {
      int w = Extent(*font_, line.text);
      if (format & DT_CENTER) x = rect.left + (rect.Width() - w) / 2;
      else if (format & DT_RIGHT) x = rect.right - w;
    }
    TextOut(x, y, line.text);
    if (line.mnemonic >= 0 && size_t(line.mnemonic) < line.text.size()) {
      int before = Extent(*font_, std::string_view(line.text).substr(0, size_t(line.mnemonic)));
      int letter = Extent(*font_, std::string_view(line.text).substr(size_t(line.mnemonic), 1));
      FillSolidRect({x + before, y + font_->Ascent() + 1, x + before + letter, y + font_->Ascent() + 2}, textColour_);
    }
    y += lineHeight;
  }
  clip_ = savedClip;
  return total;
}

}  // namespace pellora
