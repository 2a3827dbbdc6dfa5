// The media device of the Windows backend, on the system's MCI.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_media_device.h"
#include "tests/platform/media_device_fixture.h"
#include "tests/support/sound_files.h"
// After the framework headers: see the header's own comment.
#include "platform/os/win32/windows_api.h"

namespace pellora {
namespace {

using test::MediaDeviceTest;

// A device closed on its end notification must not take its driver's code
// away from the driver's playback thread, which is still returning.
TEST_F(MediaDeviceTest, TheWaveDriverStaysLoadedAfterItsDeviceCloses) {
  std::unique_ptr<MediaDevice> device = CreateWin32MediaDevice();
  if (!device->Open(Write("a.wav", test::ToneWav(0.1)))) GTEST_SKIP() << "MCI opens no wave file here";
  device->Close();
  EXPECT_NE(GetModuleHandleW(L"mciwave.dll"), nullptr);
}

}  // namespace
}  // namespace pellora
