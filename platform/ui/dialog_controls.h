// The controls of a dialog, drawn by their dialog rather than being
// windows of their own: static text and icons, push buttons and group
// boxes, and the single-line edit box.
#pragma once

#include <string>

#include "platform/ui/dialog.h"

namespace pellora {

class CDC;

class CDialogControl {
 public:
  CDialogControl(CDialog& dialog, const DialogItem& item, const Rect& rect);
  virtual ~CDialogControl() = default;
  CDialogControl(const CDialogControl&) = delete;
  CDialogControl& operator=(const CDialogControl&) = delete;

  int GetDlgCtrlID() const { return id_; }
  const Rect& GetRect() const { return rect_; }
  uint32_t Style() const { return style_; }
  const std::string& GetWindowText() const { return text_; }
  virtual void SetWindowText(const std::string& text);
  void SetFont(const CFont* font);
  const CFont* GetFont() const { return font_; }

  virtual bool TakesFocus() const { return false; }
  virtual bool IsPushButton() const { return false; }
  virtual void Paint(CDC& dc, bool focused) = 0;
  virtual void OnFocus() {}
  virtual void OnChar(uint32_t) {}
  virtual void OnKeyDown(uint32_t) {}
  virtual void OnLButtonDown(Point) {}
  virtual void OnLButtonUp(Point) {}

 protected:
  CDialog& dialog_;
  int id_;
  Rect rect_;
  uint32_t style_;
  std::string text_;
  const CFont* font_ = nullptr;
};

// Static text (left aligned or centred, broken into lines) or an icon.
class CStaticControl : public CDialogControl {
 public:
  CStaticControl(CDialog& dialog, const DialogItem& item, const Rect& rect)
      : CDialogControl(dialog, item, rect), icon_(item.icon) {}
  void Paint(CDC& dc, bool focused) override;

 private:
  IconPainter icon_;
};

// Push buttons (the default one framed in black) and group boxes.
class CButtonControl : public CDialogControl {
 public:
  using CDialogControl::CDialogControl;
  bool TakesFocus() const override { return IsPushButton() && (style_ & WS_TABSTOP); }
  bool IsPushButton() const override { return (style_ & 0xF) != BS_GROUPBOX; }
  bool IsDefault() const { return (style_ & 0xF) == BS_DEFPUSHBUTTON; }
  void Paint(CDC& dc, bool focused) override;
  void OnKeyDown(uint32_t key) override;
  void OnLButtonDown(Point point) override;
  void OnLButtonUp(Point point) override;

 private:
  bool pressed_ = false;
};

// A single-line edit box with a caret and a selection; with ES_PASSWORD it
// shows one asterisk per character.
class CEditControl : public CDialogControl {
 public:
  // The longest text the box takes by default.
  static constexpr size_t kDefaultLimit = 30000;

  using CDialogControl::CDialogControl;
  bool TakesFocus() const override { return true; }
  void SetWindowText(const std::string& text) override;
  // Selects [start, end); end -1 means the end of the text.
  void SetSel(int start, int end);
  int SelStart() const { return int(std::min(anchor_, caret_)); }
  int SelEnd() const { return int(std::max(anchor_, caret_)); }
  void Paint(CDC& dc, bool focused) override;
  void OnFocus() override { SetSel(0, -1); }
  void OnChar(uint32_t character) override;
  void OnKeyDown(uint32_t key) override;
  void OnLButtonDown(Point point) override;

 private:
  std::string Shown() const;
  int TextX(size_t index) const;
  void ReplaceSelection(const std::string& with);
  void KeepCaretVisible();

  size_t caret_ = 0;
  size_t anchor_ = 0;
  int scroll_ = 0;
};

}  // namespace pellora
