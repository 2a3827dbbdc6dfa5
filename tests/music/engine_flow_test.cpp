// How the engine moves through rows and positions: pattern lengths,
// jumps, breaks, delays and loops.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/music/music_test_support.h"

namespace pellora {
namespace {

using test::BuildSong;
using test::SongCells;
using test::VisitedRows;
using Rows = std::vector<std::pair<int, int>>;

SongCells Shape(int patterns, std::vector<uint8_t> orders, int channels = 2) {
  SongCells s;
  s.patterns = patterns;
  s.orders = std::move(orders);
  s.channels = channels;
  s.markRows = true;
  return s;
}

// The first row visited in a pattern above `pattern`.
std::pair<int, int> RowAfter(const Rows& rows, int pattern) {
  for (const auto& r : rows)
    if (r.first > pattern) return r;
  return {-1, -1};
}

int Count(const Rows& rows, std::pair<int, int> row) { return int(std::count(rows.begin(), rows.end(), row)); }

TEST(EngineFlow, APatternOfFortyRowsMovesOnAfterRowThirtyNine) {
  ModSong song = BuildSong(Shape(2, {0, 1}), nullptr);
  song.patternRows[0] = 40;
  ModEngine e;
  e.StartSong(&song);
  Rows rows = VisitedRows(e);
  ASSERT_EQ(rows.size(), 40u + 64u);
  EXPECT_EQ(rows[39], std::make_pair(0, 39));
  EXPECT_EQ(rows[40], std::make_pair(1, 0));
  EXPECT_TRUE(e.IsFinished());
}

TEST(EngineFlow, PositionJumpsNeverGoBackwards) {
  for (int target : {0, 2, 3, 5}) {
    ModSong song = BuildSong(Shape(7, {0, 1, 2, 3, 4, 5, 6}), [&](TrackWriter& w, int p, int r, int k) {
      if (p == 3 && r == 0 && k == 0) w.PutEffect(0xB, uint8_t(target));
    });
    ModEngine e;
    e.StartSong(&song);
    Rows rows = VisitedRows(e);
    std::pair<int, int> expected = {target > 3 ? target : 4, 0};
    EXPECT_EQ(RowAfter(rows, 3), expected) << "B0" << target;
    EXPECT_EQ(Count(rows, {3, 1}), 0);
  }
}

TEST(EngineFlow, BreakSurvivesAJumpOnlyOnALaterChannel) {
  auto run = [](int breakChannel) {
    ModSong song = BuildSong(Shape(3, {0, 1, 2}), [&](TrackWriter& w, int p, int r, int k) {
      if (p != 0 || r != 0) return;
      if (k == breakChannel) w.PutEffect(0xD, 0x10);
      else w.PutEffect(0xB, 1);
    });
    ModEngine e;
    e.StartSong(&song);
    return RowAfter(VisitedRows(e), 0);
  };
  EXPECT_EQ(run(1), std::make_pair(1, 10));  // D after B keeps its row
  EXPECT_EQ(run(0), std::make_pair(1, 0));   // B after D clears it
}

TEST(EngineFlow, PatternDelayRepeatsTheRowButStartsItsNoteOnce) {
  SongCells shape = Shape(1, {0}, 2);
  ModSong song = BuildSong(shape, [](TrackWriter& w, int, int r, int k) {
    if (r != 1 || k != 0) return;
    w.PutInstrument(0);
    w.PutNote(48);
    w.PutEffect(0xE, 0xE2);
    w.PutEffect(0xA, 0x10);
  });
  song.samples[0].volume = 20;
  ModEngine e;
  e.StartSong(&song);
  test::RecordingVoices voices;
  Rows rows;
  while (!e.IsFinished() && rows.size() < 5) {
    e.PlayTick(&voices);
    if (e.tick == 0) rows.emplace_back(e.position, e.row);
  }
  EXPECT_EQ(rows, (Rows{{0, 0}, {0, 1}, {0, 1}, {0, 1}, {0, 2}}));
  // The marks start a note on every fetched row; channel 0 starts its one.
  EXPECT_EQ(std::count_if(voices.starts.begin(), voices.starts.end(), [](const auto& s) { return s.voice == 0; }), 1);
  EXPECT_EQ(std::count_if(voices.starts.begin(), voices.starts.end(), [](const auto& s) { return s.voice == 1; }), 3);
  // The volume slide ran on the five later ticks of each of the three row-times.
  EXPECT_EQ(e.channels[0].volume, 35);
}

TEST(EngineFlow, PatternLoopPlaysTheLoopedRowsFourTimes) {
  ModSong song = BuildSong(Shape(1, {0}, 2), [](TrackWriter& w, int, int r, int k) {
    if (k == 0 && r == 4) w.PutEffect(0xE, 0x60);
    if (k == 0 && r == 8) w.PutEffect(0xE, 0x63);
  });
  ModEngine e;
  e.StartSong(&song);
  Rows rows = VisitedRows(e);
  for (int r = 4; r <= 8; ++r) EXPECT_EQ(Count(rows, {0, r}), 4) << r;
  EXPECT_EQ(Count(rows, {0, 3}), 1);
  EXPECT_EQ(Count(rows, {0, 9}), 1);
  EXPECT_EQ(rows.size(), 64u + 15u);
}

TEST(EngineFlow, SpeedAndTempoCommands) {
  ModSong song = BuildSong(Shape(1, {0}, 1), [](TrackWriter& w, int, int r, int) {
    if (r == 0) w.PutEffect(0xF, 0x20);
    if (r == 1) w.PutEffect(0xF, 0x1F);
    if (r == 2) w.PutEffect(0xF, 0x00);
  });
  ModEngine e;
  e.StartSong(&song);
  e.PlayTick(nullptr);
  EXPECT_EQ(e.tempo, 32);
  EXPECT_EQ(e.speed, 6);
  for (int i = 0; i < 6; ++i) e.PlayTick(nullptr);
  EXPECT_EQ(e.row, 1);
  EXPECT_EQ(e.speed, 31);
  for (int i = 0; i < 31; ++i) e.PlayTick(nullptr);
  EXPECT_EQ(e.row, 2);
  EXPECT_EQ(e.speed, 31);
  EXPECT_EQ(e.tempo, 32);
}

TEST(EngineFlow, BreaksBeyondThePatternAndEmptyPatternsEndPromptly) {
  ModSong song = BuildSong(Shape(2, {0, 1, 0}), [](TrackWriter& w, int p, int r, int k) {
    if (p == 0 && r == 0 && k == 0) w.PutEffect(0xD, 0x99);  // row 99 becomes 64
  });
  song.patternRows[1] = 0;
  ModEngine e;
  e.StartSong(&song);
  Rows rows = VisitedRows(e, 2000);
  EXPECT_TRUE(e.IsFinished());
  EXPECT_LT(rows.size(), 10u);
  EXPECT_EQ(rows.front(), std::make_pair(0, 0));
}

TEST(EngineFlow, ALoopUsedTwiceOnOneChannelStopsAtTheSongTimeLimit) {
  // The two E61 of one channel share its counter: each finds the loop the
  // other finished and starts it again, so rows 1..3 repeat for ever.
  ModSong song = BuildSong(Shape(1, {0}, 2), [](TrackWriter& w, int, int r, int k) {
    if (k == 0 && (r == 1 || r == 3)) w.PutEffect(0xE, 0x61);
  });
  ModEngine e;
  e.StartSong(&song);
  EXPECT_EQ(e.MeasureDuration(), int(kSongTimeLimitMs / 1000));
  EXPECT_TRUE(e.IsFinished());
  e.ResetEngine();
  EXPECT_FALSE(e.IsFinished());
}

TEST(EngineFlow, ResetStartsAtTheFirstPositionWhateverTheLastPatternWas) {
  ModSong song = BuildSong(Shape(2, {0, 1}), nullptr);
  song.patternRows[1] = 1;
  ModEngine e;
  e.StartSong(&song);
  e.MeasureDuration();
  e.ResetEngine();
  EXPECT_EQ(e.rowCount, 0);
  Rows rows = VisitedRows(e);
  EXPECT_EQ(rows.front(), std::make_pair(0, 0));
  EXPECT_EQ(rows.size(), 65u);
}

TEST(EngineFlow, APositionNamingAMissingPatternEndsTheSong) {
  ModSong song = BuildSong(Shape(1, {0, 9, 0}), nullptr);
  ModEngine e;
  e.StartSong(&song);
  Rows rows = VisitedRows(e);
  EXPECT_EQ(rows.size(), 64u);
  EXPECT_TRUE(e.IsFinished());
}

}  // namespace
}  // namespace pellora
