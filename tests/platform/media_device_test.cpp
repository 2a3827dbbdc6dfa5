// The media control interface: devices opened by identifier, the end of
// a sound reported to a window (in virtual time on the headless backend,
// in real time through SDL_mixer on SDL's silent audio driver), and the
// files no device takes.
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <thread>

#include "platform/app.h"
#include "platform/headless/headless_backend.h"
#include "platform/media_device.h"
#include "platform/sdl/sdl_media_device.h"
#include "platform/window.h"
#include "platform/window_manager.h"
#include "tests/support/sound_files.h"
#include "tests/support/test_support.h"

namespace pellora {
namespace {

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

TEST_F(MediaDeviceTest, TheHeadlessDeviceReportsTheEndAfterTheFilesPlayingTime) {
  for (const auto& [name, bytes] : {std::pair{"a.wav", test::ToneWav(1.5)}, std::pair{"a.mid", test::NoteMidi(1.5)}}) {
    SCOPED_TRACE(name);
    window.codes.clear();
    window.devices.clear();
    window.times.clear();
    uint64_t start = headless->Now();
    MCIDEVICEID id = MciOpenElement(Write(name, bytes));
    ASSERT_NE(id, 0);
    EXPECT_TRUE(MciSetTimeFormat(id, MCI_FORMAT_MILLISECONDS));
    ASSERT_TRUE(MciPlay(id, window.m_hWnd));
    RunUntil(start + 4000);
    ASSERT_EQ(window.times.size(), 1u);
    EXPECT_EQ(window.times[0], start + 1500);
    EXPECT_EQ(window.codes[0], MCI_NOTIFY_SUCCESSFUL);
    EXPECT_EQ(window.devices[0], id);
    EXPECT_TRUE(MciClose(id));
  }
}

TEST_F(MediaDeviceTest, AStoppedOrClosedDeviceReportsNothing) {
  std::string wav = Write("a.wav", test::ToneWav(1));
  MCIDEVICEID stopped = MciOpenElement(wav);
  MCIDEVICEID closed = MciOpenElement(wav);
  ASSERT_TRUE(MciPlay(stopped, window.m_hWnd));
  ASSERT_TRUE(MciPlay(closed, window.m_hWnd));
  headless->ScheduleAction(500, [&] {
    MciStop(stopped);
    MciClose(closed);
  });
  RunUntil(3000);
  EXPECT_TRUE(window.times.empty());
  // Played again after the stop, it reports its end.
  ASSERT_TRUE(MciPlay(stopped, window.m_hWnd));
  RunUntil(5000);
  EXPECT_EQ(window.devices, std::vector<MCIDEVICEID>{stopped});
  EXPECT_TRUE(MciClose(stopped));
  EXPECT_FALSE(MciClose(closed));
}

TEST_F(MediaDeviceTest, IdentifiersAreNotReusedAtOnce) {
  std::string wav = Write("a.wav", test::ToneWav(0.1));
  std::set<MCIDEVICEID> seen;
  for (int i = 0; i < 50; ++i) {
    MCIDEVICEID id = MciOpenElement(wav);
    ASSERT_NE(id, 0);
    EXPECT_TRUE(seen.insert(id).second);
    MciClose(id);
  }
}

TEST_F(MediaDeviceTest, FilesNoDeviceTakesAndUnknownIdentifiers) {
  EXPECT_EQ(MciOpenElement(Write("song.mod", test::ShortModule(8))), 0);
  EXPECT_EQ(MciOpenElement(Write("noise.mp3", std::string(3000, 'n'))), 0);
  EXPECT_EQ(MciOpenElement(dir.File("missing.wav")), 0);
  EXPECT_EQ(MciOpenElement(""), 0);
  MCIDEVICEID id = MciOpenElement(Write("a.wav", test::ToneWav(0.1)));
  EXPECT_FALSE(MciSetTimeFormat(id, 3));
  EXPECT_FALSE(MciSetTimeFormat(MCIDEVICEID(id + 1), MCI_FORMAT_MILLISECONDS));
  EXPECT_FALSE(MciPlay(MCIDEVICEID(id + 1), window.m_hWnd));
  EXPECT_FALSE(MciStop(0));
  EXPECT_TRUE(MciClose(id));
}

// SDL_mixer on SDL's audio driver that plays to nowhere, in real time.
class SdlMediaDeviceTest : public MediaDeviceTest {
 protected:
  void TearDown() override {
    ReleaseMixerAudio();
    MediaDeviceTest::TearDown();
  }
  // Handles messages until the window has `count` notifications or five
  // seconds of real time have passed.
  void WaitForNotifications(size_t count) {
    for (int i = 0; i < 500 && window.codes.size() < count; ++i) {
      PumpWaitingMessages();
      if (window.codes.size() < count) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

 private:
  test::ScopedEnv driver_{"SDL_AUDIODRIVER", "dummy"};
};

TEST_F(SdlMediaDeviceTest, PlaysAWaveToItsEndAndReportsIt) {
  std::unique_ptr<MediaDevice> device = CreateSdlMediaDevice();
  ASSERT_TRUE(device->Open(Write("a.wav", test::ToneWav(0.3))));
  auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(device->Play(window.m_hWnd, 42));
  WaitForNotifications(1);
  auto took = std::chrono::steady_clock::now() - start;
  ASSERT_EQ(window.devices, std::vector<MCIDEVICEID>{42});
  EXPECT_EQ(window.codes[0], MCI_NOTIFY_SUCCESSFUL);
  // The silent driver takes the sound a little faster than real time, not at once.
  EXPECT_GE(took, std::chrono::milliseconds(150));
  // Played again, it reports again; stopped, it does not.
  ASSERT_TRUE(device->Play(window.m_hWnd, 42));
  WaitForNotifications(2);
  EXPECT_EQ(window.codes.size(), 2u);
  ASSERT_TRUE(device->Play(window.m_hWnd, 42));
  device->Stop();
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  PumpWaitingMessages();
  EXPECT_EQ(window.codes.size(), 2u);
  device->Close();
}

TEST_F(SdlMediaDeviceTest, ReleasingTheAudioEndsTheSoundSilentlyAndTheNextPlayTakesItAgain) {
  std::unique_ptr<MediaDevice> device = CreateSdlMediaDevice();
  ASSERT_TRUE(device->Open(Write("a.wav", test::ToneWav(0.3))));
  ASSERT_TRUE(device->Play(window.m_hWnd, 7));
  // As when the module player's wave output opens.
  ReleaseMixerAudio();
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  PumpWaitingMessages();
  EXPECT_TRUE(window.codes.empty());
  device->Stop();
  ASSERT_TRUE(device->Play(window.m_hWnd, 8));
  WaitForNotifications(1);
  EXPECT_EQ(window.devices, std::vector<MCIDEVICEID>{8});
}

TEST_F(SdlMediaDeviceTest, OpensMidiAndMpegAndRefusesWhatItCannotPlay) {
  std::unique_ptr<MediaDevice> device = CreateSdlMediaDevice();
  EXPECT_TRUE(device->Open(Write("a.mid", test::NoteMidi(0.2))));
  EXPECT_TRUE(device->Open(Write("a.mp3", test::SilentMp3(20))));
  device->Close();
  // A module never reaches SDL_mixer, whatever its name says.
  EXPECT_FALSE(device->Open(Write("module.wav", test::ShortModule(8))));
  EXPECT_FALSE(device->Open(Write("noise.ogg", std::string(2000, 'o'))));
  EXPECT_FALSE(device->Open(dir.File("missing.wav")));
  EXPECT_FALSE(device->Play(window.m_hWnd, 1));
}

}  // namespace
}  // namespace pellora
