#include "app/main_frame.h"

#include "app/diapo_doc.h"
#include "app/globals.h"
#include "app/package_loader.h"
#include "app/password_dlg.h"
#include "music/mod_player.h"
#include "show/show_wnd.h"
#include "show/sound.h"

namespace pellora {

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame() {
  DestroyWindow();
  showWindow.reset();
  // The show window's end stopped the sound; should it never have been
  // created, nothing may stay behind either.
  if (mainFrame == this) StopSound();
  if (modulePlayer) {
    modulePlayer->Stop();
    modulePlayer.reset();
  }
  if (mainFrame == this) mainFrame = nullptr;
}

bool CMainFrame::CreateFrame() {
  WindowSpec spec;
  spec.title = kAppName;
  spec.style = WS_OVERLAPPEDWINDOW;
  spec.rect = {0, 0, 640, 480};
  return CreateFromSpec(spec);
}

int CMainFrame::OnCreate() {
  mainFrame = this;
  showWindow = std::make_unique<CShowWnd>();
  document_ = std::make_unique<CDiapoDoc>();
  showDocument = document_.get();
  if (!LoadShowPackage(*showDocument)) return -1;
  if (!showWindow->CreateFullScreen(this)) return -1;
  showWindow->ShowWindow(true);
  showWindow->UpdateWindow();
  if (!showDocument->password.empty() && !RunPasswordLock(*showDocument)) {
    PostMessage(WM_CLOSE);
    return 0;
  }
  showWindow->StartShow(showDocument);
  return 0;
}

void CMainFrame::OnDestroy() {
  if (document_) {
    document_->DeleteContents();
    document_.reset();
    showDocument = nullptr;
  }
}

}  // namespace pellora
