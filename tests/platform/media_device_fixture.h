// The fixture of the media device tests: a window that records the
// notifications it receives, on a fresh headless backend.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/audio/media_device.h"
#include "platform/headless/headless_backend.h"
#include "platform/ui/app.h"
#include "platform/ui/window.h"
#include "platform/ui/window_manager.h"
#include "tests/support/test_support.h"

namespace pellora::test {

// Remembers the media notifications it receives, with their time.
class NotifyWindow : public CWnd {
 public:
  bool Create() {
    WindowSpec spec;
    spec.style = WS_POPUP;
    return CreateFromSpec(spec);
  }
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override {
    if (message == MM_MCINOTIFY) {
      codes.push_back(uint32_t(wParam));
      devices.push_back(MCIDEVICEID(lParam));
      times.push_back(CurrentBackend().Now());
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
  std::vector<uint32_t> codes;
  std::vector<MCIDEVICEID> devices;
  std::vector<uint64_t> times;
};

class MediaDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WindowManager::Instance().Reset();
    auto backend = std::make_unique<HeadlessBackend>(HeadlessBackend::Options{});
    headless = backend.get();
    InstallBackend(std::move(backend));
    ASSERT_TRUE(window.Create());
  }
  void TearDown() override {
    window.DestroyWindow();
    WindowManager::Instance().Reset();
    InstallBackend(nullptr);
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    std::string path = dir.File(name);
    test::WriteFile(path, bytes);
    return path;
  }
  // Runs the messages until the virtual clock reaches `ms`.
  void RunUntil(uint64_t ms) {
    RunModalLoop([ms] { return CurrentBackend().Now() < ms; });
  }

  test::TempDir dir;
  HeadlessBackend* headless = nullptr;
  NotifyWindow window;
};

}  // namespace pellora::test
