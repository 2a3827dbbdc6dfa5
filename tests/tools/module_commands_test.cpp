// pellora modinfo and pellora modrender, run as programs.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "music/mod_player.h"
#include "platform/base/text.h"
#include "testing/mod_file_builder.h"
#include "tests/support/sound_files.h"
#include "tests/support/test_support.h"

namespace pellora {
namespace {

// A command line of the pellora tool.
test::RunResult Tool(const std::string& line) { return test::Run(line); }
using test::TempDir;

std::string Pellora() { return "'" + test::BinDir() + "/pellora'"; }

std::string Module(const TempDir& dir) {
  test::ModFileBuilder b;
  b.title = "Caf\xe9";
  b.samples = {{"lead", test::SineWave(64, 1, 100), 3, 48, 0, 32}, {"", test::SquareWave(16, 60)}};
  b.orders = {0};
  b.Cell(0, 0, 0) = {428, 1, 0, 0};
  b.Cell(0, 8, 1) = {214, 2, 0xC, 30};
  return test::WriteModule(dir, "song.mod", b.Build());
}

uint32_t U32(const std::string& s, size_t at) {
  return uint32_t(uint8_t(s[at])) | uint32_t(uint8_t(s[at + 1])) << 8 | uint32_t(uint8_t(s[at + 2])) << 16 |
         uint32_t(uint8_t(s[at + 3])) << 24;
}

size_t FilesIn(const TempDir& dir) {
  return size_t(std::distance(std::filesystem::directory_iterator(dir.path()), {}));
}

TEST(ModInfoCommand, PrintsTheReportInUtf8) {
  TempDir dir;
  std::string path = Module(dir);
  test::RunResult r = Tool(Pellora() + " modinfo '" + path + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  CModPlayer player(0);
  ASSERT_TRUE(player.Open(path));
  EXPECT_EQ(r.out, Cp1252ToUtf8(player.GetInfoText()));
  EXPECT_NE(r.out.find("Titre : \"Caf\xc3\xa9\"\r\n"), std::string::npos);
}

TEST(ModInfoCommand, PrintsTheSongAsJson) {
  TempDir dir;
  test::RunResult r = Tool(Pellora() + " modinfo --json '" + Module(dir) + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  nlohmann::json j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["formatName"], "MOD ProTracker");
  EXPECT_EQ(j["songName"], "Caf\xc3\xa9");
  EXPECT_TRUE(j["comment"].is_null());
  EXPECT_EQ(j["channelCount"], 4);
  EXPECT_EQ(j["positionCount"], 1);
  EXPECT_EQ(j["patternCount"], 1);
  EXPECT_EQ(j["trackCount"], 4);
  EXPECT_EQ(j["sampleCount"], 31);
  EXPECT_EQ(j["initialSpeed"], 6);
  EXPECT_EQ(j["initialTempo"], 125);
  EXPECT_EQ(j["duration"], 8);
  ASSERT_EQ(j["samples"].size(), 31u);
  const nlohmann::json& lead = j["samples"][0];
  EXPECT_EQ(lead["name"], "lead");
  EXPECT_EQ(lead["length"], 64);
  EXPECT_EQ(lead["loopStart"], 0);
  EXPECT_EQ(lead["loopEnd"], 64);
  EXPECT_EQ(lead["volume"], 48);
  EXPECT_EQ(lead["c4Speed"], 8529);
  EXPECT_EQ(lead["transpose"], 0);
  EXPECT_EQ(lead["flags"], SMP_SIGNED_DATA | SMP_LOOPED);
  EXPECT_TRUE(j["samples"][1]["name"].is_null());
}

TEST(ModInfoCommand, ExitStatuses) {
  TempDir dir;
  test::WriteFile(dir.File("text.mod"), "hello");
  EXPECT_EQ(Tool(Pellora() + " modinfo '" + dir.File("text.mod") + "'").status, 1);
  EXPECT_EQ(Tool(Pellora() + " modinfo '" + dir.File("none.mod") + "'").status, 1);
  EXPECT_EQ(Tool(Pellora() + " modinfo").status, 2);
  EXPECT_EQ(Tool(Pellora() + " modinfo --xml x").status, 2);
  EXPECT_EQ(Tool(Pellora() + " modinfo a b").status, 2);
}

TEST(ModRenderCommand, WritesTheBlocksAsAWaveFile) {
  TempDir dir;
  std::string path = Module(dir);
  std::string out = dir.File("song.wav");
  test::RunResult r = Tool(Pellora() + " modrender '" + path + "' -o '" + out + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  std::string wav = test::ReadFile(out);
  std::string pcm = test::RenderToMemory(path);
  ASSERT_EQ(wav.size(), 44 + pcm.size());
  EXPECT_EQ(wav.substr(0, 4), "RIFF");
  EXPECT_EQ(U32(wav, 4), 36 + pcm.size());
  EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(U32(wav, 24), 44100u);
  EXPECT_EQ(U32(wav, 28), 44100u * 4);
  EXPECT_EQ(U32(wav, 40), pcm.size());
  EXPECT_EQ(wav.substr(44), pcm);
  EXPECT_EQ(FilesIn(dir), 2u);
  EXPECT_GT(test::Rms16(pcm), 100.0);
}

TEST(ModRenderCommand, OtherFormatsOfThePlayer) {
  TempDir dir;
  std::string path = Module(dir);
  std::string out = dir.File("small.wav");
  ASSERT_EQ(Tool(Pellora() + " modrender '" + path + "' -o '" + out + "' --rate 11025 --channels 1 --bits 8").status, 0);
  std::string wav = test::ReadFile(out);
  EXPECT_EQ(U32(wav, 24), 11025u);
  EXPECT_EQ(uint8_t(wav[22]), 1);
  EXPECT_EQ(uint8_t(wav[34]), 8);
  EXPECT_EQ(wav.size() - 44, size_t(390) * 220);
}

TEST(ModRenderCommand, FailuresLeaveNoFileBehind) {
  TempDir dir;
  std::string path = Module(dir);
  test::WriteFile(dir.File("text.mod"), "hello");
  EXPECT_EQ(Tool(Pellora() + " modrender '" + dir.File("text.mod") + "' -o '" + dir.File("x.wav") + "'").status, 1);
  EXPECT_EQ(Tool(Pellora() + " modrender '" + path + "' -o '" + dir.File("no/such/dir.wav") + "'").status, 1);
  EXPECT_EQ(Tool(Pellora() + " modrender '" + path + "' -o '" + dir.File("x.wav") + "' --rate 48000").status, 2);
  EXPECT_EQ(Tool(Pellora() + " modrender '" + path + "' -o '" + dir.File("x.wav") + "' --bits twelve").status, 2);
  EXPECT_EQ(Tool(Pellora() + " modrender '" + path + "'").status, 2);
  EXPECT_EQ(Tool(Pellora() + " modrender -o").status, 2);
  EXPECT_EQ(FilesIn(dir), 2u);
}

}  // namespace
}  // namespace pellora
