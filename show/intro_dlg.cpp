#include "show/intro_dlg.h"

#include "platform/base/text.h"
#include "platform/ui/dialog_controls.h"
#include "show/dialog_fonts.h"

namespace pellora {
namespace {

DialogTemplate IntroTemplate() {
  DialogTemplate t;
  t.style = WS_POPUP | WS_VISIBLE | DS_MODALFRAME;
  t.size = {211, 78};
  t.items = {
      {ControlClass::Static, IDC_INTRO_TITLE, "", {3, 3, 3 + 206, 3 + 18}, SS_CENTER},
      {ControlClass::Static, IDC_INTRO_DESCRIPTION, "", {15, 34, 15 + 178, 34 + 26}, SS_CENTER},
      {ControlClass::Static, IDC_INTRO_NOTICE, "", {17, 23, 17 + 175, 23 + 10}, SS_CENTER},
      {ControlClass::Static, IDC_INTRO_CREDIT, Utf8ToCp1252("(Diaporama réalisé avec Quorvel Pellora 1.0)"),
       {20, 65, 20 + 169, 65 + 9}, SS_CENTER},
      {ControlClass::Button, IDC_STATIC, "", {15, 59, 15 + 180, 59 + 18}, BS_GROUPBOX},
  };
  return t;
}

}  // namespace

CIntroDlg::CIntroDlg(Rect centre, const DialogFonts& fonts)
    : CDialog(IntroTemplate()), centre_(centre), fonts_(fonts) {}

bool CIntroDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  CenterOn(centre_);
  const CFont& dialogFont = fonts_.dialogFont;
  if (dialogFont.IsLoaded()) SetFontOfControls(&dialogFont);
  tickCount = 0;
  // Without a timer the card stays until a key or a click.
  timerId = SetTimer(kTimerId, 1000);
  if (CDialogControl* c = GetDlgItem(IDC_INTRO_TITLE); c && fonts_.titleFont.IsLoaded()) c->SetFont(&fonts_.titleFont);
  if (CDialogControl* c = GetDlgItem(IDC_INTRO_DESCRIPTION); c && dialogFont.IsLoaded()) c->SetFont(&dialogFont);
  if (CDialogControl* c = GetDlgItem(IDC_INTRO_NOTICE); c && fonts_.noticeFont.IsLoaded()) c->SetFont(&fonts_.noticeFont);
  return true;
}

void CIntroDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Text(pDX, IDC_INTRO_TITLE, title);
  DDX_Text(pDX, IDC_INTRO_DESCRIPTION, description);
  DDX_Text(pDX, IDC_INTRO_NOTICE, notice);
}

void CIntroDlg::OnKeyDown(uint32_t key, uint32_t repeat, uint32_t flags) {
  EndDialog(IDOK);
  CWnd::OnKeyDown(key, repeat, flags);
}

void CIntroDlg::OnLButtonDown(uint32_t flags, Point point) {
  EndDialog(IDOK);
  CWnd::OnLButtonDown(flags, point);
}

void CIntroDlg::OnTimer(uintptr_t id) {
  CDialog::OnTimer(id);
  if (++tickCount == kSecondsShown) PostMessage(WM_CLOSE);
}

void CIntroDlg::OnDestroy() {
  KillTimer(timerId);
  CDialog::OnDestroy();
}

}  // namespace pellora
