#include "tests/support/show_harness.h"

#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/main_frame.h"
#include "app/show_player_app.h"
#include "document/diapo_doc.h"
#include "image/colour_reduction.h"
#include "platform/palette.h"
#include "platform/screen.h"
#include "platform/window_manager.h"
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

void ResetPlatform() {
  WindowManager::Instance().Reset();
  SystemPalette::Instance().Reset();
  SetScreenDepthOverride(0);
  ResetDisplayDepth();
  showActive = false;
  keyNavigation = false;
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
    status = app.Run();
  }
  endTime_ = backend_->Now();
  return status;
}

CShowWnd* ShowWindow() { return mainFrame && mainFrame->showWindow ? mainFrame->showWindow.get() : nullptr; }

}  // namespace pellora::test
