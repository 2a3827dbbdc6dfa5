#include <gtest/gtest.h>

#include "music/mod_player.h"
#include "music/track.h"
#include "testing/mod_file_builder.h"
#include "testing/xm_file_builder.h"
#include "tests/music/music_test_support.h"
#include "tests/music/tracker_test_support.h"

namespace pellora {
namespace {

using test::LoadModuleBytes;
using test::RowOps;
using test::XmFileBuilder;
using test::XmFileCell;
using test::XmFileInstrument;
using test::XmFileSample;
using Ops = std::vector<int>;

std::vector<int8_t> Ramp(size_t length, int start, int step = 1) {
  std::vector<int8_t> data(length);
  for (size_t i = 0; i < length; ++i) data[i] = int8_t(start + step * int(i));
  return data;
}

XmFileBuilder OneNoteSong(int channels = 4) {
  XmFileBuilder b(channels);
  b.title = "extended";
  b.orders = {0};
  b.instruments = {{"lead", {{"square", test::SquareWave(64, 100)}}}};
  b.Cell(0, 0, 0) = {49, 1};
  return b;
}

TEST(XmLoader, HeaderFieldsAndTheTrackerName) {
  XmFileBuilder b = OneNoteSong(6);
  b.tracker = "FastTracker v2.00";
  b.speed = 3;
  b.bpm = 140;
  b.orders = {0, 1, 0};
  b.Cell(1, 0, 5) = {50, 1};
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.detected, "XM");
  EXPECT_EQ(m.song.songName, "extended");
  EXPECT_EQ(m.song.formatName, "FastTracker v2.00");
  EXPECT_EQ(m.song.channelCount, 6);
  EXPECT_EQ(m.song.positionCount, 3);
  EXPECT_EQ(m.song.positions[1], 1);
  EXPECT_EQ(m.song.patternCount, 2);
  EXPECT_EQ(m.song.trackCount, 12);
  EXPECT_EQ(m.song.sampleCount, 1);
  EXPECT_EQ(m.song.initialSpeed, 3);
  EXPECT_EQ(m.song.initialTempo, 140);
  EXPECT_EQ(m.song.samples[0].name, "lead");
  EXPECT_EQ(RowOps(m.song, 0, 0, 0), (Ops{TRK_INSTRUMENT, 0, TRK_NOTE, 48}));
  EXPECT_EQ(RowOps(m.song, 1, 5, 0), (Ops{TRK_INSTRUMENT, 0, TRK_NOTE, 49}));
}

TEST(XmLoader, ABlankTrackerNameLeavesTheFormatFieldEmpty) {
  XmFileBuilder b = OneNoteSong();
  b.tracker = "     ";
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  EXPECT_FALSE(m.song.formatName.has_value());
  test::TempDir dir;
  CModPlayer player(0);
  ASSERT_TRUE(player.Open(test::WriteModule(dir, "blank.xm", b.Build())));
  EXPECT_NE(player.GetInfoText().find("\r\nFormat : \"\"\r\nTitre : \"extended\"\r\n"), std::string::npos);
  EXPECT_EQ(player.GetSizeText(), " - 0 Ko");
}

TEST(XmLoader, EmptyPackedPatternsKeepTheirRowCount) {
  XmFileBuilder b = OneNoteSong();
  b.orders = {0, 1, 2};
  b.SetRows(1, 20);
  b.LeaveEmpty(1);
  b.SetRows(2, 32);
  b.Cell(2, 31, 1) = {61, 1};
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.song.patternRows, (std::vector<uint16_t>{64, 20, 32}));
  for (int k = 0; k < 4; ++k)
    for (int row = 0; row < 64; ++row) EXPECT_EQ(RowOps(m.song, 1, k, row), Ops{});
  EXPECT_EQ(RowOps(m.song, 2, 1, 31), (Ops{TRK_INSTRUMENT, 0, TRK_NOTE, 60}));
  // 64 + 20 + 32 rows of 6 ticks at 125 BPM: the engine moves on after
  // row 19 and row 31 although each track holds 64 rows.
  int duration = -1;
  std::string pcm = test::RenderModuleBytes(b.Build(), &duration);
  EXPECT_EQ(duration, 14);
  EXPECT_NEAR(double(pcm.size()) / (44100 * 4), 116 * 6 * 0.02, 0.25);
}

TEST(XmLoader, CellsVolumeColumnAndEffects) {
  XmFileBuilder b = OneNoteSong(2);
  struct Case {
    XmFileCell cell;
    Ops ops;
  } cases[] = {
      {{1, 2, 0x50, 0xC, 0x20}, {TRK_INSTRUMENT, 1, TRK_NOTE, 0, TRK_PT_0 + 0xC, 64, TRK_PT_0 + 0xC, 0x20}},
      {{96}, {TRK_NOTE, 95}},
      {{97}, {TRK_PT_0 + 0xC, 0}},  // key off silences
      {{98}, {}},
      {{0, 0, 0x10}, {TRK_PT_0 + 0xC, 0}},
      {{0, 0, 0x30}, {TRK_PT_0 + 0xC, 32}},
      {{0, 0, 0x60}, {}},  // a volume slide in the volume column: nothing
      {{0, 0, 0x0F}, {}},
      {{0, 0, 0xC8}, {}},
      {{0, 0, 0, 0xF, 0x7D}, {TRK_PT_0 + 0xF, 0x7D}},
      {{0, 0, 0, 0x0, 0x37}, {TRK_PT_0, 0x37}},
      {{0, 0, 0, 0xE, 0x91}, {TRK_PT_0 + 0xE, 0x91}},
      {{0, 0, 0, 16, 0x40}, {}},  // the format's own effects play nothing
      {{0, 0, 0, 20, 0x00}, {}},
      {{0, 0, 0, 35, 0x01}, {}},
  };
  int row = 1;
  for (const Case& c : cases) b.Cell(0, row++, 1) = c.cell;
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  row = 1;
  for (const Case& c : cases) {
    EXPECT_EQ(RowOps(m.song, 0, 1, row), c.ops) << "row " << row;
    ++row;
  }
}

TEST(XmLoader, OnlyTheFirstSampleOfAnInstrumentPlays) {
  XmFileBuilder b = OneNoteSong();
  XmFileSample first{"first", Ramp(40, 0)};
  first.loopType = 2;  // ping-pong plays forward
  first.loopStart = 10;
  first.loopLength = 20;
  first.volume = 48;
  first.relativeNote = -5;
  first.finetune = -128;
  b.instruments = {{"three", {first, {"second", Ramp(300, 7)}, {"third", {}, std::vector<int16_t>(50, 3)}}},
                   {"next", {{"after", Ramp(30, -20, 2)}}}};
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  ASSERT_EQ(m.song.sampleCount, 2);
  const ModSample& s = m.song.samples[0];
  EXPECT_EQ(s.name, "three");
  EXPECT_EQ(s.length, 40u);
  EXPECT_EQ(s.loopStart, 10u);
  EXPECT_EQ(s.loopEnd, 30u);
  EXPECT_EQ(s.flags, SMP_DELTA_DATA | SMP_SIGNED_DATA | SMP_LOOPED);
  EXPECT_EQ(s.volume, 48);
  EXPECT_EQ(s.transpose, -5);
  EXPECT_EQ(s.c4Speed, 7894);  // a semitone below 8363
  EXPECT_EQ(m.data[0], Ramp(40, 0));
  // The other two samples' data is skipped: the next instrument is found.
  EXPECT_EQ(m.song.samples[1].name, "next");
  EXPECT_EQ(m.data[1], Ramp(30, -20, 2));
}

TEST(XmLoader, SixteenBitSamplesAndLoops) {
  XmFileBuilder b = OneNoteSong();
  XmFileSample wide{"wide"};
  wide.data16 = {0x1234, -0x7F00, 0x7FFF, 0, 0x0180, -1};
  wide.loopType = 1;
  wide.loopStart = 2;
  wide.loopLength = 9;  // beyond the end: cut
  wide.finetune = 64;
  wide.relativeNote = 12;
  XmFileSample flat{"flat", Ramp(16, 0)};
  flat.loopType = 1;  // a loop of no length is no loop
  b.instruments = {{"wide", {wide}}, {"flat", {flat}}};
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  const ModSample& s = m.song.samples[0];
  EXPECT_EQ(s.length, 6u);
  EXPECT_EQ(s.loopStart, 2u);
  EXPECT_EQ(s.loopEnd, 6u);
  EXPECT_EQ(s.flags, SMP_16BIT_DATA | SMP_DELTA_DATA | SMP_SIGNED_DATA | SMP_LOOPED);
  EXPECT_EQ(s.transpose, 12);
  EXPECT_EQ(s.c4Speed, 8608);  // half a semitone above 8363
  EXPECT_EQ(m.data[0], (std::vector<int8_t>{0x12, -0x7F, 0x7F, 0, 1, -1}));
  EXPECT_EQ(m.song.samples[1].flags, SMP_DELTA_DATA | SMP_SIGNED_DATA);
  EXPECT_EQ(m.data[1], Ramp(16, 0));
}

TEST(XmLoader, HeaderSizesComeFromTheFile) {
  XmFileBuilder b = OneNoteSong();
  b.instruments.push_back({"two", {{"b", Ramp(12, 3)}, {"c", Ramp(5, 1)}}});
  b.Cell(0, 1, 0) = {50, 2};
  std::string standard = b.Build();
  b.headerSize = 300;           // a longer song header: patterns start at 360
  b.patternHeaderSize = 14;     // packed data 14 bytes after the pattern header
  b.instrumentHeaderSize = 250; // a shorter instrument header
  b.sampleHeaderSize = 48;      // longer sample headers
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  test::LoadedModule s = LoadModuleBytes(standard);
  ASSERT_TRUE(s.ok);
  EXPECT_EQ(m.song.tracks, s.song.tracks);
  EXPECT_EQ(m.data, s.data);
  EXPECT_EQ(m.data[1], Ramp(12, 3));
  EXPECT_EQ(RowOps(m.song, 0, 0, 1), (Ops{TRK_INSTRUMENT, 1, TRK_NOTE, 49}));

  // A header of 21 bytes holds one order; the song length cannot exceed it.
  b = OneNoteSong();
  b.orders = {0, 0, 0, 0};
  b.headerSize = 21;
  m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.song.positionCount, 1);
  EXPECT_EQ(RowOps(m.song, 0, 0, 0), (Ops{TRK_INSTRUMENT, 0, TRK_NOTE, 48}));
  EXPECT_EQ(m.data[0], test::SquareWave(64, 100));
}

TEST(XmLoader, TheOldLayoutStoresInstrumentsBeforePatterns) {
  XmFileBuilder b = OneNoteSong();
  b.version = 0x0102;
  b.patternHeaderSize = 8;
  b.instrumentHeaderSize = 243;
  b.instruments.push_back({"two", {{"b", Ramp(12, 3)}, {"c", Ramp(5, 1)}}});
  b.instruments.push_back({"three", {{"d", Ramp(7, -3)}}});
  b.SetRows(0, 48);
  b.Cell(0, 47, 3) = {13, 3};
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.song.patternRows[0], 48);
  EXPECT_EQ(RowOps(m.song, 0, 3, 47), (Ops{TRK_INSTRUMENT, 2, TRK_NOTE, 12}));
  EXPECT_EQ(m.data[0], test::SquareWave(64, 100));
  EXPECT_EQ(m.data[1], Ramp(12, 3));
  EXPECT_EQ(m.data[2], Ramp(7, -3));
}

TEST(XmLoader, LongPatternsAndWideSongsAreLimited) {
  // 100 rows: the first 64 play. 40 channels: the first 32 play.
  XmFileBuilder b = OneNoteSong(40);
  b.orders = {0, 1};
  b.SetRows(0, 100);
  b.Cell(0, 63, 31) = {20, 1};
  b.Cell(0, 70, 0) = {21, 1};
  b.Cell(0, 5, 35) = {22, 1};
  b.Cell(1, 0, 0) = {23, 1};
  test::LoadedModule m = LoadModuleBytes(b.Build());
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(m.song.channelCount, 32);
  EXPECT_EQ(m.song.trackCount, 64);
  EXPECT_EQ(m.song.patternRows[0], 64);
  EXPECT_EQ(RowOps(m.song, 0, 31, 63), (Ops{TRK_INSTRUMENT, 0, TRK_NOTE, 19}));
  EXPECT_EQ(RowOps(m.song, 0, 0, 6), Ops{});
  // The next pattern is read from where the long one ends.
  EXPECT_EQ(RowOps(m.song, 1, 0, 0), (Ops{TRK_INSTRUMENT, 0, TRK_NOTE, 22}));
  EXPECT_EQ(m.data[0], test::SquareWave(64, 100));
}

TEST(XmLoader, DamagedFilesLoadWhatTheyHoldOrAreRefused) {
  XmFileBuilder b = OneNoteSong();
  b.instruments.push_back({"two", {{"b", Ramp(100, 3)}}});
  std::string bytes = b.Build();
  EXPECT_FALSE(LoadModuleBytes(bytes.substr(0, 70)).ok);
  // Cut inside the second instrument's data: it is shortened.
  test::LoadedModule cut = LoadModuleBytes(bytes.substr(0, bytes.size() - 40));
  ASSERT_TRUE(cut.ok);
  EXPECT_EQ(cut.song.samples[1].length, 60u);
  // Cut inside its sample header: the instrument list ends before it.
  cut = LoadModuleBytes(bytes.substr(0, bytes.size() - 100 - 30));
  ASSERT_TRUE(cut.ok);
  EXPECT_EQ(cut.song.sampleCount, 1);
  // Cut inside the pattern: the cells that are there play.
  size_t patternData = 336 + 9;
  cut = LoadModuleBytes(bytes.substr(0, patternData + 4));
  ASSERT_TRUE(cut.ok);
  EXPECT_EQ(RowOps(cut.song, 0, 0, 0), (Ops{TRK_INSTRUMENT, 0, TRK_NOTE, 48}));
  EXPECT_EQ(cut.song.sampleCount, 0);
  // Counts and sizes no file could hold.
  std::string odd = bytes;
  odd[68] = odd[69] = 0;  // no channel
  EXPECT_FALSE(LoadModuleBytes(odd).ok);
  odd = bytes;
  odd[60] = 10;  // a header too small for its own fields
  odd[61] = 0;
  EXPECT_FALSE(LoadModuleBytes(odd).ok);
  odd = bytes;
  odd[70] = odd[71] = char(0xFF);    // 65535 patterns
  odd[72] = odd[73] = char(0xFF);    // and instruments
  odd[336] = odd[337] = char(0xFF);  // a pattern header length of 65535
  test::LoadedModule many = LoadModuleBytes(odd);
  ASSERT_TRUE(many.ok);
  EXPECT_LE(many.song.patternCount, 256);
  EXPECT_LT(many.song.sampleCount, 10);
}

}  // namespace
}  // namespace pellora
