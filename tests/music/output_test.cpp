// The output cycle: format choice, blocks of ten ticks, completions
// through window messages, stopping at the song's end.
#include <gtest/gtest.h>

#include "music/mod_done_window.h"
#include "music/mod_player.h"
#include "platform/audio/wave_out_immediate.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/ui/app.h"
#include "tests/music/music_test_support.h"

namespace pellora {
namespace {

using test::TempDir;
using test::ModFileBuilder;

// One pattern (64 rows of 6 ticks) at 125 BPM, or two with the second at
// 250 BPM.
std::string Song(bool tempoChange = false) {
  ModFileBuilder b;
  b.samples = {{"tone", test::SquareWave(32, 90), 0, 64, 0, 16}};
  b.orders = tempoChange ? std::vector<uint8_t>{0, 1} : std::vector<uint8_t>{0};
  b.Cell(0, 0, 0) = {428, 1, 0, 0};
  b.Cell(0, 0, 1) = {214, 1, 0, 0};
  if (tempoChange) b.Cell(1, 0, 0) = {0, 0, 0xF, 250};
  return b.Build();
}

// A player with an immediate device that records the size of each block.
struct Fixture {
  explicit Fixture(uint32_t formats = WAVE_FORMAT_ALL) : player(window.Create() ? window.m_hWnd : 0) {
    player.SetWaveOutFactory([this, formats] {
      return std::make_unique<ImmediateWaveOut>(formats, [this](const WaveFormat&, const uint8_t*, size_t n) {
        blocks.push_back(n);
        return !refuse;
      });
    });
    player.queueLimit = 40;
  }
  void RunToEnd() { RunModalLoop([&] { return player.IsPlaying(); }); }
  size_t Total() const {
    size_t n = 0;
    for (size_t b : blocks) n += b;
    return n;
  }
  CModDoneWindow window;
  CModPlayer player;
  std::vector<size_t> blocks;
  bool refuse = false;
};

TEST(ModOutput, TicksOf882FramesInBlocksOfTen) {
  TempDir dir;
  Fixture f;
  ASSERT_TRUE(f.player.Open(test::WriteModule(dir, "a.mod", Song())));
  EXPECT_EQ(f.player.OutputFormat().rate, 44100);
  EXPECT_EQ(f.player.OutputFormat().channels, 2);
  EXPECT_EQ(f.player.OutputFormat().bits, 16);
  EXPECT_EQ(f.player.BytesPerTick(), 882u * 4);
  EXPECT_EQ(f.player.GetDuration(), 8);
  ASSERT_TRUE(f.player.Play());
  EXPECT_EQ(f.player.QueuedBlocks(), 39u);  // the song ends in its 39th block
  EXPECT_TRUE(f.player.IsPlaying());
  EXPECT_FALSE(f.player.IsFinished());
  f.RunToEnd();
  EXPECT_FALSE(f.player.IsPlaying());
  EXPECT_TRUE(f.player.IsFinished());
  // 385 ticks (the last one ends the song) in whole blocks.
  ASSERT_EQ(f.blocks.size(), 39u);
  for (size_t b : f.blocks) EXPECT_EQ(b, 35280u);
  EXPECT_EQ(f.player.GetPosition(), 8);
}

TEST(ModOutput, ATempoChangeKeepsTheTicksAlreadyMixed) {
  TempDir dir;
  Fixture f;
  ASSERT_TRUE(f.player.Open(test::WriteModule(dir, "t.mod", Song(true))));
  EXPECT_EQ(f.player.GetDuration(), 12);
  ASSERT_TRUE(f.player.Play());
  f.RunToEnd();
  // 384 ticks of 882 frames; 385 of 441 and one more to fill the last block.
  EXPECT_EQ(f.Total(), (384u * 882 + 386u * 441) * 4);
  EXPECT_EQ(f.blocks[38], 4u * 882 * 4);
  EXPECT_EQ(f.blocks[39], 6u * 441 * 4);
}

TEST(ModOutput, FormatsFollowThePreferenceOrder) {
  TempDir dir;
  std::string path = test::WriteModule(dir, "a.mod", Song());
  struct Case {
    uint32_t formats;
    uint16_t rate, channels, bits;
  } cases[] = {{WAVE_FORMAT_2M08 | WAVE_FORMAT_1S16, 11025, 2, 16},
               {WAVE_FORMAT_4M16 | WAVE_FORMAT_1S08, 11025, 2, 8},
               {WAVE_FORMAT_4M16 | WAVE_FORMAT_2M16, 44100, 1, 16},
               {WAVE_FORMAT_1M08, 11025, 1, 8}};
  for (const Case& c : cases) {
    Fixture f(c.formats);
    ASSERT_TRUE(f.player.Open(path));
    EXPECT_EQ(f.player.OutputFormat().rate, c.rate);
    EXPECT_EQ(f.player.OutputFormat().channels, c.channels);
    EXPECT_EQ(f.player.OutputFormat().bits, c.bits);
    uint32_t frames = 20 * c.rate / 1000;
    EXPECT_EQ(f.player.BytesPerTick(), frames * c.channels * c.bits / 8);
    ASSERT_TRUE(f.player.Play());
    f.RunToEnd();
    EXPECT_EQ(f.Total(), size_t(f.player.BytesPerTick()) * 390);
  }
  Fixture none(0);
  ASSERT_TRUE(none.player.Open(path));
  EXPECT_TRUE(none.player.OutputFormat().IsEmpty());
  EXPECT_FALSE(none.player.Play());
  CModPlayer noDevice(0);
  noDevice.SetWaveOutFactory([] { return std::unique_ptr<WaveOut>(); });
  ASSERT_TRUE(noDevice.Open(path));
  EXPECT_FALSE(noDevice.Play());
}

TEST(ModOutput, ARefusedBlockStopsThePlayerInsteadOfWaiting) {
  TempDir dir;
  Fixture f;
  f.refuse = true;
  ASSERT_TRUE(f.player.Open(test::WriteModule(dir, "a.mod", Song())));
  EXPECT_TRUE(f.player.Play());
  EXPECT_FALSE(f.player.IsPlaying());
  EXPECT_EQ(f.player.QueuedBlocks(), 0u);
  EXPECT_EQ(f.blocks.size(), 1u);
}

TEST(ModOutput, BlocksComingBackLateAreHarmless) {
  TempDir dir;
  std::string path = test::WriteModule(dir, "a.mod", Song());
  {
    // The player goes away with forty blocks still to come back.
    Fixture f;
    ASSERT_TRUE(f.player.Open(path));
    ASSERT_TRUE(f.player.Play());
    CModDoneWindow keep;
    ASSERT_TRUE(keep.Create());
  }
  PumpWaitingMessages();
  // Blocks of an earlier Play do not count for the next one.
  Fixture f;
  f.player.queueLimit = 5;
  ASSERT_TRUE(f.player.Open(path));
  ASSERT_TRUE(f.player.Play());
  f.player.Stop();
  f.player.Rewind();
  ASSERT_TRUE(f.player.Play());
  EXPECT_EQ(f.player.QueuedBlocks(), 5u);
  f.player.BufferDone({0, 123, 4560});
  EXPECT_EQ(f.player.QueuedBlocks(), 5u);
  EXPECT_EQ(f.player.GetPosition(), 0);
  f.RunToEnd();
  EXPECT_EQ(f.blocks.size(), 5u + 39u);
  f.player.Close();
  PumpWaitingMessages();
  EXPECT_FALSE(f.player.IsOpen());
}

TEST(ModOutput, PlaysInVirtualTimeOnTheHeadlessBackend) {
  TempDir dir;
  std::string path = test::WriteModule(dir, "a.mod", Song());
  std::string reference = test::RenderToMemory(path);
  InstallBackend(std::make_unique<HeadlessBackend>(HeadlessBackend::Options{}));
  auto& backend = static_cast<HeadlessBackend&>(CurrentBackend());
  std::string heard;
  backend.onWaveData = [&](const WaveFormat& format, const uint8_t* data, size_t size) {
    EXPECT_EQ(format.samplesPerSec, 44100u);
    heard.append(reinterpret_cast<const char*>(data), size);
  };
  CModDoneWindow window;
  ASSERT_TRUE(window.Create());
  CModPlayer player(window.m_hWnd);
  player.queueLimit = 40;
  ASSERT_TRUE(player.Open(path));
  uint64_t start = backend.Now();
  ASSERT_TRUE(player.Play());
  int positionSeen = -1;
  RunModalLoop([&] {
    if (backend.Now() >= start + 4000 && positionSeen < 0) positionSeen = player.GetPosition();
    return player.IsPlaying();
  });
  EXPECT_EQ(heard, reference);
  EXPECT_NEAR(double(backend.Now() - start), 7800.0, 100.0);
  EXPECT_NEAR(positionSeen, 4, 1);
  EXPECT_TRUE(player.IsFinished());
  player.Close();
  InstallBackend(nullptr);
}

TEST(ModOutput, RewindAndSeekPutTheEngineBack) {
  TempDir dir;
  Fixture f;
  ASSERT_TRUE(f.player.Open(test::WriteModule(dir, "a.mod", Song())));
  f.player.SeekToEnd();
  EXPECT_EQ(f.player.GetPosition(), 8);
  f.player.SeekTo(3);
  EXPECT_EQ(f.player.GetPosition(), 3);
  EXPECT_FALSE(f.player.IsFinished());
  ASSERT_TRUE(f.player.Play());
  f.RunToEnd();
  EXPECT_EQ(f.blocks.size(), 26u);  // from 2.5 s, which rounds to 3, to the end
  f.blocks.clear();
  f.player.Rewind();
  EXPECT_EQ(f.player.GetPosition(), 0);
  EXPECT_FALSE(f.player.IsPlaying());
  ASSERT_TRUE(f.player.Play());
  f.player.StopAndRewind();
  EXPECT_FALSE(f.player.IsPlaying());
  EXPECT_EQ(f.player.Engine().ticksPlayed, 0u);
}

}  // namespace
}  // namespace pellora
