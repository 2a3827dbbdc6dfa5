#include "app/show_player_app.h"

#include "app/main_frame.h"
#include "platform/backends/backends.h"
#include "platform/os/file.h"

namespace pellora {

std::optional<int> PlayShow(const ShowSource& source, std::string& error, const ViewerOptions& viewer) {
  std::unique_ptr<Backend> backend = CreateBackendFromEnvironment(error, viewer);
  if (!backend) return std::nullopt;
  InstallBackend(std::move(backend));
  int status;
  {
    CShowPlayerApp app(source);
    status = app.Run();
  }
  ReleaseBackend();
  return status;
}

CShowPlayerApp::CShowPlayerApp(ShowSource source) : CWinApp(kAppName), source_(std::move(source)) {
  tempDirectory = GetTempDirectory();
  fonts.Create();
}

CShowPlayerApp::~CShowPlayerApp() = default;

bool CShowPlayerApp::InitInstance() {
  exePath = source_.path;
  packageOffset = source_.offset;
  // Its absence is not an error: everything then draws with PaintDIB.
  videoBridge.LoadVideoBridge(videoLibrary);
  random.Seed(GetTickCount());
  frame_ = std::make_unique<CMainFrame>(*this);
  m_pMainWnd = frame_.get();
  if (!frame_->CreateFrame()) {
    m_pMainWnd = nullptr;
    frame_.reset();
    return false;
  }
  started_ = true;
  return true;
}

bool CShowPlayerApp::OnIdle(long) {
  if (mainFrame) mainFrame->SoundIdle();
  return true;
}

int CShowPlayerApp::ExitInstance() {
  // The frame's window is gone by now; the object follows it.
  frame_.reset();
  videoBridge.UnloadVideoBridge();
  // A show that never started (unreadable package, no window, a locked
  // show not opened) ends with a failure status.
  return started_ && !lockRefused ? CWinApp::ExitInstance() : 1;
}

}  // namespace pellora
