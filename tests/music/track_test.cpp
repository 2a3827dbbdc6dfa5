#include <gtest/gtest.h>

#include "music/track.h"

namespace pellora {
namespace {

std::vector<uint8_t> Track(const std::function<void(TrackWriter&, int)>& row, int rows = 64) {
  TrackWriter w;
  w.BeginTrack();
  for (int r = 0; r < rows; ++r) {
    row(w, r);
    w.EndRow();
  }
  return w.EndTrack();
}

TEST(TrackWriter, EmptyTrackIsEightRunsOfEightAndTheEndByte) {
  std::vector<uint8_t> t = Track([](TrackWriter&, int) {});
  std::vector<uint8_t> expected(8, 0xE1);
  expected.push_back(0);
  EXPECT_EQ(t, expected);
  for (uint32_t r = 0; r < 64; ++r) ASSERT_NE(LookupRow(t, r), nullptr) << r;
  EXPECT_EQ(LookupRow(t, 64), nullptr);
}

TEST(TrackWriter, IdenticalRowsShareRecordsAndDifferentRowsDoNot) {
  // Rows 0..9 the same note, row 10 different, the rest empty.
  std::vector<uint8_t> t = Track([](TrackWriter& w, int r) {
    if (r < 10) w.PutNote(48);
    else if (r == 10) w.PutNote(50);
  });
  EXPECT_EQ(t[0], 0xE0 | 3);  // eight rows of header + note
  EXPECT_EQ(t[3], 0x20 | 3);  // the other two
  EXPECT_EQ(t[6], 3);         // row 10
  for (uint32_t r = 0; r < 64; ++r) {
    const uint8_t* rec = LookupRow(t, r);
    ASSERT_NE(rec, nullptr);
    if (r < 11) {
      ASSERT_EQ(rec[0] & 31, 3);
      EXPECT_EQ(rec[1], TRK_NOTE);
      EXPECT_EQ(rec[2], r < 10 ? 48 : 50);
    } else {
      EXPECT_EQ(rec[0] & 31, 1);
    }
  }
}

TEST(TrackWriter, EffectsAreWrittenOnlyWhenNotZeroAndRecordsStayWithinTheirLength) {
  std::vector<uint8_t> t = Track(
      [](TrackWriter& w, int r) {
        if (r == 0) w.PutEffect(0, 0);
        if (r == 1) w.PutEffect(0, 0x37);
        if (r == 2) w.PutEffect(0xC, 0);
        if (r == 3)
          for (int i = 0; i < 40; ++i) w.PutCommand(TRK_ST3_VOLSLIDE, uint8_t(i));
      },
      4);
  EXPECT_EQ(LookupRow(t, 0)[0] & 31, 1);
  const uint8_t* r1 = LookupRow(t, 1);
  EXPECT_EQ(r1[1], TRK_PT_0);
  EXPECT_EQ(r1[2], 0x37);
  EXPECT_EQ(LookupRow(t, 2)[1], TRK_PT_0 + 0xC);
  // A row with more than a record holds keeps whole opcodes up to 31 bytes.
  const uint8_t* r3 = LookupRow(t, 3);
  EXPECT_EQ(r3[0] & 31, 31);
  EXPECT_EQ(r3[0] >> 5, 0);
  EXPECT_EQ(r3[29], TRK_ST3_VOLSLIDE);
  EXPECT_EQ(LookupRow(t, 4), nullptr);
}

TEST(TrackCursor, SequentialAndRandomLookupsAgree) {
  std::vector<uint8_t> t = Track([](TrackWriter& w, int r) {
    if (r % 3 == 0) w.PutInstrument(uint8_t(r / 9));
  });
  TrackCursor cursor;
  for (uint32_t r = 0; r < 66; ++r) EXPECT_EQ(cursor.Lookup(t, r), LookupRow(t, r)) << r;
  for (uint32_t r : {5u, 60u, 0u, 1u, 2u, 40u, 41u, 70u, 3u}) EXPECT_EQ(cursor.Lookup(t, r), LookupRow(t, r)) << r;
  std::vector<uint8_t> other = Track([](TrackWriter&, int) {}, 2);
  cursor.Lookup(t, 10);
  EXPECT_EQ(cursor.Lookup(other, 11), nullptr);
  EXPECT_EQ(cursor.Lookup(other, 1), LookupRow(other, 1));
}

TEST(TrackLookup, DamagedTracksEndTheWalk) {
  EXPECT_EQ(LookupRow({}, 0), nullptr);
  EXPECT_EQ(LookupRow({0x05, 1}, 0), nullptr);  // record longer than the track
  EXPECT_EQ(LookupRow({0x20}, 1), nullptr);     // header of length 0
  std::vector<uint8_t> opcodes;
  const uint8_t record[] = {6, 0, TRK_NOTE, 10, TRK_INSTRUMENT, 2};
  ForEachOpcode(record, [&](uint8_t op, uint8_t arg) {
    opcodes.push_back(op);
    opcodes.push_back(arg);
  });
  EXPECT_EQ(opcodes, (std::vector<uint8_t>{TRK_NOTE, 10, TRK_INSTRUMENT, 2}));
}

}  // namespace
}  // namespace pellora
