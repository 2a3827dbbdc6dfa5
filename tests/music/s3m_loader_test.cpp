#include <gtest/gtest.h>

#include "music/track.h"
#include "testing/mod_file_builder.h"
#include "testing/s3m_file_builder.h"
#include "tests/music/music_test_support.h"
#include "tests/music/tracker_test_support.h"

namespace pellora {
namespace {

using test::LoadModuleBytes;
using test::RowOps;
using test::S3mFileBuilder;
using test::S3mFileCell;
using Ops = std::vector<int>;

S3mFileBuilder TwoSampleSong(int channels = 4) {
  S3mFileBuilder b(channels);
  b.title = "scream";
  b.orders = {0};
  b.samples = {{"square", test::SquareWave(64, 100)}, {"sine", test::SineWave(128, 2, 90)}};
  b.Add(0, 0, 0, {0x40, 1});
  return b;
}

TEST(S3mLoader, HeaderFieldsAndLabel) {
  S3mFileBuilder b = TwoSampleSong();
  b.speed = 4;
  b.tempo = 150;
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.detected, "S3M");
  EXPECT_EQ(m.song.formatName, "ScreamTracker 3");
  EXPECT_EQ(m.song.songName, "scream");
  EXPECT_EQ(m.song.initialSpeed, 4);
  EXPECT_EQ(m.song.initialTempo, 150);
  EXPECT_EQ(m.song.channelCount, 4);
  EXPECT_EQ(m.song.sampleCount, 2);
  EXPECT_EQ(m.song.patternCount, 1);
  EXPECT_EQ(m.song.trackCount, 4);
  EXPECT_EQ(RowOps(m.song, 0, 0, 0), (Ops{TRK_INSTRUMENT, 0, TRK_NOTE, 48}));
}

TEST(S3mLoader, SettingsMapToSongChannelsInIncreasingOrderWithTheirSide) {
  // File channels with settings 0, 8, 1, 9: song channels follow the
  // values 0, 1, 8, 9, so file channel 2 is song channel 1.
  S3mFileBuilder b(4);
  b.orders = {0};
  b.samples = {{"s", test::SquareWave(64, 100)}};
  for (int k = 0; k < 4; ++k) b.Add(0, 0, k, {uint8_t(0x40 + k), 1});
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  ASSERT_EQ(m.song.channelCount, 4);
  EXPECT_EQ(RowOps(m.song, 0, 0, 0), (Ops{TRK_INSTRUMENT, 0, TRK_NOTE, 48}));
  EXPECT_EQ(RowOps(m.song, 0, 1, 0), (Ops{TRK_INSTRUMENT, 0, TRK_NOTE, 50}));
  EXPECT_EQ(RowOps(m.song, 0, 2, 0), (Ops{TRK_INSTRUMENT, 0, TRK_NOTE, 49}));
  EXPECT_EQ(RowOps(m.song, 0, 3, 0), (Ops{TRK_INSTRUMENT, 0, TRK_NOTE, 51}));
  // Left settings (0..7) pan left, right ones (8..15) right; every song
  // channel has its own entry.
  EXPECT_LT(m.song.panning[0], 128);
  EXPECT_LT(m.song.panning[1], 128);
  EXPECT_GT(m.song.panning[2], 128);
  EXPECT_GT(m.song.panning[3], 128);
}

TEST(S3mLoader, UnusedAndMutedSettings) {
  S3mFileBuilder b(1);
  b.orders = {0};
  b.samples = {{"s", test::SquareWave(64, 100)}};
  // 16 and above (AdLib, unused) play nothing; bit 7 (muted) is masked off.
  b.channelSettings = {};
  b.channelSettings.fill(255);
  b.channelSettings[0] = 16;
  b.channelSettings[1] = 0x80 | 11;
  b.channelSettings[2] = 31;
  b.Add(0, 0, 0, {0x40, 1});
  b.Add(0, 0, 1, {0x41, 1});
  b.Add(0, 0, 2, {0x42, 1});
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  ASSERT_EQ(m.song.channelCount, 1);
  EXPECT_EQ(RowOps(m.song, 0, 0, 0), (Ops{TRK_INSTRUMENT, 0, TRK_NOTE, 49}));
  EXPECT_GT(m.song.panning[0], 128);

  // A song with no channel in use has nothing to play.
  b.channelSettings.fill(255);
  b.channelSettings[0] = 20;
  EXPECT_FALSE(LoadModuleBytes(b.Build()).ok);
}

TEST(S3mLoader, FileChannelsSharingASettingShareASongChannel) {
  S3mFileBuilder b(2);
  b.orders = {0};
  b.samples = {{"a", test::SquareWave(64, 100)}, {"b", test::SquareWave(64, 100)}};
  b.channelSettings[0] = 3;
  b.channelSettings[1] = 3;
  // Row 0: both cells hold a note; the later one wins.
  b.Add(0, 0, 0, {0x40, 1});
  b.Add(0, 0, 1, {0x52, 2});
  // Row 1: the later cell holds only a command; the earlier note stays.
  b.Add(0, 1, 0, {0x40, 1, 30});
  b.Add(0, 1, 1, {255, 0, 255, 10, 0x37});
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  ASSERT_EQ(m.song.channelCount, 1);
  EXPECT_EQ(RowOps(m.song, 0, 0, 0), (Ops{TRK_INSTRUMENT, 1, TRK_NOTE, 62}));
  EXPECT_EQ(RowOps(m.song, 0, 0, 1), (Ops{TRK_INSTRUMENT, 0, TRK_NOTE, 48, TRK_PT_0 + 0xC, 30, TRK_PT_0, 0x37}));
}

TEST(S3mLoader, OrderListDropsMarkersAndEndMarks) {
  S3mFileBuilder b = TwoSampleSong();
  b.orders = {0, 254, 1, 255, 2};
  b.patternCount = 3;
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.song.positionCount, 3);
  EXPECT_EQ(m.song.positions[0], 0);
  EXPECT_EQ(m.song.positions[1], 1);
  EXPECT_EQ(m.song.positions[2], 2);

  // Order lists longer than the 256 positions a song has keep their start.
  b.orders.assign(300, 1);
  b.orders[0] = 2;
  m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.song.positionCount, 256);
  EXPECT_EQ(m.song.positions[0], 2);
  EXPECT_EQ(m.song.positions[255], 1);
}

TEST(S3mLoader, NotesVolumesAndTheCommandTable) {
  S3mFileBuilder b(1);
  b.orders = {0};
  b.samples = {{"s", test::SquareWave(64, 100)}};
  struct Case {
    S3mFileCell cell;
    Ops ops;
  } cases[] = {
      {{0x40, 1, 20}, {TRK_INSTRUMENT, 0, TRK_NOTE, 48, TRK_PT_0 + 0xC, 20}},
      {{254, 0}, {TRK_PT_0 + 0xC, 0}},  // note cut
      {{0x7B}, {TRK_NOTE, 95}},
      {{255, 0, 255, 1, 3}, {TRK_ST3_SPEED, 3}},
      {{255, 0, 255, 2, 4}, {TRK_PT_0 + 0xB, 4}},
      {{255, 0, 255, 3, 0x12}, {TRK_PT_0 + 0xD, 0x12}},
      {{255, 0, 255, 4, 0x0F}, {TRK_ST3_VOLSLIDE, 0x0F}},
      {{255, 0, 255, 5, 0x21}, {TRK_ST3_PORTA_DOWN, 0x21}},
      {{255, 0, 255, 6, 0x22}, {TRK_ST3_PORTA_UP, 0x22}},
      {{255, 0, 255, 7, 0x23}, {TRK_PT_0 + 0x3, 0x23}},
      {{255, 0, 255, 8, 0x24}, {TRK_PT_0 + 0x4, 0x24}},
      {{255, 0, 255, 9, 0x25}, {TRK_ST3_TREMOR, 0x25}},
      {{255, 0, 255, 10, 0x26}, {TRK_PT_0, 0x26}},
      {{255, 0, 255, 11, 0x27}, {TRK_PT_0 + 0x4, 0, TRK_ST3_VOLSLIDE, 0x27}},
      {{255, 0, 255, 12, 0x28}, {TRK_PT_0 + 0x3, 0, TRK_ST3_VOLSLIDE, 0x28}},
      {{255, 0, 255, 13, 0x29}, {}},  // M
      {{255, 0, 255, 15, 0x2A}, {TRK_PT_0 + 0x9, 0x2A}},
      {{255, 0, 255, 17, 0x2B}, {TRK_ST3_RETRIG, 0x2B}},
      {{255, 0, 255, 18, 0x2C}, {TRK_PT_0 + 0x7, 0x2C}},
      {{255, 0, 255, 19, 0x01}, {TRK_PT_0 + 0xE, 0x01}},
      {{255, 0, 255, 19, 0x12}, {TRK_PT_0 + 0xE, 0x32}},
      {{255, 0, 255, 19, 0x23}, {TRK_PT_0 + 0xE, 0x53}},
      {{255, 0, 255, 19, 0x34}, {TRK_PT_0 + 0xE, 0x44}},
      {{255, 0, 255, 19, 0x45}, {TRK_PT_0 + 0xE, 0x75}},
      {{255, 0, 255, 19, 0x86}, {TRK_PT_0 + 0xE, 0x86}},
      {{255, 0, 255, 19, 0xB7}, {TRK_PT_0 + 0xE, 0x67}},
      {{255, 0, 255, 19, 0xC8}, {TRK_PT_0 + 0xE, 0xC8}},
      {{255, 0, 255, 19, 0xD9}, {TRK_PT_0 + 0xE, 0xD9}},
      {{255, 0, 255, 19, 0xEA}, {TRK_PT_0 + 0xE, 0xEA}},
      {{255, 0, 255, 19, 0x5B}, {}},
      {{255, 0, 255, 19, 0xFB}, {}},
      {{255, 0, 255, 20, 0x20}, {}},  // T20 is tempo 32: dropped
      {{255, 0, 255, 20, 0x21}, {TRK_ST3_TEMPO, 0x21}},
      {{255, 0, 255, 24, 0x80}, {TRK_PT_0 + 0x8, 0x80}},
      {{255, 0, 255, 22, 0x30}, {}},  // V
      {{255, 0, 255, 26, 0x30}, {}},  // Z
      {{255, 0, 255, 27, 0x30}, {}},  // beyond Z
  };
  int row = 0;
  for (const Case& c : cases) b.Add(0, row++, 0, c.cell);
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  row = 0;
  for (const Case& c : cases) {
    EXPECT_EQ(RowOps(m.song, 0, 0, row), c.ops) << "row " << row << " command " << int(c.cell.command);
    ++row;
  }
}

TEST(S3mLoader, InstrumentsWithoutScrsKeepTheirNameButNoSound) {
  S3mFileBuilder b = TwoSampleSong();
  b.samples[0].scrs = false;
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.song.samples[0].name, "square");
  EXPECT_EQ(m.song.samples[0].length, 0u);
  EXPECT_EQ(m.song.samples[0].slot, -1);
  EXPECT_TRUE(m.data[0].empty());
  EXPECT_EQ(m.song.samples[1].length, 128u);
}

TEST(S3mLoader, SampleDataComesFromItsPositionInEachFormat) {
  S3mFileBuilder b = TwoSampleSong();
  b.samples[0].data = {0, 1, 127, -128, -1};
  b.samples[1].data16 = {0x1234, -2, 0x7FFF, -0x8000};
  b.samples[1].looped = true;
  b.samples[1].loopStart = 1;
  b.samples[1].loopEnd = 9;  // beyond the end: cut
  b.samples[1].c4Speed = 70000;
  for (uint16_t format : {1, 2}) {
    b.sampleFormat = format;
    test::LoadedModule m = LoadModuleBytes(b.Build());
    ASSERT_TRUE(m.ok);
    EXPECT_EQ(m.data[0], (std::vector<int8_t>{0, 1, 127, -128, -1})) << format;
    EXPECT_EQ(m.data[1], (std::vector<int8_t>{0x12, -1, 0x7F, -0x80})) << format;
    const ModSample& s = m.song.samples[1];
    EXPECT_EQ(s.flags & (SMP_LOOPED | SMP_16BIT_DATA), SMP_LOOPED | SMP_16BIT_DATA);
    EXPECT_EQ(s.flags & SMP_SIGNED_DATA, format == 1 ? SMP_SIGNED_DATA : 0);
    EXPECT_EQ(s.loopStart, 1u);
    EXPECT_EQ(s.loopEnd, 4u);
    // Rates above 16 bits stay at the highest, rather than wrapping round.
    EXPECT_EQ(s.c4Speed, 65535);
    EXPECT_EQ(m.song.samples[0].c4Speed, 8363);
  }
  // Data cut short by the end of the file is shortened.
  std::string bytes = b.Build();
  test::LoadedModule cut = LoadModuleBytes(bytes.substr(0, bytes.size() - 3));
  ASSERT_TRUE(cut.ok);
  EXPECT_EQ(cut.song.samples[1].length, 2u);
  EXPECT_EQ(cut.song.samples[1].loopEnd, 2u);
}

TEST(S3mLoader, ZeroParapointersAreNoInstrumentAndNoPattern) {
  S3mFileBuilder b = TwoSampleSong();
  b.orders = {0, 1};
  b.Add(1, 5, 0, {0x30, 1});
  b.missingPatterns = {0};
  std::string bytes = b.Build();
  // The first instrument's parapointer sits right after the two orders.
  size_t pointers = 96 + b.orders.size();
  bytes[pointers] = bytes[pointers + 1] = 0;
  test::LoadedModule m = LoadModuleBytes(bytes);
  ASSERT_TRUE(m.ok);
  EXPECT_FALSE(m.song.samples[0].name.has_value());
  EXPECT_EQ(m.song.samples[0].length, 0u);
  EXPECT_EQ(m.song.samples[1].name, "sine");
  for (int row = 0; row < 64; ++row) EXPECT_EQ(RowOps(m.song, 0, 0, row), Ops{});
  EXPECT_EQ(RowOps(m.song, 1, 0, 5), (Ops{TRK_INSTRUMENT, 0, TRK_NOTE, 36}));
}

TEST(S3mLoader, PatternsBeyondTheLastPlayableOneAreNotKept) {
  S3mFileBuilder b = TwoSampleSong(1);
  b.patternCount = 300;
  for (int p = 1; p < 300; ++p) b.missingPatterns.push_back(p);
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.song.patternCount, 256);
  EXPECT_EQ(m.song.trackCount, 256);
}

TEST(S3mLoader, TruncatedFilesAreRefused) {
  S3mFileBuilder b = TwoSampleSong();
  b.Add(0, 63, 0, {0x40, 1});
  std::string bytes = b.Build();
  EXPECT_FALSE(LoadModuleBytes(bytes.substr(0, 90)).ok);        // header
  EXPECT_FALSE(LoadModuleBytes(bytes.substr(0, 96)).ok);        // order list
  EXPECT_FALSE(LoadModuleBytes(bytes.substr(0, 100)).ok);       // parapointers
  EXPECT_FALSE(LoadModuleBytes(bytes.substr(0, 112 + 40)).ok);  // first instrument header
  // The end of the file inside the packed pattern, which follows the two
  // instrument headers (at 112 and 192) and its own length.
  EXPECT_FALSE(LoadModuleBytes(bytes.substr(0, 272 + 2 + 3)).ok);
  // Counts larger than the file: refused without trying to read them.
  std::string huge = bytes;
  huge[32] = char(0xFF);
  huge[33] = char(0xFF);
  EXPECT_FALSE(LoadModuleBytes(huge).ok);
}

TEST(S3mLoader, PlaysAndIsHeard) {
  S3mFileBuilder b = TwoSampleSong(2);
  b.samples[0].looped = true;
  b.samples[0].loopEnd = 64;
  b.Add(0, 0, 1, {0x50, 2, 64});
  b.Add(0, 32, 0, {255, 0, 255, 3, 0});
  int duration = -1;
  std::string pcm = test::RenderModuleBytes(b.Build(), &duration);
  EXPECT_EQ(duration, 4);  // 33 rows of 6 ticks at 125 BPM
  EXPECT_NEAR(double(pcm.size()) / (44100 * 4), 33 * 6 * 0.02, 0.25);
  EXPECT_GT(test::Rms16(pcm), 1000);
}

}  // namespace
}  // namespace pellora
