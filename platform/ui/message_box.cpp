#include "platform/ui/message_box.h"

#include <algorithm>

#include "platform/base/mul_div.h"
#include "platform/base/text.h"
#include "platform/draw/dc.h"
#include "platform/draw/screen.h"
#include "platform/os/report.h"
#include "platform/ui/app.h"
#include "platform/ui/dialog.h"
#include "platform/ui/dialog_drawing.h"
#include "platform/ui/window_manager.h"

namespace pellora {
namespace {

// At dialog scale 1; they grow with the scale as the font does.
constexpr int kMargin = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;

IconPainter IconFor(MessageBoxIcon icon) {
  switch (icon) {
    case MessageBoxIcon::Error: return PaintHandIcon;
    case MessageBoxIcon::Exclamation: return PaintExclamationIcon;
    case MessageBoxIcon::Information: return PaintAsteriskIcon;
    default: return nullptr;
  }
}

// Lays the box out in pixels around the text as the dialog font sets it.
DialogTemplate MessageBoxTemplate(const std::string& text, const std::string& caption, MessageBoxIcon kind) {
  const int s = GetDialogScale();
  const int margin = kMargin * s, buttonWidth = kButtonWidth * s, buttonHeight = kButtonHeight * s;
  const int iconSize = kIconSize * s;
  DialogTemplate t;
  t.caption = Utf8ToCp1252(caption);
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  t.pixelUnits = true;
  std::string body = Utf8ToCp1252(text);
  CFont font;
  font.CreateFont(-MulDiv(t.pointSize, GetLogPixelsY(), 72), FW_NORMAL, false, t.faceName);
  CFont bold;
  bold.CreateFont(-MulDiv(t.pointSize, GetLogPixelsY(), 72), FW_BOLD, false, t.faceName);
  IconPainter icon = IconFor(kind);
  int textLeft = margin + (icon ? iconSize + margin : 0);
  int maxWidth = std::max(200 * s, std::min(GetScreenSize().cx * 5 / 8, 480 * s) - textLeft - margin);
  // Measure by laying the text out on a surface of no window.
  CDC measure;
  measure.SelectFont(&font);
  // The box never outgrows the screen: what does not fit is cut.
  int maxHeight = std::max(GetScreenSize().cy - 4 * margin - 2 * buttonHeight, font.Height());
  Rect textRect{0, 0, maxWidth, maxHeight};
  measure.DrawText(body, textRect, DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
  int textWidth = std::min(textRect.Width(), maxWidth);
  int textHeight = std::clamp(textRect.Height(), font.Height(), maxHeight);
  int contentHeight = std::max(textHeight, icon ? iconSize : 0);
  int textTop = margin + (contentHeight - textHeight) / 2;
  int captionWidth = bold.GetTextExtent(t.caption).cx + 40 * s;
  int width = std::max({textLeft + textWidth + margin, buttonWidth + 2 * margin, captionWidth});
  int buttonTop = margin + contentHeight + margin;
  t.size = {width, buttonTop + buttonHeight + margin};
  if (icon)
    t.items.push_back(
        {ControlClass::Static, IDC_STATIC, "", {margin, margin, margin + iconSize, margin + iconSize}, SS_ICON, icon});
  t.items.push_back({ControlClass::Static, IDC_STATIC, body,
                     {textLeft, textTop, textLeft + textWidth + s, textTop + textHeight}, SS_LEFT | SS_NOPREFIX});
  int buttonLeft = (width - buttonWidth) / 2;
  t.items.push_back({ControlClass::Button, IDOK, "OK",
                     {buttonLeft, buttonTop, buttonLeft + buttonWidth, buttonTop + buttonHeight},
                     BS_DEFPUSHBUTTON | WS_TABSTOP});
  return t;
}

// The box only tells: Enter, Escape or a click of any button anywhere on
// the screen dismisses it. It takes the mouse while it is up, so that a
// click beside it counts too.
class CMessageBoxDialog : public CDialog {
 public:
  using CDialog::CDialog;

 protected:
  bool OnInitDialog() override {
    CDialog::OnInitDialog();
    WindowManager& manager = WindowManager::Instance();
    previousCapture_ = manager.capture;
    manager.capture = m_hWnd;
    return true;
  }
  void OnDestroy() override {
    WindowManager& manager = WindowManager::Instance();
    if (manager.capture == m_hWnd) manager.capture = previousCapture_;
    CDialog::OnDestroy();
  }
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN: buttonDown_ = true; break;
      case WM_LBUTTONUP:
      case WM_RBUTTONUP:
      case WM_MBUTTONUP:
        // The release of a press that began on the box ends it.
        if (buttonDown_) {
          EndDialog(IDOK);
          return 0;
        }
        break;
      default: break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
  }

 private:
  HWND previousCapture_ = 0;
  bool buttonDown_ = false;
};

}  // namespace

int RunMessageBoxDialog(const std::string& text, const std::string& caption, MessageBoxIcon icon) {
  CMessageBoxDialog box(MessageBoxTemplate(text, caption, icon));
  box.DoModal();
  return IDOK;
}

int MessageBox(HWND, const std::string& text, const std::string& caption, uint32_t type) {
  MessageBoxIcon icon = MessageBoxIcon::None;
  switch (type & 0xF0) {
    case MB_ICONERROR: icon = MessageBoxIcon::Error; break;
    case MB_ICONEXCLAMATION: icon = MessageBoxIcon::Exclamation; break;
    case MB_ICONINFORMATION: icon = MessageBoxIcon::Information; break;
  }
  WindowManager& manager = WindowManager::Instance();
  manager.PresentIfDirty();
  Backend& backend = CurrentBackend();
  // Over a screen that shows windows, the box is drawn as a dialog on it;
  // its text still goes to the error stream.
  if (backend.DrawsMessageBoxes() && manager.AnyVisible()) {
    ReportLine(caption + ": " + text);
    return RunMessageBoxDialog(text, caption, icon);
  }
  // Where no native box can be shown (no window manager, for one), the
  // platform's own box is drawn on the black screen and waited for.
  if (!backend.ShowMessageBox(text, caption, icon)) return RunMessageBoxDialog(text, caption, icon);
  return IDOK;
}

int AfxMessageBox(const std::string& text, uint32_t type) {
  CWinApp* app = AfxGetApp();
  return MessageBox(0, text, app ? app->AppName() : std::string(), type);
}

}  // namespace pellora
