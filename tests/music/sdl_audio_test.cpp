// The real SDL audio path, without a display: the test runs itself again
// with SDL's disk audio driver, plays a short module through the SDL wave
// device and compares the sound the driver wrote with what the renderer
// makes of the same module.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "music/mod_done_window.h"
#include "music/mod_player.h"
#include "platform/backend.h"
#include "platform/sdl/sdl_wave_out.h"
#include "platform/ui/app.h"
#include "tests/music/music_test_support.h"

namespace pellora {
namespace {

// About 1.3 s: speed 1, one pattern, two voices.
std::string ShortModule() {
  test::ModFileBuilder b;
  b.samples = {{"tone", test::SineWave(64, 2, 110), 0, 64, 0, 32}, {"hit", test::SquareWave(600, 70)}};
  b.orders = {0};
  b.Cell(0, 0, 0) = {428, 1, 0xF, 1};
  b.Cell(0, 16, 1) = {320, 2, 0, 0};
  b.Cell(0, 32, 0) = {214, 1, 0xA, 0x02};
  b.Cell(0, 48, 3) = {160, 2, 0x8, 0x80};
  return b.Build();
}

size_t FirstSound(const std::string& pcm) {
  size_t i = 0;
  while (i < pcm.size() && pcm[i] == 0) ++i;
  return i & ~size_t(3);
}

TEST(SdlAudio, PlaysWhatTheRendererMakes) {
  test::TempDir dir;
  std::string module = test::WriteModule(dir, "short.mod", ShortModule());
  std::string raw = dir.File("sound.raw");
  test::RunResult child = test::Run("SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE='" + raw + "' PELLORA_SDL_AUDIO_MODULE='" +
                                    module + "' '" + test::BinDir() +
                                    "/test_music' --gtest_filter=SdlAudio.ChildPlaysTheModule");
  ASSERT_EQ(child.status, 0) << child.out << child.err;
  if (child.out.find("[  SKIPPED ]") != std::string::npos) GTEST_SKIP() << "SDL has no disk audio driver here";
  std::string heard = test::ReadFile(raw);
  std::string made = test::RenderToMemory(module);
  ASSERT_GT(made.size(), 44100u * 4);
  EXPECT_GT(test::Rms16(heard), 200.0);
  // The device may add silence before and after; the sound itself is the same.
  size_t h = FirstSound(heard), m = FirstSound(made);
  ASSERT_LT(h, heard.size());
  size_t length = std::min(heard.size() - h, made.size() - m);
  EXPECT_GE(length, made.size() - m - 4096 * 4);
  EXPECT_TRUE(heard.compare(h, length, made, m, length) == 0);
}

TEST(SdlAudio, ChildPlaysTheModule) {
  const char* module = std::getenv("PELLORA_SDL_AUDIO_MODULE");
  if (!module) GTEST_SKIP() << "run by SdlAudio.PlaysWhatTheRendererMakes";
  // The backend exists before SDL's audio thread posts to the window.
  CurrentBackend();
  std::unique_ptr<WaveOut> probe = CreateSdlWaveOut();
  if (probe->GetDevCaps() == 0) GTEST_SKIP() << "no SDL audio";
  probe.reset();
  CModDoneWindow window;
  ASSERT_TRUE(window.Create());
  CModPlayer player(window.m_hWnd);
  player.SetWaveOutFactory(CreateSdlWaveOut);
  player.queueLimit = 40;
  ASSERT_TRUE(player.Open(module));
  ASSERT_TRUE(player.Play());
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (player.IsPlaying() && std::chrono::steady_clock::now() < deadline) {
    PumpWaitingMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_FALSE(player.IsPlaying());
  EXPECT_TRUE(player.IsFinished());
  player.Close();
  PumpWaitingMessages();
}

}  // namespace
}  // namespace pellora
