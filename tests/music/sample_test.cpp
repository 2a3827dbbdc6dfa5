#include <gtest/gtest.h>

#include "music/mod_song.h"
#include "music/mod_stream.h"
#include "music/sample_store.h"
#include "music/song_loading.h"
#include "tests/music/music_test_support.h"

namespace pellora {
namespace {

using test::TempDir;

// The signed 8-bit frames a sample's file bytes become.
std::vector<int> Convert(const std::string& bytes, uint16_t flags, uint32_t frames, uint32_t fileOffset = 0) {
  TempDir dir;
  ModStream stream;
  EXPECT_TRUE(stream.Open(test::WriteModule(dir, "data", bytes)));
  ModSample sample;
  sample.flags = flags;
  sample.length = frames;
  sample.fileOffset = fileOffset;
  ModSampleStore store;
  EXPECT_TRUE(LoadSampleData(stream, sample, store));
  std::vector<int> out;
  for (uint32_t i = 0; i < sample.length; ++i) out.push_back(store.Data(sample.slot)[i]);
  return out;
}

TEST(SampleConversion, EightBitSignedAndUnsigned) {
  std::string bytes("\x00\x7F\x80\xFF\x40", 5);
  EXPECT_EQ(Convert(bytes, SMP_SIGNED_DATA, 5), (std::vector<int>{0, 127, -128, -1, 64}));
  EXPECT_EQ(Convert(bytes, 0, 5), (std::vector<int>{-128, -1, 0, 127, -64}));
}

TEST(SampleConversion, SixteenBitKeepsTheHighByte) {
  std::string bytes("\xFF\x12\x00\x80\xFF\xFF\x00\x00", 8);
  EXPECT_EQ(Convert(bytes, SMP_16BIT_DATA | SMP_SIGNED_DATA, 4), (std::vector<int>{0x12, -128, -1, 0}));
  EXPECT_EQ(Convert(bytes, SMP_16BIT_DATA, 4), (std::vector<int>{0x12 - 128, 0, 127, -128}));
}

TEST(SampleConversion, DeltaDataAddsUpInSixteenBits) {
  // 8-bit deltas 10, 10, -30, 127, 127 (the sum wraps).
  std::string bytes("\x0A\x0A\xE2\x7F\x7F", 5);
  EXPECT_EQ(Convert(bytes, SMP_DELTA_DATA | SMP_SIGNED_DATA, 5), (std::vector<int>{10, 20, -10, 117, -12}));
  // 16-bit deltas 0x0100, 0x0100, 0xFF00.
  std::string words("\x00\x01\x00\x01\x00\xFF", 6);
  EXPECT_EQ(Convert(words, SMP_16BIT_DATA | SMP_DELTA_DATA | SMP_SIGNED_DATA, 3), (std::vector<int>{1, 2, 1}));
}

TEST(SampleConversion, FileOffsetAndShortDataAreHonoured) {
  std::string bytes("abcdef\x05\x06\x07", 9);
  EXPECT_EQ(Convert(bytes, SMP_SIGNED_DATA, 3, 6), (std::vector<int>{5, 6, 7}));
  EXPECT_EQ(Convert(bytes, SMP_SIGNED_DATA, 100, 7), (std::vector<int>{6, 7}));
  // Half a 16-bit frame at the end is no frame.
  EXPECT_EQ(Convert(bytes, SMP_16BIT_DATA | SMP_SIGNED_DATA, 10, 4).size(), 2u);
  EXPECT_TRUE(Convert(bytes, SMP_SIGNED_DATA, 5, 50).empty());
}

TEST(SampleStore, HoldsAHundredAndSixtySlots) {
  ModSampleStore store;
  for (int i = 0; i < ModSampleStore::kSlots; ++i) ASSERT_EQ(store.Take(10), i);
  EXPECT_EQ(store.Take(10), -1);
  store.Release(17);
  EXPECT_EQ(store.Take(3), 17);
  EXPECT_EQ(store.Frames(17), 3u);
  EXPECT_EQ(store.Data(-1), nullptr);
  EXPECT_EQ(store.Data(ModSampleStore::kSlots), nullptr);
  EXPECT_EQ(store.Take(0), -1);

  TempDir dir;
  ModStream stream;
  ASSERT_TRUE(stream.Open(test::WriteModule(dir, "d", "xyz")));
  ModSample sample;
  sample.length = 3;
  EXPECT_FALSE(LoadSampleData(stream, sample, store));
  ModSample empty;
  EXPECT_TRUE(LoadSampleData(stream, empty, store));
  EXPECT_EQ(empty.slot, -1);
}

}  // namespace
}  // namespace pellora
