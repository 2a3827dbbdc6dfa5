#include "platform/message_box_dialog.h"

#include <algorithm>

#include "platform/dc.h"
#include "platform/dialog.h"
#include "platform/dialog_drawing.h"
#include "platform/kernel.h"
#include "platform/screen.h"
#include "platform/text.h"

namespace pellora {
namespace {

constexpr int kMargin = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;

int IconFor(MessageBoxIcon icon) {
  switch (icon) {
    case MessageBoxIcon::Error: return IDI_HAND;
    case MessageBoxIcon::Exclamation: return IDI_EXCLAMATION;
    case MessageBoxIcon::Information: return IDI_ASTERISK;
    default: return 0;
  }
}

// Lays the box out in pixels around the text as the dialog font sets it.
DialogTemplate MessageBoxTemplate(const std::string& text, const std::string& caption, MessageBoxIcon kind) {
  DialogTemplate t;
  t.caption = Utf8ToCp1252(caption);
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  t.pixelUnits = true;
  std::string body = Utf8ToCp1252(text);
  CFont font;
  font.CreateFont(-MulDiv(t.pointSize, GetLogPixelsY(), 72), FW_NORMAL, false, t.faceName);
  CFont bold;
  bold.CreateFont(-MulDiv(t.pointSize, GetLogPixelsY(), 72), FW_BOLD, false, t.faceName);
  int icon = IconFor(kind);
  int textLeft = kMargin + (icon ? kIconSize + kMargin : 0);
  int maxWidth = std::max(200, std::min(GetScreenSize().cx * 5 / 8, 480) - textLeft - kMargin);
  // Measure by laying the text out on a surface of no window.
  CDC measure(nullptr);
  measure.SelectFont(&font);
  // The box never outgrows the screen: what does not fit is cut.
  int maxHeight = std::max(GetScreenSize().cy - 4 * kMargin - 2 * kButtonHeight, font.Height());
  Rect textRect{0, 0, maxWidth, maxHeight};
  measure.DrawText(body, textRect, DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
  int textWidth = std::min(textRect.Width(), maxWidth);
  int textHeight = std::clamp(textRect.Height(), font.Height(), maxHeight);
  int contentHeight = std::max(textHeight, icon ? kIconSize : 0);
  int textTop = kMargin + (contentHeight - textHeight) / 2;
  int captionWidth = bold.GetTextExtent(t.caption).cx + 40;
  int width = std::max({textLeft + textWidth + kMargin, kButtonWidth + 2 * kMargin, captionWidth});
  int buttonTop = kMargin + contentHeight + kMargin;
  t.size = {width, buttonTop + kButtonHeight + kMargin};
  if (icon) t.items.push_back({ControlClass::Static, IDC_STATIC, "", {kMargin, kMargin, kMargin + 32, kMargin + 32}, SS_ICON, icon});
  t.items.push_back({ControlClass::Static, IDC_STATIC, body,
                     {textLeft, textTop, textLeft + textWidth + 1, textTop + textHeight}, SS_LEFT | SS_NOPREFIX});
  int buttonLeft = (width - kButtonWidth) / 2;
  t.items.push_back({ControlClass::Button, IDOK, "OK",
                     {buttonLeft, buttonTop, buttonLeft + kButtonWidth, buttonTop + kButtonHeight},
                     BS_DEFPUSHBUTTON | WS_TABSTOP});
  return t;
}

}  // namespace

int RunMessageBoxDialog(const std::string& text, const std::string& caption, MessageBoxIcon icon) {
  CDialog box(MessageBoxTemplate(text, caption, icon));
  box.DoModal();
  return IDOK;
}

}  // namespace pellora
