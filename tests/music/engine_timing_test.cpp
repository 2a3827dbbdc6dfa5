// Tick lengths, song durations, seeking and the position heard.
#include <gtest/gtest.h>

#include "tests/music/music_test_support.h"

namespace pellora {
namespace {

using test::BuildSong;
using test::SongCells;

TEST(EngineTiming, TickLengthsAreWholeMilliseconds) {
  EXPECT_EQ(TickLengthMs(125), 20u);
  EXPECT_EQ(TickLengthMs(126), 20u);
  EXPECT_EQ(TickLengthMs(100), 25u);
  EXPECT_EQ(TickLengthMs(255), 9u);
  EXPECT_EQ(TickLengthMs(32), 83u);
  for (uint32_t t = 0; t < 3; ++t) EXPECT_EQ(TickLengthMs(t), 1000u);
  EXPECT_EQ(RoundToSeconds(1499), 1);
  EXPECT_EQ(RoundToSeconds(1500), 2);
}

TEST(EngineTiming, DurationAddsUpEachTicksOwnLength) {
  // One pattern at 125 BPM (20 ms ticks), the next at 250 BPM (10 ms).
  SongCells shape;
  shape.patterns = 2;
  shape.orders = {0, 1};
  ModSong song = BuildSong(shape, [](TrackWriter& w, int p, int r, int k) {
    if (p == 1 && r == 0 && k == 0) w.PutEffect(0xF, 250);
  });
  ModEngine e;
  e.StartSong(&song);
  // 384 ticks of 20 ms, 384 of 10 ms and the tick that ends the song:
  // 11.53 s, where the final tempo alone would give 7.7 s.
  EXPECT_EQ(e.MeasureDuration(), 12);
  EXPECT_EQ(e.elapsedMs, 11530u);
  EXPECT_EQ(e.ticksPlayed, 769u);
  EXPECT_TRUE(e.IsFinished());
}

TEST(EngineTiming, HeaderTemposBelowThreeAreRefused) {
  SongCells shape;
  shape.tempo = 2;
  ModSong song = BuildSong(shape, nullptr);
  ModEngine e;
  e.StartSong(&song);
  EXPECT_EQ(e.tempo, 125);
  EXPECT_EQ(e.MeasureDuration(), 8);
}

TEST(EngineTiming, SeekingRunsSilentlyToTheTimeAsked) {
  SongCells shape;
  shape.patterns = 3;
  shape.orders = {0, 1, 2};
  ModSong song = BuildSong(shape, nullptr);
  ModEngine e;
  e.StartSong(&song);
  e.SeekTo(5);
  EXPECT_EQ(e.GetPosition(), 5);
  EXPECT_EQ(e.positionTicks, e.ticksPlayed);
  EXPECT_EQ(e.position, 0);
  EXPECT_EQ(e.row, 37);  // 4.5 s already rounds to 5: 225 ticks of 20 ms, row 37
  e.SeekTo(100);
  EXPECT_TRUE(e.IsFinished());
  EXPECT_EQ(e.GetPosition(), 23);
  e.SeekTo(0);
  EXPECT_EQ(e.ticksPlayed, 0u);
  EXPECT_FALSE(e.IsFinished());
}

TEST(EngineTiming, AFinishedEngineStaysFinished) {
  ModSong song = BuildSong(SongCells{}, nullptr);
  ModEngine e;
  e.StartSong(&song);
  e.MeasureDuration();
  uint32_t ticks = e.ticksPlayed;
  e.PlayTick(nullptr);
  EXPECT_EQ(e.ticksPlayed, ticks);
  ModEngine empty;
  EXPECT_TRUE(empty.IsFinished());
  empty.PlayTick(nullptr);
  EXPECT_EQ(empty.MeasureDuration(), 0);
}

}  // namespace
}  // namespace pellora
