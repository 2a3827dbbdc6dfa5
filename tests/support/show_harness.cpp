#include "tests/support/show_harness.h"

#include <gtest/gtest.h>

#include "app/main_frame.h"
#include "app/show_player_app.h"
#include "document/diapo_doc.h"
#include "platform/ui/app.h"
#include "platform/ui/window.h"
#include "show/show_wnd.h"
#include "tools/lib/package_writer.h"
#include "tools/lib/show_description.h"

namespace pellora::test {

std::string SolidBmp(int width, int height, uint8_t red, uint8_t green, uint8_t blue) {
  size_t stride = size_t((24 * width + 31) / 32 * 4);
  uint32_t imageSize = uint32_t(stride * size_t(height));
  Bytes b;
  b.Raw("BM").DWord(54 + imageSize).DWord(0).DWord(54);
  b.DWord(40).DWord(uint32_t(width)).DWord(uint32_t(height)).Word(1).Word(24).DWord(0).DWord(imageSize);
  b.DWord(2835).DWord(2835).DWord(0).DWord(0);
  std::string row;
  for (int x = 0; x < width; ++x) row += std::string{char(blue), char(green), char(red)};
  row.resize(stride, '\0');
  for (int y = 0; y < height; ++y) b.Raw(row);
  return b.str();
}

std::string PackShow(const TempDir& dir, const std::string& json) {
  std::string description = dir.File("show.json");
  WriteFile(description, json);
  std::string error;
  std::unique_ptr<CDiapoDoc> document = tools::BuildShowFromDescription(description, error);
  if (!document) {
    ADD_FAILURE() << "cannot build the show: " << error;
    return "";
  }
  std::string package = dir.File("show.pkg");
  if (!tools::WriteBarePackage(*document, package, error)) {
    ADD_FAILURE() << "cannot write the package: " << error;
    return "";
  }
  return package;
}

HeadlessShow::HeadlessShow(Size screen, bool drawMessageBoxes, bool nativeMessageBoxes) {
  ResetPlatform();
  HeadlessBackend::Options options;
  options.screen = screen;
  options.drawMessageBoxes = drawMessageBoxes;
  options.nativeMessageBoxes = nativeMessageBoxes;
  auto backend = std::make_unique<HeadlessBackend>(options);
  backend_ = backend.get();
  backend_->onCursor = [this](CursorKind cursor) { cursors_.push_back(cursor); };
  InstallBackend(std::move(backend));
}

HeadlessShow::~HeadlessShow() {
  ReleaseBackend();
  ResetPlatform();
}

void HeadlessShow::Script(const std::string& lines) {
  std::string error;
  if (!backend_->AddScript(lines, error)) ADD_FAILURE() << error;
}

void HeadlessShow::At(uint64_t ms, std::function<void()> action) { backend_->ScheduleAction(ms, std::move(action)); }

int HeadlessShow::Run(const std::string& packagePath, uint64_t limitMs) {
  // A show that never ends is asked to quit.
  backend_->ScheduleAction(limitMs, [this] {
    InputEvent quit;
    quit.kind = InputEvent::Kind::Quit;
    backend_->Schedule(backend_->Now(), quit);
  });
  int status;
  {
    CShowPlayerApp app(ShowSource{packagePath, 0});
    if (!videoLibrary.empty()) app.videoLibrary = videoLibrary;
    status = app.Run();
  }
  endTime_ = backend_->Now();
  return status;
}

std::string PackOneSlideShow(const TempDir& dir, const std::string& fields) {
  WriteFile(dir.File("red.bmp"), SolidBmp(16, 16, 255, 0, 0));
  return PackShow(dir, "{" + fields + R"(, "slides": [{"picture": "red.bmp", "advance": "manual"}]})");
}

std::shared_ptr<bool> ShowStartedAt(HeadlessShow& show, uint64_t ms) {
  auto started = std::make_shared<bool>(false);
  show.At(ms, [started] { *started = ShowWindow() && ShowWindow()->document; });
  return started;
}

void ClickOnActiveWindow(HeadlessShow& show, uint64_t ms, std::function<Rect(CWnd&)> where) {
  show.At(ms, [&show, where] {
    CWnd* active = CWnd::GetActiveWindow();
    ASSERT_NE(active, nullptr);
    Rect r = where(*active);
    Rect w = active->GetWindowRect();
    Point o = active->ClientOrigin();
    InputEvent e;
    e.kind = InputEvent::Kind::MouseDown;
    e.point = {w.left + o.x + (r.left + r.right) / 2, w.top + o.y + (r.top + r.bottom) / 2};
    show.Backend().Schedule(show.Backend().Now() + 10, e);
    e.kind = InputEvent::Kind::MouseUp;
    show.Backend().Schedule(show.Backend().Now() + 20, e);
  });
}

CMainFrame* MainFrame() {
  auto* app = dynamic_cast<CShowPlayerApp*>(AfxGetApp());
  return app ? app->mainFrame : nullptr;
}

CShowWnd* ShowWindow() {
  CMainFrame* frame = MainFrame();
  return frame && frame->showWindow ? frame->showWindow.get() : nullptr;
}

}  // namespace pellora::test
