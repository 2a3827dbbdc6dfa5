// Songs read from module files, measured in rows played from start to end:
// pattern loops on several channels, S3M jumps over order markers, order
// entries naming patterns the file lacks, and MOD order tables with junk
// past the song.
#include <gtest/gtest.h>

#include <functional>

#include "music/mod_engine.h"
#include "testing/composer669_file_builder.h"
#include "testing/mod_file_builder.h"
#include "testing/mtm_file_builder.h"
#include "testing/s3m_file_builder.h"
#include "testing/stm_file_builder.h"
#include "testing/xm_file_builder.h"
#include "tests/music/tracker_test_support.h"

namespace pellora {
namespace {

// Row-times played (a repeated row counts again), or -1 when the song runs
// into the time limit; -2 when the file is refused.
int RowsPlayed(const std::string& bytes) {
  test::LoadedModule m = test::LoadModuleBytes(bytes);
  if (!m.ok) return -2;
  ModEngine e;
  e.StartSong(&m.song);
  e.songTimeLimitMs = 600 * 1000;
  int rows = 0;
  while (!e.IsFinished()) {
    e.PlayTick(nullptr);
    if (e.tick == 0 && !e.IsFinished()) ++rows;
  }
  return e.elapsedMs >= e.songTimeLimitMs ? -1 : rows;
}

// A pattern-loop command: E6y on a channel's row (S3M: SBy).
struct Loop {
  int channel, row, y;
};

std::string ModWithLoops(const std::vector<Loop>& loops) {
  test::ModFileBuilder b("M.K.", 4);
  b.orders = {0};
  b.Cell(0, 0, 0) = {};
  for (const Loop& l : loops) b.Cell(0, l.row, l.channel) = {0, 0, 0xE, uint8_t(0x60 | l.y)};
  return b.Build();
}

std::string XmWithLoops(const std::vector<Loop>& loops) {
  test::XmFileBuilder b(2);
  b.orders = {0};
  b.Cell(0, 0, 0) = {};
  for (const Loop& l : loops) b.Cell(0, l.row, l.channel) = {0, 0, 0, 0xE, uint8_t(0x60 | l.y)};
  return b.Build();
}

std::string S3mWithLoops(const std::vector<Loop>& loops) {
  test::S3mFileBuilder b(2);
  b.orders = {0};
  b.patternCount = 1;
  for (const Loop& l : loops) b.Add(0, l.row, l.channel, {255, 0, 255, 19, uint8_t(0xB0 | l.y)});
  return b.Build();
}

TEST(SongFlow, PatternLoopsCountOnEachChannel) {
  struct Case {
    const char* what;
    std::vector<Loop> loops;
    int modRows, s3mRows;  // MOD and XM play alike
  };
  const Case cases[] = {
      // Loop starts at row 0 on both channels: three and two passes meet
      // after six passes (S3M alike, as every pass marks the starts anew).
      {"same row", {{0, 0, 0}, {1, 0, 0}, {0, 1, 2}, {1, 1, 1}}, 6 * 2 + 62, 6 * 2 + 62},
      // Channel 0 loops rows 0..3 twice; channel 1 loops back to its own
      // row 2 from row 5, where channel 0's loop plays once more in full
      // (MOD) or, its loop over, goes on (S3M): 0-3 0-3 4 5 2 3 [0-3] 4 5.
      {"different rows", {{0, 0, 0}, {0, 3, 1}, {1, 2, 0}, {1, 5, 1}}, 4 + 4 + 2 + 2 + 4 + 2 + 58,
       4 + 4 + 2 + 2 + 2 + 58},
      // One channel, the loop used twice: S3M plays 0 1 0 1 2 3 2 3; the
      // others go back to row 0 for ever.
      {"one loop twice", {{0, 0, 0}, {0, 1, 1}, {0, 3, 1}}, -1, 8 + 60},
      // One channel, as ever: rows 4..8 four times.
      {"one channel", {{0, 4, 0}, {0, 8, 3}}, 64 + 15, 64 + 15},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RowsPlayed(ModWithLoops(c.loops)), c.modRows) << c.what;
    EXPECT_EQ(RowsPlayed(XmWithLoops(c.loops)), c.modRows) << c.what;
    EXPECT_EQ(RowsPlayed(S3mWithLoops(c.loops)), c.s3mRows) << c.what;
  }
}

TEST(SongFlow, S3mJumpsCountOrdersAsStoredInTheFile) {
  // Stored orders 0 +++ 1 end 2 3 play as positions 0 1 2 3 (patterns
  // 0..3); row 0 of pattern 0 jumps to a stored order.
  struct Case {
    uint8_t target;
    int rows;
  };
  const Case cases[] = {
      {2, 1 + 3 * 64},  // pattern 1, before a marker
      {1, 1 + 3 * 64},  // onto +++: the next real position, pattern 1
      {3, 1 + 2 * 64},  // onto the end mark: pattern 2
      {4, 1 + 2 * 64},  // after the markers: pattern 2
      {5, 1 + 64},      // pattern 3
      {6, 0},           // past the list: the song ends at once, on that row
  };
  for (const Case& c : cases) {
    test::S3mFileBuilder b(1);
    b.orders = {0, 254, 1, 255, 2, 3};
    b.patternCount = 4;
    b.Add(0, 0, 0, {255, 0, 255, 2, c.target});
    EXPECT_EQ(RowsPlayed(b.Build()), c.rows) << "B" << int(c.target);
  }
  // Without markers, jumps count positions as ever.
  test::S3mFileBuilder b(1);
  b.orders = {0, 1, 2};
  b.patternCount = 3;
  b.Add(0, 0, 0, {255, 0, 255, 2, 2});
  EXPECT_EQ(RowsPlayed(b.Build()), 1 + 64);
}

TEST(SongFlow, AnOrderNamingAMissingPatternEndsTheSong) {
  // Orders 0 5 0 with one pattern: the song ends after pattern 0.
  const std::vector<uint8_t> orders = {0, 5, 0};
  test::S3mFileBuilder s3m(1);
  s3m.orders = orders;
  s3m.patternCount = 1;
  test::StmFileBuilder stm;
  stm.orders = orders;
  stm.patternCount = 1;
  test::XmFileBuilder xm(1);
  xm.orders = orders;
  xm.Cell(0, 0, 0) = {};
  test::MtmFileBuilder mtm(1);
  mtm.orders = orders;
  mtm.patterns.resize(1);
  test::Composer669FileBuilder c669;
  c669.orders = orders;
  c669.patternCount = 1;
  const std::pair<const char*, std::string> files[] = {
      {"S3M", s3m.Build()}, {"STM", stm.Build()}, {"XM", xm.Build()}, {"MTM", mtm.Build()}, {"669", c669.Build()}};
  for (const auto& [format, bytes] : files) EXPECT_EQ(RowsPlayed(bytes), 64) << format;
}

TEST(SongFlow, ModOrderJunkPastTheSongAsksForNoPatterns) {
  // Two positions and two stored patterns, in both layouts; entry 100 of
  // the order table asks for pattern 60, which the file does not hold.
  struct Case {
    const char* what;
    const char* signature;  // "" for the 15-sample layout
    std::function<void(std::string&, size_t orders)> change;
    int rows;
  };
  auto junk = [](std::string& f, size_t orders) { f[orders + 100] = 60; };
  const Case cases[] = {
      {"as built", "M.K.", [](std::string&, size_t) {}, 128},
      {"as built", "", [](std::string&, size_t) {}, 128},
      {"junk", "M.K.", junk, 128},
      {"junk", "", junk, 128},
      // The file's own second position asking for pattern 60 is refused.
      {"song asks", "M.K.", [](std::string& f, size_t orders) { f[orders + 1] = 60; }, -2},
      {"song asks", "", [](std::string& f, size_t orders) { f[orders + 1] = 60; }, -2},
      // Without a signature only a file that its song and samples fill
      // exactly is taken for one: then also with any byte after the length.
      {"junk, one more byte", "M.K.", [&](std::string& f, size_t o) { junk(f, o), f += '\0'; }, 128},
      {"junk, one more byte", "", [&](std::string& f, size_t o) { junk(f, o), f += '\0'; }, -2},
      {"junk, byte 471 set", "", [&](std::string& f, size_t o) { junk(f, o), f[471] = char(184); }, 128},
  };
  for (const Case& c : cases) {
    test::ModFileBuilder b(c.signature, 4);
    b.orders = {0, 1};
    b.samples = {{"square", test::SquareWave(64, 100)}};
    b.Cell(1, 0, 0) = {428, 1};
    std::string bytes = b.Build();
    c.change(bytes, *c.signature ? 952 : 472);
    EXPECT_EQ(RowsPlayed(bytes), c.rows) << c.what << " " << c.signature;
  }
}

}  // namespace
}  // namespace pellora
