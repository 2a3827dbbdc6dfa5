#include <gtest/gtest.h>

#include "music/mod_player.h"
#include "music/track.h"
#include "testing/composer669_file_builder.h"
#include "testing/mod_file_builder.h"
#include "tests/music/music_test_support.h"
#include "tests/music/tracker_test_support.h"

namespace pellora {
namespace {

using test::LoadModuleBytes;
using test::RowOps;
using test::Composer669FileBuilder;
using Ops = std::vector<int>;

// Every track's first row sets tempo 78 and speed 3.
const Ops kFirstRow = {TRK_PT_0 + 0xF, 78, TRK_PT_0 + 0xF, 3};

Ops FirstRow(const Ops& cell) {
  Ops ops = kFirstRow;
  ops.insert(ops.end(), cell.begin(), cell.end());
  return ops;
}

Composer669FileBuilder OneNoteSong() {
  Composer669FileBuilder b;
  b.message = "a song message that is not the title";
  b.orders = {0};
  b.samples = {{"square.smp", test::SquareWave(64, 100)}};
  b.Cell(0, 0, 0) = Composer669FileBuilder::Note(24, 0, 15);
  return b;
}

TEST(Composer669Loader, BothSignaturesAndTheirLabels) {
  Composer669FileBuilder b = OneNoteSong();
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.detected, "669");
  EXPECT_EQ(m.song.formatName, "Composer 669");
  EXPECT_FALSE(m.song.songName.has_value());
  EXPECT_EQ(m.song.channelCount, 8);
  EXPECT_EQ(m.song.initialSpeed, 6);
  EXPECT_EQ(m.song.initialTempo, 125);
  EXPECT_EQ(m.song.patternCount, 1);
  EXPECT_EQ(m.song.trackCount, 8);
  b.extended = true;
  m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.detected, "669");
  EXPECT_EQ(m.song.formatName, "Extended 669");

  test::TempDir dir;
  CModPlayer player(0);
  ASSERT_TRUE(player.Open(test::WriteModule(dir, "song.669", b.Build())));
  EXPECT_NE(player.GetInfoText().find("\r\nTitre : \"(sans titre)\"\r\n"), std::string::npos);
}

TEST(Composer669Loader, OrdersEndAtTheFirst255) {
  Composer669FileBuilder b = OneNoteSong();
  b.orders = {0, 1, 0, 1};
  b.patternCount = 2;
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.song.positionCount, 4);
  EXPECT_EQ(m.song.positions[3], 1);
  b.orders.assign(128, 1);
  m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.song.positionCount, 128);
}

TEST(Composer669Loader, CellsAndTheTempoOfEachPattern) {
  Composer669FileBuilder b = OneNoteSong();
  b.samples.resize(40, {"", test::SquareWave(2, 1)});
  b.Cell(0, 0, 3) = Composer669FileBuilder::Note(0, 33, 0);
  b.Cell(0, 1, 3) = Composer669FileBuilder::Note(61, 1, 7);
  b.Cell(0, 2, 3) = {0xF8, 0x35, 0xFF};  // note field 62: the volume only
  b.Cell(0, 3, 3) = {0xFB, 0x3F, 0xFF};
  b.Cell(0, 4, 3) = {0xFE, 0x35, 0x00};  // note field 63: nothing
  b.Cell(0, 5, 3) = {0xFF, 0xFF, 0xFF};
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(RowOps(m.song, 0, 0, 0), FirstRow({TRK_INSTRUMENT, 0, TRK_NOTE, 48, TRK_PT_0 + 0xC, 60}));
  EXPECT_EQ(RowOps(m.song, 0, 3, 0), FirstRow({TRK_INSTRUMENT, 33, TRK_NOTE, 24, TRK_PT_0 + 0xC, 0}));
  EXPECT_EQ(RowOps(m.song, 0, 7, 0), kFirstRow);
  EXPECT_EQ(RowOps(m.song, 0, 3, 1), (Ops{TRK_INSTRUMENT, 1, TRK_NOTE, 85, TRK_PT_0 + 0xC, 28}));
  EXPECT_EQ(RowOps(m.song, 0, 3, 2), (Ops{TRK_PT_0 + 0xC, 20}));
  EXPECT_EQ(RowOps(m.song, 0, 3, 3), (Ops{TRK_PT_0 + 0xC, 60}));
  EXPECT_EQ(RowOps(m.song, 0, 3, 4), Ops{});
  EXPECT_EQ(RowOps(m.song, 0, 3, 5), Ops{});
}

TEST(Composer669Loader, TheBreakRowEndsThePattern) {
  Composer669FileBuilder b = OneNoteSong();
  b.orders = {0, 1};
  b.breaks = {{0, 31}, {1, 255}};
  b.patternCount = 2;
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.song.patternRows, (std::vector<uint16_t>{32, 64}));
  // 32 + 64 rows of 3 ticks at tempo 78 (32 ms): the engine moves on
  // after row 31.
  int duration = -1;
  std::string pcm = test::RenderModuleBytes(b.Build(), &duration);
  EXPECT_EQ(duration, 9);
  EXPECT_NEAR(double(pcm.size()) / (44100 * 4), 96 * 3 * 0.032, 0.4);
  EXPECT_GT(test::Rms16(pcm), 100);
}

TEST(Composer669Loader, SamplesAndLoops) {
  Composer669FileBuilder b = OneNoteSong();
  b.samples = {{"none", test::SquareWave(40, 10)},
               {"loop", test::SquareWave(40, 10), 4, 30},
               {"long", test::SquareWave(40, 10), 4, 100},
               {"backwards", test::SquareWave(40, 10), 30, 4}};
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  const std::vector<ModSample>& s = m.song.samples;
  // A loop end of 0xFFFFF is no loop, not a loop over the whole sample.
  EXPECT_EQ(s[0].flags, 0);
  EXPECT_EQ(s[0].loopEnd, 40u);
  EXPECT_EQ(s[1].flags, SMP_LOOPED);
  EXPECT_EQ(s[1].loopStart, 4u);
  EXPECT_EQ(s[1].loopEnd, 30u);
  EXPECT_EQ(s[2].flags, SMP_LOOPED);
  EXPECT_EQ(s[2].loopEnd, 40u);
  EXPECT_EQ(s[3].flags, 0);
  for (const ModSample& sample : s) {
    EXPECT_EQ(sample.c4Speed, 8363);
    EXPECT_EQ(sample.volume, 64);
  }
  EXPECT_EQ(s[0].name, "none");
  EXPECT_EQ(m.data[3], test::SquareWave(40, 10));
}

TEST(Composer669Loader, ShortFilesAndPatternsWithoutABreakEntry) {
  std::string bytes = OneNoteSong().Build();
  EXPECT_FALSE(LoadModuleBytes(bytes.substr(0, 400)).ok);
  EXPECT_FALSE(LoadModuleBytes(bytes.substr(0, 497 + 10)).ok);
  EXPECT_FALSE(LoadModuleBytes(bytes.substr(0, 497 + 25 + 1000)).ok);
  std::string more = bytes;
  more[111] = char(200);
  EXPECT_FALSE(LoadModuleBytes(more).ok);

  // Patterns from 128 on have no break entry and play 64 rows.
  Composer669FileBuilder b = OneNoteSong();
  b.patternCount = 130;
  b.orders = {129};
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.song.patternRows[129], 64);
  EXPECT_EQ(m.song.trackCount, 1040);
}

}  // namespace
}  // namespace pellora
