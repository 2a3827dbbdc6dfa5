#include <gtest/gtest.h>

#include <algorithm>

#include "music/mod_loader.h"
#include "music/mod_stream.h"
#include "music/sample_store.h"
#include "music/song_loading.h"
#include "tests/music/music_test_support.h"

namespace pellora {
namespace {

using test::TempDir;
using test::ModFileBuilder;

// A song loaded from bytes; empty optional when the load fails.
struct Loaded {
  bool ok = false;
  ModSong song;
  std::string detected;
};

Loaded LoadBytes(const std::string& bytes, ModSampleStore* storeOut = nullptr) {
  ModStream stream;
  stream.Open({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
  std::span<const ModLoader* const> loaders = kModLoaders;
  Loaded l;
  if (const ModLoader* found = DetectModFormat(loaders, stream)) l.detected = found->shortName;
  ModSampleStore store;
  l.ok = LoadModSong(stream, loaders, storeOut ? *storeOut : store, l.song);
  if (!storeOut) ReleaseSongSamples(l.song, store);
  return l;
}

ModFileBuilder OneNoteSong(const std::string& signature = "M.K.", int channels = 4) {
  ModFileBuilder b(signature, channels);
  b.title = "test";
  b.samples.push_back({"square", test::SquareWave(64, 100)});
  b.orders = {0};
  b.Cell(0, 0, 0) = {428, 1, 0, 0};
  return b;
}

TEST(Registry, LoadersAreAskedInDetectionOrder) {
  std::vector<std::string> names;
  for (const ModLoader* l : kModLoaders) names.push_back(l->shortName);
  EXPECT_EQ(names, (std::vector<std::string>{"669", "XM", "STM", "MTM", "S3M", "MOD", "M15"}));
}

TEST(Registry, ScreamTracker2IsAskedBeforeProTracker) {
  // Byte 30 is 2 and bytes 21..28 are not "!SCREAM!": the STM rule takes it.
  ModFileBuilder b = OneNoteSong();
  b.samples[0].name = std::string(10, 'x') + '\x02';
  std::string bytes = b.Build();
  ASSERT_EQ(bytes[30], 2);
  EXPECT_EQ(LoadBytes(bytes).detected, "STM");
}

TEST(Registry, UnknownBytesAreRefused) {
  Loaded l = LoadBytes(std::string(100, 'z'));
  EXPECT_FALSE(l.ok);
  EXPECT_EQ(l.detected, "");
  EXPECT_EQ(l.song.channelCount, 0);
}

TEST(ModLoader, TheTenSignaturesGiveChannelsAndLabels) {
  struct Case {
    const char* tag;
    int channels;
    const char* label;
  } cases[] = {{"M.K.", 4, "MOD ProTracker"},  {"M!K!", 4, "MOD ProTracker"},  {"FLT4", 4, "MOD StarTracker"},
               {"4CHN", 4, "MOD FastTracker"}, {"6CHN", 6, "MOD FastTracker"}, {"8CHN", 8, "MOD FastTracker"},
               {"CD81", 8, "MOD Oktalyzer"},   {"OKTA", 8, "MOD Oktalyzer"},   {"16CN", 16, "MOD TakeTracker"},
               {"32CN", 32, "MOD TakeTracker"}};
  for (const Case& c : cases) {
    Loaded l = LoadBytes(OneNoteSong(c.tag, c.channels).Build());
    ASSERT_TRUE(l.ok) << c.tag;
    EXPECT_EQ(l.detected, "MOD");
    EXPECT_EQ(l.song.channelCount, c.channels) << c.tag;
    EXPECT_EQ(l.song.formatName, c.label);
    EXPECT_EQ(l.song.trackCount, c.channels);
    EXPECT_EQ(l.song.initialSpeed, 6);
    EXPECT_EQ(l.song.initialTempo, 125);
    EXPECT_EQ(l.song.songName, "test");
  }
  // Case matters: "m.k." is no signature, and the file passes for a 15-sample one.
  Loaded lower = LoadBytes(OneNoteSong("m.k.").Build());
  EXPECT_EQ(lower.detected, "M15");
}

TEST(ModLoader, OrdersBeyondTheSongLengthCountForPatterns) {
  ModFileBuilder b = OneNoteSong();
  b.orders = {0, 1, 0, 5};
  b.songLengthOverride = 2;
  ModSampleStore store;
  Loaded l = LoadBytes(b.Build(), &store);
  ASSERT_TRUE(l.ok);
  EXPECT_EQ(l.song.positionCount, 2);
  EXPECT_EQ(l.song.patternCount, 6);
  EXPECT_EQ(l.song.trackCount, 24);
  EXPECT_EQ(l.song.positions[3], 5);
  ASSERT_EQ(l.song.patternTracks.size(), 24u);
  EXPECT_EQ(l.song.patternTracks[23], 23);
  EXPECT_EQ(l.song.patternRows, std::vector<uint16_t>(6, 64));
  // The samples were read after all six patterns.
  EXPECT_GE(l.song.samples[0].slot, 0);
  EXPECT_EQ(l.song.samples[0].length, 64u);
  EXPECT_EQ(store.Data(l.song.samples[0].slot)[0], 100);
  EXPECT_EQ(store.Data(l.song.samples[0].slot)[63], -100);
  EXPECT_EQ(store.UsedSlots(), 1);
}

TEST(ModLoader, LoopsFinetuneAndVolumesComeFromTheSampleHeaders) {
  ModFileBuilder b = OneNoteSong();
  b.samples = {
      {"one", test::SquareWave(100, 10), 0, 40, 5, 1},   // repeat length 1: not looped
      {"two", test::SquareWave(100, 10), 15, 70, 5, 2},  // looped 10..14; finetune -1; volume as stored
      {"far", test::SquareWave(100, 10), 8, 64, 40, 30}, // loop end cut, loop start kept
  };
  Loaded l = LoadBytes(b.Build());
  ASSERT_TRUE(l.ok);
  const std::vector<ModSample>& s = l.song.samples;
  EXPECT_EQ(s[0].flags, SMP_SIGNED_DATA);
  EXPECT_EQ(s[1].flags, SMP_SIGNED_DATA | SMP_LOOPED);
  EXPECT_EQ(s[1].loopStart, 10u);
  EXPECT_EQ(s[1].loopEnd, 14u);
  EXPECT_EQ(s[1].c4Speed, 8280);
  EXPECT_EQ(s[1].volume, 70);
  EXPECT_EQ(s[2].c4Speed, 7895);
  EXPECT_EQ(s[2].loopStart, 80u);
  EXPECT_EQ(s[2].loopEnd, 100u);
  EXPECT_EQ(s[3].length, 0u);
  EXPECT_EQ(s[3].slot, -1);
  EXPECT_FALSE(s[3].name.has_value());
}

TEST(ModLoader, FifteenSampleLoopStartIsInBytes) {
  ModFileBuilder old("");
  old.samples = {{"a", test::SquareWave(400, 10), 0, 64, 100, 10}};
  old.orders = {0};
  Loaded l15 = LoadBytes(old.Build());
  ASSERT_TRUE(l15.ok);
  EXPECT_EQ(l15.detected, "M15");
  EXPECT_EQ(l15.song.formatName, "MOD 15 instruments");
  EXPECT_EQ(l15.song.sampleCount, 15);
  EXPECT_EQ(l15.song.channelCount, 4);
  EXPECT_EQ(l15.song.samples[0].loopStart, 100u);
  EXPECT_EQ(l15.song.samples[0].loopEnd, 120u);

  ModFileBuilder b = OneNoteSong();
  b.samples = {{"a", test::SquareWave(400, 10), 0, 64, 100, 10}};
  Loaded l31 = LoadBytes(b.Build());
  ASSERT_TRUE(l31.ok);
  EXPECT_EQ(l31.song.samples[0].loopStart, 200u);
}

TEST(ModLoader, CellsBecomeInstrumentNoteAndEffect) {
  ModFileBuilder b = OneNoteSong();
  b.samples.resize(31, {"", test::SquareWave(2, 1)});
  b.Cell(0, 0, 0) = {907, 1, 0xC, 0x20};
  b.Cell(0, 1, 0) = {1800, 17, 0, 0};
  b.Cell(0, 2, 0) = {428, 0, 0, 0};
  b.Cell(0, 3, 0) = {55, 0, 0, 0};
  b.Cell(0, 4, 0) = {56, 0, 0xF, 0};
  Loaded l = LoadBytes(b.Build());
  ASSERT_TRUE(l.ok);
  const std::vector<uint8_t>& t = l.song.tracks[0];
  auto ops = [&](uint32_t row) {
    std::vector<int> v;
    ForEachOpcode(LookupRow(t, row), [&](uint8_t op, uint8_t arg) {
      v.push_back(op);
      v.push_back(arg);
    });
    return v;
  };
  // The instrument comes first, so the note plays with it.
  EXPECT_EQ(ops(0), (std::vector<int>{TRK_INSTRUMENT, 0, TRK_NOTE, 35, TRK_PT_0 + 0xC, 0x20}));
  EXPECT_EQ(ops(1), (std::vector<int>{TRK_INSTRUMENT, 16, TRK_NOTE, 24}));
  EXPECT_EQ(ops(2), (std::vector<int>{TRK_NOTE, 48}));
  EXPECT_EQ(ops(3), (std::vector<int>{}));
  EXPECT_EQ(ops(4), (std::vector<int>{TRK_NOTE, 83, TRK_PT_0 + 0xF, 0}));
}

TEST(ModLoader, ShortFilesAreRefused) {
  std::string bytes = OneNoteSong().Build();
  EXPECT_FALSE(LoadBytes(bytes.substr(0, 1084)).ok);        // no pattern
  EXPECT_FALSE(LoadBytes(bytes.substr(0, 1084 + 1000)).ok);  // a pattern cut short
  EXPECT_FALSE(LoadBytes(bytes.substr(0, 1000)).ok);
}

TEST(ModLoader, SampleDataEndingEarlyShortensTheSample) {
  ModFileBuilder b = OneNoteSong();
  b.samples = {{"a", test::SquareWave(100, 10), 0, 64, 40, 10}, {"b", test::SquareWave(100, 10)}};
  std::string bytes = b.Build();
  Loaded cut = LoadBytes(bytes.substr(0, bytes.size() - 100 - 30));
  ASSERT_TRUE(cut.ok);
  EXPECT_EQ(cut.song.samples[0].length, 70u);
  EXPECT_EQ(cut.song.samples[0].loopEnd, 70u);
  EXPECT_EQ(cut.song.samples[1].length, 0u);
  EXPECT_EQ(cut.song.samples[1].slot, -1);
}

TEST(Names, TrimmingDropsTrailingBlanksAndBlanksControlBytes) {
  const uint8_t spaces[] = {' ', ' ', ' ', 0};
  EXPECT_FALSE(TrimName(spaces, 4).has_value());
  const uint8_t name[] = {'a', 1, 'b', ' ', 0xFF, 0, 7};
  EXPECT_EQ(TrimName(name, 7), "a b");
  const uint8_t high[] = {0xE9, 't', 0xE9};
  EXPECT_EQ(TrimName(high, 3), "\xE9t\xE9");
}

TEST(Names, CommentsTurnControlAndHighBytesIntoSpaces) {
  TempDir dir;
  std::string path = test::WriteModule(dir, "c", std::string("ab\x01\x9F\xE9z\n", 7));
  ModStream stream;
  ASSERT_TRUE(stream.Open(path));
  EXPECT_FALSE(ReadComment(stream, 0).has_value());
  EXPECT_EQ(ReadComment(stream, 7), "ab   z ");
  ASSERT_TRUE(stream.Seek(5));
  EXPECT_EQ(ReadComment(stream, 1000), "z ");
}

}  // namespace
}  // namespace pellora
