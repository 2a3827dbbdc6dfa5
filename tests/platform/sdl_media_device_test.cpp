// The media device of the Linux backend on SDL's silent audio driver,
// reporting the end of a sound in real time: with the desktop's SDL_mixer,
// and without it, where only WAVs play (through SDL's own loader).
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

// SDL's audio driver that plays to nowhere, in real time; the parameter
// is PELLORA_SDL_MIXER ("" for the desktop's SDL_mixer).
class SdlMediaDeviceTest : public MediaDeviceTest, public testing::WithParamInterface<const char*> {
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
  test::ScopedEnv mixer_{"PELLORA_SDL_MIXER", GetParam()};
};

TEST_P(SdlMediaDeviceTest, PlaysAWaveToItsEndAndReportsIt) {
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

TEST_P(SdlMediaDeviceTest, ReleasingTheAudioEndsTheSoundSilentlyAndTheNextPlayTakesItAgain) {
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

TEST_P(SdlMediaDeviceTest, OpensMidiAndMpegWithSdlMixerAndRefusesWhatItCannotPlay) {
  std::unique_ptr<MediaDevice> device = CreateSdlMediaDevice();
  bool mixer = std::string(GetParam()) != "none";
  EXPECT_EQ(device->Open(Write("a.mid", test::NoteMidi(0.2))), mixer);
  EXPECT_EQ(device->Open(Write("a.mp3", test::SilentMp3(20))), mixer);
  device->Close();
  // A module never reaches SDL_mixer, whatever its name says.
  EXPECT_FALSE(device->Open(Write("module.wav", test::ShortModule(8))));
  EXPECT_FALSE(device->Open(Write("noise.ogg", std::string(2000, 'o'))));
  EXPECT_FALSE(device->Open(dir.File("missing.wav")));
  EXPECT_FALSE(device->Play(window.m_hWnd, 1));
}

INSTANTIATE_TEST_SUITE_P(Mixers, SdlMediaDeviceTest, testing::Values("", "none"));

}  // namespace
}  // namespace pellora
