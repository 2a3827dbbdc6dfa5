// The media control interface: devices opened by identifier, the end of
// a sound reported to a window in virtual time on the headless backend,
// and the files no device takes.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tests/platform/media_device_fixture.h"
#include "tests/support/sound_files.h"

namespace pellora {
namespace {

using test::MediaDeviceTest;

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

}  // namespace
}  // namespace pellora
