#include "app/main_frame.h"

#include "app/package_loader.h"
#include "app/password_dlg.h"
#include "app/show_player_app.h"
#include "document/diapo_doc.h"
#include "music/mod_player.h"
#include "show/show_wnd.h"

namespace pellora {

CMainFrame::CMainFrame(CShowPlayerApp& app) : app_(app) { sound.tempDirectory = app.tempDirectory; }

CMainFrame::~CMainFrame() {
  DestroyWindow();
  // The show window's end stopped the sound; should it never have been
  // created, the sound's own end stops it.
  showWindow.reset();
  if (app_.mainFrame == this) app_.mainFrame = nullptr;
}

bool CMainFrame::CreateFrame() {
  WindowSpec spec;
  spec.title = kAppName;
  spec.style = WS_OVERLAPPEDWINDOW;
  spec.rect = {0, 0, 640, 480};
  return CreateFromSpec(spec);
}

int CMainFrame::OnCreate() {
  app_.mainFrame = this;
  showWindow = std::make_unique<CShowWnd>(*this, sound);
  showDocument = std::make_unique<CDiapoDoc>();
  showDocument->tempDirectory = app_.tempDirectory;
  if (!LoadShowPackage(*showDocument, app_.exePath, app_.packageOffset)) return -1;
  if (!showWindow->CreateFullScreen(this)) return -1;
  showWindow->ShowWindow(true);
  showWindow->UpdateWindow();
  if (!showDocument->password.empty() && !RunPasswordLock(*this)) {
    app_.lockRefused = true;
    PostMessage(WM_CLOSE);
    return 0;
  }
  showWindow->StartShow(showDocument.get());
  return 0;
}

void CMainFrame::OnDestroy() {
  if (showDocument) {
    showDocument->DeleteContents();
    showDocument.reset();
  }
}

void CMainFrame::SoundIdle() {
  if (IsIconic() || !showWindow) return;
  sound.SoundIdle(*showWindow);
}

void CMainFrame::CloseProgram() { PostMessage(WM_CLOSE); }

CWnd& CMainFrame::PaletteOwner() { return *this; }

Rect CMainFrame::CentringRect() {
  return showWindow && showWindow->m_hWnd ? showWindow->GetWindowRect() : GetWindowRect();
}

RandomGenerator& CMainFrame::Random() { return app_.random; }

const DialogFonts& CMainFrame::Fonts() { return app_.fonts; }

VideoBridge& CMainFrame::Bridge() { return app_.videoBridge; }

LRESULT CMainFrame::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case MM_MCINOTIFY: sound.OnMciNotify(MCIDEVICEID(lParam)); return 0;
    // Hands the block back to the player that queued it, if that player
    // still exists, and frees it.
    case MM_WOM_DONE: ModWaveDone(wParam, lParam); return 0;
    default: return CWnd::WindowProc(message, wParam, lParam);
  }
}

}  // namespace pellora
