#include "app/dialog_support.h"

#include "app/globals.h"
#include "app/main_frame.h"
#include "platform/dialog.h"
#include "platform/kernel.h"
#include "platform/screen.h"
#include "show/show_wnd.h"

namespace pellora {

CFont dialogFont;
CFont titleFont;
CFont noticeFont;

namespace {
int FontHeight(int points) { return -MulDiv(points, GetLogPixelsY(), 72); }
}  // namespace

void CreateDialogFonts() {
  dialogFont.CreateFont(FontHeight(8), FW_NORMAL, false, "MS Sans Serif");
  titleFont.CreateFont(FontHeight(20), FW_NORMAL, true, "Times New Roman");
  noticeFont.CreateFont(FontHeight(9), FW_BOLD, false, "Arial");
}

void CenterOnShowWindow(CDialog& dialog) {
  Rect frame;
  if (mainFrame && mainFrame->showWindow && mainFrame->showWindow->m_hWnd) frame = mainFrame->showWindow->GetWindowRect();
  else if (mainFrame) frame = mainFrame->GetWindowRect();
  else return;
  dialog.CenterOn(frame);
}

}  // namespace pellora
