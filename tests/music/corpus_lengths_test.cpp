// Every module of the public corpus keeps the length it has and plays the
// same notes from start to end: the table beside this file holds, per
// file, its length in seconds and a digest of every voice setting the
// engine makes over the whole song, or "refused". A change to a loader or
// to the engine that moves any of them shows here, song by song.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "music/mod_player.h"
#include "tests/music/music_test_support.h"

namespace pellora {
namespace {

namespace fs = std::filesystem;

// FNV-1a over every value the engine hands the voices.
struct DigestVoices : ModVoiceSink {
  uint64_t digest = 1469598103934665603ull;
  void Add(uint64_t v) {
    for (int i = 0; i < 8; ++i) {
      digest ^= (v >> (8 * i)) & 0xFF;
      digest *= 1099511628211ull;
    }
  }
  void VoiceStart(int voice, int slot, uint32_t start, uint32_t length, uint32_t loopStart, uint32_t loopEnd,
                  uint16_t flags) override {
    for (uint64_t v : {uint64_t(voice), uint64_t(slot), uint64_t(start), uint64_t(length), uint64_t(loopStart),
                       uint64_t(loopEnd), uint64_t(flags)})
      Add(v);
  }
  void VoiceSetVolume(int voice, int volume) override { Add(uint64_t(voice) << 32 | uint32_t(volume)); }
  void VoiceSetPanning(int voice, int pan) override { Add(uint64_t(voice) << 40 | uint32_t(pan)); }
  void VoiceSetFrequency(int voice, uint32_t hertz) override { Add(uint64_t(voice) << 48 | hertz); }
};

// "<seconds> <digest>" of a module, or "refused".
std::string Figures(const std::string& path) {
  CModPlayer player(0);
  if (!player.Open(path)) return "refused";
  ModEngine& engine = player.Engine();
  engine.ResetEngine();
  DigestVoices voices;
  while (!engine.IsFinished()) engine.PlayTick(&voices);
  std::ostringstream s;
  s << player.GetDuration() << ' ' << std::hex << voices.digest;
  return s.str();
}

TEST(CorpusLengths, EveryModuleKeepsItsLengthAndNotes) {
  fs::path corpus = test::CorpusDir();
  if (corpus.empty()) GTEST_SKIP() << "no corpus beside the project";
  std::map<std::string, std::string> expected;
  std::ifstream table(fs::path(PELLORA_SOURCE_DIR) / "tests" / "music" / "corpus_lengths.txt");
  for (std::string line; std::getline(table, line);)
    if (size_t tab = line.find('\t'); tab != std::string::npos && line[0] != '#')
      expected[line.substr(0, tab)] = line.substr(tab + 1);
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(corpus / "modules"))
    if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), corpus).generic_string());
  std::sort(files.begin(), files.end());
  ASSERT_FALSE(files.empty());
  std::string changed;
  for (const std::string& file : files) {
    std::string figures = Figures((corpus / file).string());
    auto it = expected.find(file);
    if (it == expected.end() || it->second != figures)
      changed += file + ' ' + figures + "  (was " + (it == expected.end() ? "unlisted" : it->second) + ")\n";
  }
  EXPECT_EQ(changed, "");
}

}  // namespace
}  // namespace pellora
