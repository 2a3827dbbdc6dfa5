// The public sample modules: every MOD, 15-sample MOD, S3M, STM, XM, MTM
// and 669 file loads and plays to its end; the odd, damaged and look-alike
// files never crash or hang.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "music/mod_player.h"
#include "music/mod_render.h"
#include "music/track.h"
#include "tests/music/music_test_support.h"

namespace pellora {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Files(std::initializer_list<const char*> folders) {
  std::vector<std::string> files;
  fs::path corpus = test::CorpusDir();
  if (corpus.empty()) return files;
  for (const char* folder : folders) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(corpus / "modules" / folder, ec))
      if (entry.is_regular_file()) files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

const std::initializer_list<const char*> kFormatFolders = {"mod", "m15", "s3m", "stm", "xm", "mtm", "669"};

// Whether any track of the song starts a note.
bool HasNotes(const ModSong& song) {
  for (const std::vector<uint8_t>& track : song.tracks)
    for (uint32_t row = 0; row < 64; ++row)
      if (const uint8_t* record = LookupRow(track, row)) {
        bool note = false;
        ForEachOpcode(record, [&](uint8_t op, uint8_t) { note = note || op == TRK_NOTE; });
        if (note) return true;
      }
  return false;
}

std::string TestName(const testing::TestParamInfo<std::string>& info) {
  fs::path p(info.param);
  std::string name = p.parent_path().filename().string() + "_" + p.filename().string();
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

TEST(Corpus, IsPresentOrSkipped) {
  if (test::CorpusDir().empty()) GTEST_SKIP() << "no corpus beside the project";
  for (const char* folder : kFormatFolders) EXPECT_FALSE(Files({folder}).empty()) << folder;
}

class PlayableModule : public testing::TestWithParam<std::string> {};

TEST_P(PlayableModule, PlaysToItsEndAndIsHeard) {
  // The loudest second counts: songs that end at the time limit may loop
  // over quiet rows for hours.
  constexpr uint64_t kSecondBytes = 44100 * 4;
  uint64_t bytes = 0;
  double squares = 0, loudest = 0;
  ModuleRenderResult r =
      RenderModule(GetParam(), {}, [&](const WaveFormat&, const uint8_t* data, size_t size) {
        for (size_t i = 0; i + 1 < size; i += 2) {
          double v = int16_t(data[i] | (data[i + 1] << 8));
          squares += v * v;
          if ((bytes + i + 2) % kSecondBytes == 0) {
            loudest = std::max(loudest, squares);
            squares = 0;
          }
        }
        bytes += size;
        return true;
      });
  loudest = std::max(loudest, squares);
  ASSERT_TRUE(r.ok) << r.error;
  double seconds = double(bytes) / (44100.0 * 4);
  // Songs that loop for ever end at the engine's time limit; over hours
  // the whole frames of each tick fall short of its length in
  // milliseconds by up to a frame (0.02 %).
  double tolerance = r.duration >= int(kSongTimeLimitMs / 1000) ? 1.0 + r.duration * 0.0002 : 1.0;
  EXPECT_NEAR(seconds, r.duration, tolerance);
  ASSERT_GT(bytes, 0u);
  // Modules whose instruments are synthesised (no sample data) are silent,
  // and so are those whose patterns hold no note.
  CModPlayer player(0);
  ASSERT_TRUE(player.Open(GetParam()));
  const std::vector<ModSample>& samples = player.Song()->samples;
  bool sounds = std::any_of(samples.begin(), samples.end(), [](const ModSample& s) { return s.slot >= 0 && s.volume > 0; }) &&
                HasNotes(*player.Song());
  if (sounds) {
    EXPECT_GT(std::sqrt(loudest / double(std::min(bytes, kSecondBytes) / 2)), 50.0);
  }
}

INSTANTIATE_TEST_SUITE_P(Corpus, PlayableModule, testing::ValuesIn(Files(kFormatFolders)), TestName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(PlayableModule);

class OddModule : public testing::TestWithParam<std::string> {};

// Loads and plays a few seconds of whatever the player accepts.
TEST_P(OddModule, IsRefusedOrPlayedWithoutHarm) {
  CModPlayer player(0);
  bool opened = player.Open(GetParam());
  std::string name = fs::path(GetParam()).parent_path().filename().string();
  if (!opened) {
    EXPECT_FALSE(player.IsOpen());
    return;
  }
  // A tag outside the ten signatures is at most a 15-sample module.
  if (name == "mod-other-tags") {
    EXPECT_EQ(player.Song()->formatName, "MOD 15 instruments");
  }
  EXPECT_FALSE(player.GetInfoText().empty());
  int blocks = 0;
  ModuleRenderResult r =
      RenderModule(GetParam(), {22050, 1, 8}, [&](const WaveFormat&, const uint8_t*, size_t) {
        return ++blocks < 100;
      });
  EXPECT_TRUE(r.ok);
  player.SeekTo(30);
  player.Rewind();
}

INSTANTIATE_TEST_SUITE_P(Corpus, OddModule,
                         testing::ValuesIn(Files({"mod-other-tags", "quirks", "bad", "lookalikes"})), TestName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(OddModule);

}  // namespace
}  // namespace pellora
