#include "app/password_dlg.h"

#include "app/main_frame.h"
#include "app/show_player_app.h"
#include "document/diapo_doc.h"
#include "platform/base/text.h"
#include "platform/ui/dialog_drawing.h"
#include "platform/ui/message_box.h"

namespace pellora {
namespace {

// The lock's icon (the resource 153 of the original): a padlock.
void PaintLock(uint32_t* p) {
  constexpr uint32_t kOutline = 0x000000, kSteel = 0xC0C0C0, kSteelDark = 0x808080;
  constexpr uint32_t kBrass = 0xFFFF00, kBrassDark = 0x808000;
  // The shackle: a thick arch with two legs.
  for (int y = 2; y < 16; ++y)
    for (int x = 5; x < 27; ++x) {
      double dx = x + 0.5 - 16.0, dy = y + 0.5 - 12.0;
      double d2 = dx * dx + (dy < 0 ? dy * dy : 0.0);
      if (d2 <= 10.5 * 10.5 && d2 >= 6.5 * 6.5) {
        bool edge = d2 > 9.6 * 9.6 || d2 < 7.4 * 7.4;
        p[y * kIconSize + x] = edge ? kOutline : (dx > 0 ? kSteelDark : kSteel);
      }
    }
  // The body with its outline, shading and keyhole.
  FillIconRect(p, 4, 14, 28, 31, kOutline);
  FillIconRect(p, 5, 15, 27, 30, kBrass);
  FillIconRect(p, 23, 15, 27, 30, kBrassDark);
  FillIconRect(p, 5, 27, 27, 30, kBrassDark);
  FillIconDisc(p, 16, 20.5, 2.5, kOutline);
  FillIconRect(p, 15, 21, 17, 26, kOutline);
}

DialogTemplate PasswordTemplate() {
  DialogTemplate t;
  t.caption = "Mot de passe";
  t.style = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  t.size = {225, 62};
  t.items = {
      {ControlClass::Static, IDC_STATIC, Utf8ToCp1252("Ce Diaporama est verrouillé par mot de passe."),
       {38, 9, 38 + 94, 9 + 20}, SS_LEFT},
      {ControlClass::Edit, IDC_PASSWORD, "", {87, 39, 87 + 73, 39 + 12},
       ES_PASSWORD | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
      {ControlClass::Button, IDOK, "OK", {172, 6, 172 + 46, 6 + 14}, BS_DEFPUSHBUTTON | WS_TABSTOP},
      {ControlClass::Button, IDCANCEL, "Annuler", {172, 25, 172 + 46, 25 + 14}, BS_PUSHBUTTON | WS_TABSTOP},
      {ControlClass::Static, IDC_STATIC, "", {9, 9, 9 + 20, 9 + 20}, SS_ICON, PaintLock},
      {ControlClass::Static, IDC_STATIC, "&Mot de passe :", {39, 41, 39 + 45, 41 + 8}, SS_LEFT},
  };
  return t;
}

}  // namespace

CPasswordDlg::CPasswordDlg(Rect centre, const CFont& dialogFont)
    : CDialog(PasswordTemplate()), centre_(centre), dialogFont_(dialogFont) {}

bool CPasswordDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  CenterOn(centre_);
  if (dialogFont_.IsLoaded()) SetFontOfControls(&dialogFont_);
  return true;
}

void CPasswordDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Text(pDX, IDC_PASSWORD, enteredPassword);
  DDV_MaxChars(pDX, enteredPassword, kMaxPasswordLength);
}

bool RunPasswordLock(CMainFrame& frame) {
  CPasswordDlg lock(frame.CentringRect(), frame.Fonts().dialogFont);
  if (lock.DoModal() != IDOK) return false;
  if (frame.showDocument && lock.enteredPassword == frame.showDocument->password) return true;
  MessageBox(frame.m_hWnd, kWrongPasswordMessage, kAppName, MB_ICONERROR);
  return false;
}

}  // namespace pellora
