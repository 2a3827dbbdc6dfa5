#include <gtest/gtest.h>

#include "music/track.h"
#include "testing/mod_file_builder.h"
#include "testing/stm_file_builder.h"
#include "tests/music/music_test_support.h"
#include "tests/music/tracker_test_support.h"

namespace pellora {
namespace {

using test::LoadModuleBytes;
using test::RowOps;
using test::StmFileBuilder;
using Ops = std::vector<int>;

StmFileBuilder OneNoteSong() {
  StmFileBuilder b;
  b.title = "second reality";
  b.orders = {0};
  b.samples = {{"square", test::SquareWave(64, 100)}};
  b.Cell(0, 0, 0) = StmFileBuilder::Note(2, 0, 1);
  return b;
}

std::vector<int8_t> Ramp(size_t length, int start) {
  std::vector<int8_t> data(length);
  for (size_t i = 0; i < length; ++i) data[i] = int8_t(start + int(i));
  return data;
}

TEST(StmLoader, HeaderFieldsAndLabel) {
  StmFileBuilder b = OneNoteSong();
  b.tempo = 0x5F;
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.detected, "STM");
  EXPECT_EQ(m.song.formatName, "ScreamTracker 2");
  EXPECT_EQ(m.song.songName, "second reality");
  EXPECT_EQ(m.song.initialSpeed, 5);
  EXPECT_EQ(m.song.initialTempo, 125);
  EXPECT_EQ(m.song.channelCount, 4);
  EXPECT_EQ(m.song.sampleCount, 31);
  EXPECT_EQ(m.song.patternCount, 1);
  EXPECT_EQ(m.song.trackCount, 4);
  EXPECT_EQ(RowOps(m.song, 0, 0, 0), (Ops{TRK_INSTRUMENT, 0, TRK_NOTE, 48}));
  EXPECT_EQ(m.data[0], test::SquareWave(64, 100));
}

TEST(StmLoader, TheOrderListEndsAtNinetyNine) {
  StmFileBuilder b = OneNoteSong();
  b.patternCount = 3;
  b.orders = {0, 1, 2};
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.song.positionCount, 3);
  EXPECT_EQ(m.song.positions[2], 2);

  b.orders = {99, 0, 1};
  m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.song.positionCount, 0);
  int duration = -1;
  test::RenderModuleBytes(b.Build(), &duration);
  EXPECT_EQ(duration, 0);

  // Without a 99 the whole list of 128 plays.
  b.orders.assign(128, 1);
  b.terminate = false;
  m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.song.positionCount, 128);
  EXPECT_EQ(m.song.positions[127], 1);
}

TEST(StmLoader, CellsBecomeNotesVolumesAndCommands) {
  StmFileBuilder b = OneNoteSong();
  b.samples.resize(31, {"", test::SquareWave(4, 1)});
  struct Case {
    std::array<uint8_t, 4> cell;
    Ops ops;
  } cases[] = {
      {StmFileBuilder::Note(3, 4, 31, 40), {TRK_INSTRUMENT, 30, TRK_NOTE, 64, TRK_PT_0 + 0xC, 40}},
      {StmFileBuilder::Note(0, 0, 0, 64), {TRK_NOTE, 24, TRK_PT_0 + 0xC, 64}},
      {{252, 0x01, 0x80, 0}, {TRK_PT_0 + 0xC, 0}},
      {{254, 0x01, 0x80, 0}, {TRK_PT_0 + 0xC, 0}},
      {{251, 0x01, 0x80, 0}, {}},
      {{253, 0x01, 0x80, 0}, {}},
      {{255, 0x09, 0x80, 0}, {TRK_INSTRUMENT, 0}},
      {{255, 0x00, 0x00, 0}, {TRK_PT_0 + 0xC, 0}},
      {{255, 0x01, 0x81, 0x37}, {TRK_PT_0 + 0xF, 3}},  // A: speed in the high nibble
      {{255, 0x01, 0x82, 0x05}, {TRK_PT_0 + 0xB, 5}},
      {{255, 0x01, 0x83, 0x10}, {TRK_PT_0 + 0xD, 0x10}},
      {{255, 0x01, 0x84, 0x0F}, {TRK_ST3_VOLSLIDE, 0x0F}},
      {{255, 0x01, 0x85, 0x11}, {TRK_ST3_PORTA_DOWN, 0x11}},
      {{255, 0x01, 0x86, 0x12}, {TRK_ST3_PORTA_UP, 0x12}},
      {{255, 0x01, 0x87, 0x13}, {TRK_PT_0 + 0x3, 0x13}},
      {{255, 0x01, 0x88, 0x14}, {TRK_PT_0 + 0x4, 0x14}},
      {{255, 0x01, 0x89, 0x15}, {TRK_ST3_TREMOR, 0x15}},
      {{255, 0x01, 0x8A, 0x16}, {TRK_PT_0, 0x16}},
      {{255, 0x01, 0x8B, 0x17}, {TRK_PT_0 + 0x4, 0, TRK_ST3_VOLSLIDE, 0x17}},
      {{255, 0x01, 0x8C, 0x18}, {TRK_PT_0 + 0x3, 0, TRK_ST3_VOLSLIDE, 0x18}},
      {{255, 0x01, 0x8D, 0x19}, {}},
      {{255, 0x01, 0x8F, 0x19}, {}},
  };
  int row = 0;
  for (const Case& c : cases) b.Cell(0, row++, 1) = c.cell;
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  row = 0;
  for (const Case& c : cases) {
    EXPECT_EQ(RowOps(m.song, 0, 1, row), c.ops) << "row " << row;
    ++row;
  }
}

TEST(StmLoader, SamplesWithoutVolumeOrOfOneByteTakeNoRoomInComputedPositions) {
  StmFileBuilder b = OneNoteSong();
  b.recordPositions = false;
  b.samples = {{"a", Ramp(20, 0)}, {"silent", Ramp(100, 50)}, {"one", {5}}, {"c", Ramp(30, -40)}};
  b.samples[1].volume = 0;  // its data is not written
  std::string bytes = b.Build();
  test::LoadedModule m = LoadModuleBytes(bytes);
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.data[0], Ramp(20, 0));
  EXPECT_EQ(m.song.samples[1].length, 0u);
  EXPECT_EQ(m.song.samples[1].name, "silent");
  EXPECT_EQ(m.song.samples[2].length, 0u);
  EXPECT_EQ(m.song.samples[2].slot, -1);
  // The third sample's single byte was written, 16 bytes before the last.
  EXPECT_EQ(m.song.samples[3].fileOffset, 2192u + 32u);
  EXPECT_NE(m.data[3], Ramp(30, -40));
}

TEST(StmLoader, RecordedDataPositionsAreHonoured) {
  // A sample without volume whose data is in the file all the same: the
  // positions the headers record place the next sample right.
  StmFileBuilder b = OneNoteSong();
  b.samples = {{"a", Ramp(20, 0)}, {"quiet", Ramp(100, 50)}, {"c", Ramp(30, -40)}};
  std::string bytes = b.Build();
  bytes[48 + 32 + 22] = 0;  // the second sample's volume
  test::LoadedModule m = LoadModuleBytes(bytes);
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.data[0], Ramp(20, 0));
  EXPECT_EQ(m.song.samples[1].length, 0u);
  EXPECT_EQ(m.data[2], Ramp(30, -40));
  EXPECT_EQ(m.song.samples[2].fileOffset, 2192u + 32u + 112u);

  // A recorded position outside the sample data is not trusted.
  bytes[48 + 64 + 14] = 1;
  bytes[48 + 64 + 15] = 0;
  m = LoadModuleBytes(bytes);
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.song.samples[2].fileOffset, 2192u + 32u);
}

TEST(StmLoader, LoopsAndRates) {
  StmFileBuilder b = OneNoteSong();
  b.samples = {{"none", Ramp(40, 0), 0, 0xFFFF}, {"zero", Ramp(40, 0), 4, 0}, {"loop", Ramp(40, 0), 4, 30, 64, 8363},
               {"long", Ramp(40, 0), 4, 300, 50, 22000}};
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  const std::vector<ModSample>& s = m.song.samples;
  EXPECT_EQ(s[0].flags, SMP_SIGNED_DATA);
  EXPECT_EQ(s[0].loopEnd, 40u);
  EXPECT_EQ(s[1].flags, SMP_SIGNED_DATA);
  EXPECT_EQ(s[2].flags, SMP_SIGNED_DATA | SMP_LOOPED);
  EXPECT_EQ(s[2].loopStart, 4u);
  EXPECT_EQ(s[2].loopEnd, 30u);
  EXPECT_EQ(s[2].c4Speed, 8363);
  EXPECT_EQ(s[3].flags, SMP_SIGNED_DATA | SMP_LOOPED);
  EXPECT_EQ(s[3].loopEnd, 40u);
  EXPECT_EQ(s[3].volume, 50);
  EXPECT_EQ(s[3].c4Speed, 22000);
}

TEST(StmLoader, ShortFilesAreRefused) {
  std::string bytes = OneNoteSong().Build();
  EXPECT_FALSE(LoadModuleBytes(bytes.substr(0, 1000)).ok);
  EXPECT_FALSE(LoadModuleBytes(bytes.substr(0, 1168 + 1000)).ok);
  // More patterns than the file holds.
  std::string more = bytes;
  more[33] = char(200);
  EXPECT_FALSE(LoadModuleBytes(more).ok);
  // Sample data cut short: what is there plays.
  test::LoadedModule cut = LoadModuleBytes(bytes.substr(0, bytes.size() - 24));
  ASSERT_TRUE(cut.ok);
  EXPECT_EQ(cut.song.samples[0].length, 40u);
}

TEST(StmLoader, PlaysAndIsHeard) {
  StmFileBuilder b = OneNoteSong();
  b.samples[0].loopStart = 0;
  b.samples[0].loopEnd = 64;
  b.Cell(0, 16, 2) = {255, 0x01, 0x83, 0x00};
  int duration = -1;
  std::string pcm = test::RenderModuleBytes(b.Build(), &duration);
  EXPECT_EQ(duration, 2);  // 17 rows of 6 ticks
  EXPECT_GT(test::Rms16(pcm), 1000);
}

}  // namespace
}  // namespace pellora
