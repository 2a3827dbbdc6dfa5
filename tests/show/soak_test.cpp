// A looping show left to run: thousands of slide changes with pictures,
// embedded sounds and module music, in a few seconds of real time, while
// the resident memory stays flat.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "platform/os/process_stats.h"
#include "show/show_wnd.h"
#include "tests/support/show_harness.h"
#include "tests/support/sound_files.h"

namespace pellora {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

TEST(Soak, ThousandsOfSlideChangesKeepTheResidentMemoryFlat) {
  test::TempDir dir, temp;
  test::ScopedTempFolder tmpdir{temp.path().string()};
  test::WriteFile(dir.File("red.bmp"), test::SolidBmp(40, 30, 255, 0, 0));
  test::WriteFile(dir.File("blue.bmp"), test::SolidBmp(30, 40, 0, 0, 255));
  test::WriteFile(dir.File("tone.wav"), test::ToneWav(0.3));
  test::WriteFile(dir.File("tune.mod"), test::ShortModule(4));
  std::string package = test::PackShow(dir, R"({"loopShow": 1, "music": "tune.mod",
    "background": {"kind": "gradient", "colourA": "#000000", "colourB": "#0000FF"},
    "slides": [
      {"picture": "red.bmp", "duration": 1, "transition": 1, "sound": "slide", "soundFile": "tone.wav"},
      {"picture": "blue.bmp", "duration": 1, "transition": 1, "sound": "show-music"},
      {"picture": "red.bmp", "fit": "stretch", "duration": 1, "transition": 1, "sound": "slide", "soundFile": "tune.mod"},
      {"picture": "blue.bmp", "duration": 1, "transition": 1, "sound": "silence"}]})");
  ASSERT_FALSE(package.empty());

  // One slide a virtual second; the first stretch settles the allocator.
  constexpr uint64_t kWarmUpMs = 300 * 1000, kEndMs = 3300 * 1000;
  test::HeadlessShow show({160, 120});
  uint64_t settled = 0, last = 0, changes = 0;
  int index = -1;
  for (uint64_t at = 500; at < kEndMs; at += 1000)
    show.At(at, [&] {
      CShowWnd* window = test::ShowWindow();
      if (window && window->currentIndex != index) ++changes, index = window->currentIndex;
    });
  show.At(kWarmUpMs, [&] { settled = CurrentResidentBytes(); });
  show.At(kEndMs, [&] { last = CurrentResidentBytes(); });
  show.Script(std::to_string(kEndMs + 10) + " key escape");
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(show.Run(package, kEndMs + 1000), 0);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%llu slide changes in %.1f s; resident %.1f MB after warm-up, %.1f MB at the end\n",
              (unsigned long long)changes, seconds, double(settled) / 1e6, double(last) / 1e6);
  EXPECT_GE(changes, 3000u);
  if (kSanitized) GTEST_SKIP() << "AddressSanitizer holds freed memory back: its resident size says nothing here";
  ASSERT_GT(settled, 0u);
  EXPECT_LT(last, settled + 2 * 1024 * 1024) << "resident memory grew over " << changes << " slide changes";
}

}  // namespace
}  // namespace pellora
