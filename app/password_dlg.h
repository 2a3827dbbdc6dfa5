// CPasswordDlg: the password lock of a show whose document carries a
// password. One attempt: the show plays only when the typed text equals
// the password.
#pragma once

#include <string>

#include "platform/ui/dialog.h"

namespace pellora {

class CMainFrame;

constexpr int IDC_PASSWORD = 1064;
// The longest password the lock accepts.
constexpr int kMaxPasswordLength = 20;

inline constexpr char kWrongPasswordMessage[] = "Mot de passe incorrect. Accès au diaporama refusé.";

class CPasswordDlg : public CDialog {
 public:
  // The lock is centred on centre and written in dialogFont.
  CPasswordDlg(Rect centre, const CFont& dialogFont);
  std::string enteredPassword;  // Windows-1252, as typed

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;

 private:
  Rect centre_;
  const CFont& dialogFont_;
};

// Runs the lock for the frame's document over the frame; true when it
// opens. A wrong password is told in a message box; a cancel ends without
// one.
bool RunPasswordLock(CMainFrame& frame);

}  // namespace pellora
