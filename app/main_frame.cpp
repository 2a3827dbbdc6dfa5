#include "app/main_frame.h"

#include <cstdio>

#include "app/diapo_doc.h"
#include "app/globals.h"
#include "app/package_loader.h"
#include "platform/file.h"
#include "platform/text.h"

namespace pellora {

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame() {
  DestroyWindow();
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
  document_ = std::make_unique<CDiapoDoc>();
  showDocument = document_.get();
  if (!LoadShowPackage(*showDocument)) return -1;
  // The show window comes with the presentation; until then the player
  // reports what it loaded and ends.
  std::printf("%s: \"%s\", %zu slide(s)\n", FileTitle(exePath).c_str(), Cp1252ToUtf8(showDocument->title).c_str(),
              showDocument->slides.size());
  PostMessage(WM_CLOSE);
  return 0;
}

void CMainFrame::OnDestroy() {
  if (document_) {
    document_->DeleteContents();
    document_.reset();
    showDocument = nullptr;
  }
}

void CMainFrame::SoundIdle() {}

}  // namespace pellora
