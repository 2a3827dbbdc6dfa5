#include <gtest/gtest.h>

#include "music/track.h"
#include "testing/mod_file_builder.h"
#include "testing/mtm_file_builder.h"
#include "tests/music/music_test_support.h"
#include "tests/music/tracker_test_support.h"

namespace pellora {
namespace {

using test::LoadModuleBytes;
using test::RowOps;
using test::TrackRowOps;
using test::MtmFileBuilder;
using test::MtmFileRow;
using Ops = std::vector<int>;

MtmFileBuilder OneNoteSong(int channels = 4) {
  MtmFileBuilder b(channels);
  b.title = "multi";
  b.orders = {0};
  b.samples = {{"square", test::SquareWave(64, 100)}};
  int t = b.AddTrack({{24, 1}});
  b.patterns = {{uint16_t(t)}};
  return b;
}

TEST(MtmLoader, HeaderFieldsCommentAndPanning) {
  MtmFileBuilder b = OneNoteSong(5);
  b.orders = {0, 1, 0};
  b.patterns.push_back({0, 1});
  b.pans[0] = 0;
  b.pans[1] = 15;
  b.pans[2] = 7;
  b.comment = std::string("Line one\0\0\x01\x85Line two", 20);
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.detected, "MTM");
  EXPECT_EQ(m.song.formatName, "MultiModuleEdit");
  EXPECT_EQ(m.song.songName, "multi");
  EXPECT_EQ(m.song.initialSpeed, 6);
  EXPECT_EQ(m.song.initialTempo, 125);
  EXPECT_EQ(m.song.channelCount, 5);
  EXPECT_EQ(m.song.positionCount, 3);
  EXPECT_EQ(m.song.patternCount, 2);
  EXPECT_EQ(m.song.trackCount, 2);
  EXPECT_EQ(m.song.sampleCount, 1);
  EXPECT_EQ(m.song.panning[0], 0);
  EXPECT_EQ(m.song.panning[1], 240);
  EXPECT_EQ(m.song.panning[2], 112);
  EXPECT_EQ(m.song.comment, "Line one    Line two");
  EXPECT_EQ(m.data[0], test::SquareWave(64, 100));
}

TEST(MtmLoader, PatternsShareTracksAndTrackZeroIsEmpty) {
  MtmFileBuilder b = OneNoteSong(4);
  int a = b.AddTrack({{}, {30, 1, 0xC, 20}});
  b.orders = {0, 1};
  // Pattern 1 plays track 2 in two channels, the empty track and a track
  // number the file does not hold (which plays as the empty one).
  b.patterns = {{1, 0, 0, 0}, {uint16_t(a), uint16_t(a), 0, 77}};
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  ASSERT_EQ(m.song.trackCount, 3);
  EXPECT_EQ(m.song.patternTracks, (std::vector<uint16_t>{1, 0, 0, 0, 2, 2, 0, 0}));
  for (int row = 0; row < 64; ++row) EXPECT_EQ(TrackRowOps(m.song, 0, row), Ops{});
  EXPECT_EQ(RowOps(m.song, 1, 0, 1), (Ops{TRK_INSTRUMENT, 0, TRK_NOTE, 54, TRK_PT_0 + 0xC, 20}));
  EXPECT_EQ(RowOps(m.song, 1, 1, 1), (Ops{TRK_INSTRUMENT, 0, TRK_NOTE, 54, TRK_PT_0 + 0xC, 20}));
  EXPECT_EQ(RowOps(m.song, 0, 0, 0), (Ops{TRK_INSTRUMENT, 0, TRK_NOTE, 48}));
}

TEST(MtmLoader, VolumeSlidesUpAndDownSlideUp) {
  MtmFileBuilder b = OneNoteSong();
  int t = b.AddTrack({{0, 0, 0xA, 0x35}, {0, 0, 0xA, 0x05}, {0, 0, 0xA, 0x30}, {0, 0, 0xA, 0x00}, {0, 0, 0x1, 0x35}});
  b.patterns = {{uint16_t(t)}};
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(RowOps(m.song, 0, 0, 0), (Ops{TRK_PT_0 + 0xA, 0x30}));
  EXPECT_EQ(RowOps(m.song, 0, 0, 1), (Ops{TRK_PT_0 + 0xA, 0x05}));
  EXPECT_EQ(RowOps(m.song, 0, 0, 2), (Ops{TRK_PT_0 + 0xA, 0x30}));
  EXPECT_EQ(RowOps(m.song, 0, 0, 3), (Ops{TRK_PT_0 + 0xA, 0x00}));
  EXPECT_EQ(RowOps(m.song, 0, 0, 4), (Ops{TRK_PT_0 + 0x1, 0x35}));
}

TEST(MtmLoader, SampleLoopsFinetuneAndSixteenBitData) {
  MtmFileBuilder b = OneNoteSong();
  b.samples = {{"short", test::SquareWave(40, 10), {}, 10, 12},
               {"loop", test::SquareWave(40, 10), {}, 10, 13, 15, 50},
               {"odd", test::SquareWave(40, 10), {}, 5, 80, 0x1B},
               {"wide", {}, {0x1234, -0x7F00, 0x7FFF, -1}, 1, 4}};
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  const std::vector<ModSample>& s = m.song.samples;
  EXPECT_EQ(s[0].flags, 0);  // a loop of two frames does not loop
  EXPECT_EQ(s[1].flags, SMP_LOOPED);
  EXPECT_EQ(s[1].c4Speed, 8280);
  EXPECT_EQ(s[1].volume, 50);
  // Only the low four bits of the finetune byte count.
  EXPECT_EQ(s[2].c4Speed, 8046);
  EXPECT_EQ(s[2].loopEnd, 40u);
  EXPECT_EQ(s[3].flags, SMP_16BIT_DATA | SMP_LOOPED);
  EXPECT_EQ(s[3].length, 4u);
  EXPECT_EQ(s[3].loopStart, 1u);
  EXPECT_EQ(s[3].loopEnd, 4u);
  EXPECT_EQ(m.data[0], test::SquareWave(40, 10));
  EXPECT_EQ(m.data[3], (std::vector<int8_t>{0x12, -0x7F, 0x7F, -1}));
}

TEST(MtmLoader, CountsAreLimitedOrRefused) {
  MtmFileBuilder wide = OneNoteSong(40);
  wide.orders.assign(200, 0);
  test::LoadedModule m = LoadModuleBytes(wide.Build());
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.song.channelCount, 32);
  EXPECT_EQ(m.song.positionCount, 128);

  std::string bytes = OneNoteSong().Build();
  std::string odd = bytes;
  odd[33] = 0;  // no channel
  EXPECT_FALSE(LoadModuleBytes(odd).ok);
  odd = bytes;
  odd[24] = odd[25] = char(0xFF);  // a track count that does not fit
  EXPECT_FALSE(LoadModuleBytes(odd).ok);
  odd = bytes;
  odd[24] = char(0xF0);  // more tracks than the file holds
  EXPECT_FALSE(LoadModuleBytes(odd).ok);
}

TEST(MtmLoader, ShortFilesAreRefusedAndShortSamplesShortened) {
  std::string bytes = OneNoteSong().Build();
  size_t samples = 66;
  size_t orders = samples + 37;
  size_t tracks = orders + 128;
  size_t table = tracks + 192;
  EXPECT_FALSE(LoadModuleBytes(bytes.substr(0, 60)).ok);
  EXPECT_FALSE(LoadModuleBytes(bytes.substr(0, samples + 20)).ok);
  EXPECT_FALSE(LoadModuleBytes(bytes.substr(0, orders + 100)).ok);
  EXPECT_FALSE(LoadModuleBytes(bytes.substr(0, tracks + 100)).ok);
  EXPECT_FALSE(LoadModuleBytes(bytes.substr(0, table + 30)).ok);
  test::LoadedModule cut = LoadModuleBytes(bytes.substr(0, bytes.size() - 14));
  ASSERT_TRUE(cut.ok);
  EXPECT_EQ(cut.song.samples[0].length, 50u);
}

TEST(MtmLoader, PlaysAndIsHeard) {
  MtmFileBuilder b = OneNoteSong(2);
  b.samples[0].loopEnd = 64;
  int stop = b.AddTrack({{}, {}, {}, {}, {}, {}, {}, {}, {0, 0, 0xD, 0}});
  b.patterns = {{1, uint16_t(stop)}};
  int duration = -1;
  std::string pcm = test::RenderModuleBytes(b.Build(), &duration);
  EXPECT_EQ(duration, 1);  // 9 rows of 6 ticks
  EXPECT_GT(test::Rms16(pcm), 1000);
}

}  // namespace
}  // namespace pellora
