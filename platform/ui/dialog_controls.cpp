#include "platform/ui/dialog_controls.h"

#include <algorithm>

#include "platform/draw/dc.h"
#include "platform/ui/dialog_drawing.h"

namespace pellora {

CDialogControl::CDialogControl(CDialog& dialog, const DialogItem& item, const Rect& rect)
    : dialog_(dialog), id_(item.id), rect_(rect), style_(item.style), text_(item.text) {}

void CDialogControl::SetWindowText(const std::string& text) {
  text_ = text;
  dialog_.Redraw();
}

void CDialogControl::SetFont(const CFont* font) {
  font_ = font;
  dialog_.Redraw();
}

void CStaticControl::Paint(CDC& dc, bool) {
  if ((style_ & 0xF) == SS_ICON) {
    DrawIcon(dc, rect_.left, rect_.top, icon_, dialog_.Scale());
    return;
  }
  Rect r = rect_;
  uint32_t format = DT_WORDBREAK | ((style_ & 0xF) == SS_CENTER ? DT_CENTER : DT_LEFT);
  if (style_ & SS_NOPREFIX) format |= DT_NOPREFIX;
  dc.DrawText(text_, r, format);
}

void CButtonControl::Paint(CDC& dc, bool focused) {
  using namespace syscolour;
  const int s = dialog_.Scale();
  if (!IsPushButton()) {
    // A group box: an etched frame whose top runs through the middle of
    // the caption's line.
    int half = font_ ? font_->Height() / 2 : 6 * s;
    Rect frame{rect_.left, rect_.top + half, rect_.right, rect_.bottom};
    DrawEtchedFrame(dc, frame, s);
    if (!text_.empty()) {
      Rect label{rect_.left + 8 * s, rect_.top, rect_.right - 8 * s, rect_.top + 2 * half + s};
      Rect measure = label;
      dc.DrawText(text_, measure, DT_SINGLELINE | DT_CALCRECT);
      dc.FillSolidRect({label.left - 2 * s, label.top, measure.right + 2 * s, label.bottom}, kFace);
      dc.DrawText(text_, label, DT_SINGLELINE | DT_LEFT);
    }
    return;
  }
  // The default button (or the focused push button) wears a black frame.
  CDialogControl* focus = dialog_.FocusedControl();
  bool framed = focused || (IsDefault() && !(focus && focus->IsPushButton()));
  Rect r = rect_;
  if (framed) {
    DrawEdgePair(dc, r, kDarkShadow, kDarkShadow, s);
    r = {r.left + s, r.top + s, r.right - s, r.bottom - s};
  }
  DrawButtonEdge(dc, r, pressed_, s);
  Rect text = r;
  if (pressed_) text = text.Offset(s, s);
  dc.DrawText(text_, text, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  if (focused) DrawFocusRect(dc, {r.left + 3 * s, r.top + 3 * s, r.right - 3 * s, r.bottom - 3 * s}, s);
}

void CButtonControl::OnKeyDown(uint32_t key) {
  if (key == VK_SPACE && IsPushButton()) dialog_.ButtonClicked(id_);
}

void CButtonControl::OnLButtonDown(Point) {
  pressed_ = true;
  dialog_.Redraw();
}

void CButtonControl::OnLButtonUp(Point point) {
  bool click = pressed_ && rect_.Contains(point);
  pressed_ = false;
  dialog_.Redraw();
  if (click) dialog_.ButtonClicked(id_);
}

void CEditControl::SetWindowText(const std::string& text) {
  text_ = text.substr(0, kDefaultLimit);
  caret_ = anchor_ = text_.size();
  scroll_ = 0;
  KeepCaretVisible();
  dialog_.Redraw();
}

void CEditControl::SetSel(int start, int end) {
  size_t size = text_.size();
  anchor_ = std::min(size_t(std::max(start, 0)), size);
  caret_ = end < 0 ? size : std::min(size_t(end), size);
  KeepCaretVisible();
  dialog_.Redraw();
}

std::string CEditControl::Shown() const { return (style_ & ES_PASSWORD) ? std::string(text_.size(), '*') : text_; }

int CEditControl::TextX(size_t index) const {
  if (!font_ || index == 0) return 0;
  return font_->GetTextExtent(std::string_view(Shown()).substr(0, index)).cx;
}

void CEditControl::KeepCaretVisible() {
  int inner = std::max(1, rect_.Width() - 6 * dialog_.Scale());
  int x = TextX(caret_);
  if (x - scroll_ > inner) scroll_ = x - inner;
  if (x < scroll_) scroll_ = x;
}

void CEditControl::ReplaceSelection(const std::string& with) {
  size_t start = size_t(SelStart()), end = size_t(SelEnd());
  std::string kept = text_.substr(0, start) + text_.substr(end);
  std::string inserted = with.substr(0, kDefaultLimit - std::min(kDefaultLimit, kept.size()));
  text_ = kept.substr(0, start) + inserted + kept.substr(start);
  caret_ = anchor_ = start + inserted.size();
  KeepCaretVisible();
  dialog_.Redraw();
}

void CEditControl::OnChar(uint32_t character) {
  if (character == '\b') {
    if (SelStart() == SelEnd()) {
      if (caret_ == 0) return;
      anchor_ = caret_ - 1;
    }
    ReplaceSelection("");
    return;
  }
  if (character < 0x20 || character == 0x7F || character > 0xFF) return;
  ReplaceSelection(std::string(1, char(character)));
}

void CEditControl::OnKeyDown(uint32_t key) {
  switch (key) {
    case VK_LEFT: caret_ = SelStart() != SelEnd() ? size_t(SelStart()) : (caret_ ? caret_ - 1 : 0); break;
    case VK_RIGHT: caret_ = SelStart() != SelEnd() ? size_t(SelEnd()) : std::min(caret_ + 1, text_.size()); break;
    case VK_HOME: caret_ = 0; break;
    case VK_END: caret_ = text_.size(); break;
    case VK_DELETE:
      if (SelStart() == SelEnd()) {
        if (caret_ >= text_.size()) return;
        anchor_ = caret_ + 1;
      }
      ReplaceSelection("");
      return;
    default: return;
  }
  anchor_ = caret_;
  KeepCaretVisible();
  dialog_.Redraw();
}

void CEditControl::OnLButtonDown(Point point) {
  int x = point.x - (rect_.left + 3 * dialog_.Scale()) + scroll_;
  size_t best = 0;
  for (size_t i = 0; i <= text_.size(); ++i)
    if (std::abs(TextX(i) - x) < std::abs(TextX(best) - x)) best = i;
  caret_ = anchor_ = best;
  KeepCaretVisible();
  dialog_.Redraw();
}

void CEditControl::Paint(CDC& dc, bool focused) {
  using namespace syscolour;
  const int s = dialog_.Scale();
  DrawSunkenEdge(dc, rect_, s);
  if (!font_) return;
  Rect inner{rect_.left + 2 * s, rect_.top + 2 * s, rect_.right - 2 * s, rect_.bottom - 2 * s};
  Rect savedClip = dc.ClipBox();
  dc.SetClip(savedClip.Intersect(inner));
  int x0 = rect_.left + 3 * s - scroll_;
  int y = inner.top + (inner.Height() - font_->Height()) / 2;
  std::string shown = Shown();
  dc.SetTextColor(kText);
  dc.TextOut(x0, y, shown);
  if (focused && SelStart() != SelEnd()) {
    int a = x0 + TextX(size_t(SelStart())), b = x0 + TextX(size_t(SelEnd()));
    dc.FillSolidRect({a, y, b, y + font_->Height()}, kSelection);
    dc.SetTextColor(kSelectionText);
    dc.TextOut(a, y, std::string_view(shown).substr(size_t(SelStart()), size_t(SelEnd() - SelStart())));
    dc.SetTextColor(kText);
  }
  if (focused) {
    int cx = x0 + TextX(caret_);
    dc.FillSolidRect({cx, y, cx + s, y + font_->Height()}, kText);
  }
  dc.SetClip(savedClip);
}

}  // namespace pellora
