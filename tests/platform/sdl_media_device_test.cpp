// The media device of the Linux backend: SDL_mixer on SDL's silent audio
// driver, reporting the end of a sound in real time.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/sdl/sdl_media_device.h"
#include "tests/platform/media_device_fixture.h"
#include "tests/support/sound_files.h"

namespace pellora {
namespace {

using test::MediaDeviceTest;

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
