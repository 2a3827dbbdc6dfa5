#include "platform/ui/dialog.h"

#include "platform/base/mul_div.h"
#include "platform/draw/dc.h"
#include "platform/draw/screen.h"
#include "platform/ui/app.h"
#include "platform/ui/dialog_controls.h"
#include "platform/ui/dialog_drawing.h"
#include "platform/ui/message_box.h"
#include "platform/ui/window_dc.h"
#include "platform/ui/window_manager.h"

namespace pellora {

void DDX_Text(CDataExchange* pDX, int id, std::string& value) {
  if (pDX->failed) return;
  CDialogControl* control = pDX->m_pDlgWnd->GetDlgItem(id);
  if (!control) return;
  pDX->PrepareEditCtrl(id);
  if (pDX->m_bSaveAndValidate) value = control->GetWindowText();
  else control->SetWindowText(value);
}

void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int maxChars) {
  if (pDX->failed || !pDX->m_bSaveAndValidate || value.size() <= size_t(maxChars)) return;
  std::string message = kMaxCharsMessage;
  message.replace(message.find("%1"), 2, std::to_string(maxChars));
  AfxMessageBox(message, MB_ICONEXCLAMATION);
  pDX->Fail();
}

CDialog::CDialog(DialogTemplate dialogTemplate) : template_(std::move(dialogTemplate)), scale_(GetDialogScale()) {
  int height = -MulDiv(template_.pointSize, GetLogPixelsY(), 72);
  font_.CreateFont(height, FW_NORMAL, false, template_.faceName);
  captionFont_.CreateFont(height, FW_BOLD, false, template_.faceName);
  // The dialog manager's base units: the average width of the letters and
  // the cell height of the font at scale 1, so that a scaled dialog keeps
  // exactly its proportions whatever the rounding of the larger font.
  CFont unscaled;
  const CFont* measured = &font_;
  if (scale_ > 1 && unscaled.CreateFont(-MulDiv(template_.pointSize, 96, 72), FW_NORMAL, false, template_.faceName))
    measured = &unscaled;
  if (measured->IsLoaded()) {
    int letters = measured->GetTextExtent("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz").cx;
    baseUnits_ = {std::max(1, (letters / 26 + 1) / 2), std::max(1, measured->Height())};
  }
}

CDialog::~CDialog() { DestroyWindow(); }

Rect CDialog::MapDialogRect(const Rect& r) const {
  // Rounded at scale 1, then scaled: every scaled length is exactly the
  // scale times the one on an ordinary screen.
  const int s = scale_;
  return {MulDiv(r.left, baseUnits_.cx, 4) * s, MulDiv(r.top, baseUnits_.cy, 8) * s,
          MulDiv(r.right, baseUnits_.cx, 4) * s, MulDiv(r.bottom, baseUnits_.cy, 8) * s};
}

int CDialog::DoModal() {
  Rect client = template_.pixelUnits ? Rect{0, 0, template_.size.cx, template_.size.cy}
                                     : MapDialogRect({0, 0, template_.size.cx, template_.size.cy});
  WindowSpec spec;
  spec.title = template_.caption;
  spec.style = (template_.style | WS_POPUP) & ~uint32_t(WS_VISIBLE);
  const int frame = kDialogFrame * scale_;
  int caption = (template_.style & WS_CAPTION) == WS_CAPTION ? kCaptionHeight * scale_ : 0;
  spec.clientInsets = {frame, frame + caption, frame, frame};
  int width = client.Width() + 2 * frame, height = client.Height() + 2 * frame + caption;
  Size screen = GetScreenSize();
  spec.rect = {(screen.cx - width) / 2, (screen.cy - height) / 2, 0, 0};
  spec.rect.right = spec.rect.left + width;
  spec.rect.bottom = spec.rect.top + height;
  spec.background = syscolour::kFace;
  if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd) spec.owner = app->m_pMainWnd->m_hWnd;
  ended_ = false;
  result_ = IDCANCEL;
  if (!CreateFromSpec(spec)) return -1;
  CreateControls();
  SendMessage(WM_INITDIALOG);
  if (!ended_ && m_hWnd) {
    WindowManager& manager = WindowManager::Instance();
    HWND self = m_hWnd;
    ShowWindow(true);
    manager.PushModal(self);
    RunModalLoop([this] { return !ended_ && m_hWnd != 0; });
    manager.PopModal();
  }
  DestroyWindow();
  return result_;
}

void CDialog::EndDialog(int result) {
  result_ = result;
  ended_ = true;
}

void CDialog::CreateControls() {
  controls_.clear();
  focused_ = pressed_ = nullptr;
  for (const DialogItem& item : template_.items) {
    Rect r = template_.pixelUnits ? item.rect : MapDialogRect(item.rect);
    std::unique_ptr<CDialogControl> control;
    switch (item.cls) {
      case ControlClass::Static: control = std::make_unique<CStaticControl>(*this, item, r); break;
      case ControlClass::Edit: control = std::make_unique<CEditControl>(*this, item, r); break;
      case ControlClass::Button: control = std::make_unique<CButtonControl>(*this, item, r); break;
    }
    control->SetFont(&font_);
    controls_.push_back(std::move(control));
  }
}

CDialogControl* CDialog::GetDlgItem(int id) const {
  for (const auto& control : controls_)
    if (control->GetDlgCtrlID() == id) return control.get();
  return nullptr;
}

void CDialog::GotoDlgCtrl(CDialogControl* control) {
  if (!control) return;
  focused_ = control;
  control->OnFocus();
  Redraw();
}

bool CDialog::UpdateData(bool saveAndValidate) {
  CDataExchange exchange(*this, saveAndValidate);
  DoDataExchange(&exchange);
  if (exchange.failed) {
    GotoDlgCtrl(GetDlgItem(exchange.lastControl));
    return false;
  }
  return true;
}

bool CDialog::OnInitDialog() {
  UpdateData(false);
  for (const auto& control : controls_)
    if (control->TakesFocus()) {
      GotoDlgCtrl(control.get());
      break;
    }
  return true;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK() {
  if (!UpdateData(true)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::OnClose() { OnCancel(); }

void CDialog::CenterOn(const Rect& frame) {
  Rect r = GetWindowRect();
  int left = frame.left + (frame.Width() - r.Width()) / 2;
  int top = frame.top + (frame.Height() - r.Height()) / 2;
  MoveWindow({left, top, left + r.Width(), top + r.Height()}, false);
}

void CDialog::SetFontOfControls(const CFont* font) {
  for (const auto& control : controls_) control->SetFont(font);
}

LRESULT CDialog::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return OnInitDialog();
  return CWnd::WindowProc(message, wParam, lParam);
}

void CDialog::OnPaint() {
  CPaintDC dc(this);
  dc.FillSolidRect(GetClientRect(), syscolour::kFace);
  for (const auto& control : controls_) {
    dc.SelectFont(control->GetFont());
    dc.SetTextColor(syscolour::kText);
    control->Paint(dc, control.get() == focused_);
  }
}

Rect CDialog::CloseBoxRect() const {
  if ((template_.style & (WS_CAPTION | WS_SYSMENU)) != (WS_CAPTION | WS_SYSMENU)) return {};
  Rect window = GetWindowRect();
  Point origin = ClientOrigin();
  const int s = scale_;
  int right = window.Width() - (kDialogFrame + 2) * s, top = (kDialogFrame + 2) * s;
  return Rect{right - 16 * s, top, right, top + 14 * s}.Offset(-origin.x, -origin.y);
}

void CDialog::OnNcPaint(CDC& dc) {
  using namespace syscolour;
  const int s = scale_;
  Rect r{0, 0, GetWindowRect().Width(), GetWindowRect().Height()};
  DrawEdgePair(dc, r, kFace, kDarkShadow, s);
  DrawEdgePair(dc, {s, s, r.right - s, r.bottom - s}, kHighlight, kShadow, s);
  DrawEdgePair(dc, {2 * s, 2 * s, r.right - 2 * s, r.bottom - 2 * s}, kFace, kFace, s);
  if ((template_.style & WS_CAPTION) != WS_CAPTION) return;
  bool active = WindowManager::Instance().active == m_hWnd;
  const int frame = kDialogFrame * s;
  Rect bar{frame, frame, r.right - frame, frame + (kCaptionHeight - 1) * s};
  dc.FillSolidRect(bar, active ? kActiveCaption : kInactiveCaption);
  dc.FillSolidRect({bar.left, bar.bottom, bar.right, bar.bottom + s}, kFace);
  dc.SelectFont(&captionFont_);
  dc.SetTextColor(active ? kCaptionText : kInactiveCaptionText);
  Rect text{bar.left + 3 * s, bar.top, bar.right - 22 * s, bar.bottom};
  dc.DrawText(template_.caption, text, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  Rect box = CloseBoxRect();
  if (box.IsEmpty()) return;
  Point origin = ClientOrigin();
  box = box.Offset(origin.x, origin.y);
  DrawButtonEdge(dc, box, closePressed_, s);
  // The cross, two units thick, shifted when pressed.
  int shift = closePressed_ ? s : 0;
  int x0 = box.left + 4 * s + shift, y0 = box.top + 3 * s + shift;
  for (int i = 0; i < 7; ++i) {
    int y = y0 + i * s;
    dc.FillSolidRect({x0 + i * s, y, x0 + (i + 2) * s, y + s}, kText);
    dc.FillSolidRect({x0 + (6 - i) * s, y, x0 + (8 - i) * s, y + s}, kText);
  }
}

int CDialog::DefaultButtonId() const {
  for (const auto& control : controls_)
    if (auto* button = dynamic_cast<CButtonControl*>(control.get()); button && button->IsDefault())
      return button->GetDlgCtrlID();
  return IDOK;
}

void CDialog::FocusNext() {
  if (controls_.empty()) return;
  size_t start = 0;
  for (size_t i = 0; i < controls_.size(); ++i)
    if (controls_[i].get() == focused_) start = i + 1;
  for (size_t n = 0; n < controls_.size(); ++n) {
    CDialogControl* candidate = controls_[(start + n) % controls_.size()].get();
    if (candidate->TakesFocus()) {
      GotoDlgCtrl(candidate);
      return;
    }
  }
}

void CDialog::OnKeyDown(uint32_t key, uint32_t, uint32_t) {
  switch (key) {
    case VK_TAB: FocusNext(); return;
    case VK_RETURN:
      ButtonClicked(focused_ && focused_->IsPushButton() ? focused_->GetDlgCtrlID() : DefaultButtonId());
      return;
    case VK_ESCAPE: ButtonClicked(IDCANCEL); return;
    default:
      if (focused_) focused_->OnKeyDown(key);
  }
}

void CDialog::OnChar(uint32_t character, uint32_t, uint32_t) {
  if (character == '\r' || character == '\n' || character == 0x1B || character == '\t') return;
  if (focused_) focused_->OnChar(character);
}

void CDialog::OnLButtonDown(uint32_t, Point point) {
  pressed_ = nullptr;
  if (CloseBoxRect().Contains(point)) {
    closePressed_ = true;
    CWindowDC dc(this);
    OnNcPaint(dc);
    return;
  }
  for (const auto& control : controls_) {
    if (!control->TakesFocus() || !control->GetRect().Contains(point)) continue;
    focused_ = control.get();
    pressed_ = control.get();
    control->OnLButtonDown(point);
    Redraw();
    return;
  }
}

void CDialog::OnLButtonUp(uint32_t, Point point) {
  if (closePressed_) {
    closePressed_ = false;
    {
      CWindowDC dc(this);
      OnNcPaint(dc);
    }
    if (CloseBoxRect().Contains(point)) SendMessage(WM_CLOSE);
    return;
  }
  if (CDialogControl* control = pressed_) {
    pressed_ = nullptr;
    control->OnLButtonUp(point);
  }
}

void CDialog::ButtonClicked(int id) { SendMessage(WM_COMMAND, WPARAM(uint16_t(id))); }

bool CDialog::OnCommand(WPARAM wParam, LPARAM) {
  switch (int(wParam & 0xFFFF)) {
    case IDOK: OnOK(); return true;
    case IDCANCEL: OnCancel(); return true;
    default: return false;
  }
}

}  // namespace pellora
