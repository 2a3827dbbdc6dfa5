// The seeds of the module fuzzer are made here: small modules that reach
// every effect, both MOD layouts and the channel counts. The test checks
// that fuzz/seeds/module holds them; PELLORA_UPDATE_SEEDS=1 rewrites them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "music/mod_player.h"
#include "tests/music/music_test_support.h"
#include "tests/music/tracker_test_support.h"

namespace pellora {
namespace {

using test::ModFileBuilder;

uint16_t AmigaPeriodOf(int note) { return test::AmigaPeriod(note); }

std::map<std::string, std::string> ModuleSeeds() {
  std::map<std::string, std::string> seeds;
  std::vector<test::ModFileSample> samples = {
      {"loop", test::SquareWave(32, 80), 0, 64, 0, 16},
      {"shot", test::SineWave(256, 4, 100), 5, 40, 0, 1},
      {"fine", test::SineWave(64, 1, 60), 12, 70, 10, 12},
  };
  {
    ModFileBuilder b;
    b.title = "every effect";
    b.samples = samples;
    b.orders = {0, 1, 0, 2};
    for (int e = 0; e < 16; ++e) {
      b.Cell(0, e, 0) = {AmigaPeriodOf(e), uint8_t(1 + e % 3), uint8_t(e), uint8_t(0x21 + e)};
      b.Cell(0, 16 + e, 1) = {AmigaPeriodOf(e + 12), 2, 0xE, uint8_t(e << 4 | 2)};
      b.Cell(0, 32 + e, 2) = {0, 0, uint8_t(e), 0x0F};
      b.Cell(0, 48 + e, 3) = {AmigaPeriodOf(30 - e), 3, uint8_t(e), 0xF1};
    }
    b.Cell(1, 10, 0) = {0, 0, 0xD, 0x32};
    b.Cell(2, 4, 1) = {0, 0, 0xB, 0x03};
    seeds["effects.mod"] = b.Build();
  }
  {
    ModFileBuilder b("");
    b.title = "old";
    b.samples = {samples[0], samples[1]};
    b.samples[1].finetune = 0;  // 15-sample files have no finetune
    b.samples[1].repeatStart = 100;
    b.samples[1].repeatLength = 40;
    b.orders = {0, 0};
    for (int r = 0; r < 64; r += 4) b.Cell(0, r, r / 4 % 4) = {AmigaPeriodOf(r / 2), uint8_t(1 + r / 4 % 2), 0xC, 48};
    seeds["fifteen.mod"] = b.Build();
  }
  {
    ModFileBuilder b("8CHN", 8);
    b.samples = samples;
    b.orders = {0, 1};
    b.Cell(0, 0, 0) = {428, 1, 0xF, 0x20};
    b.Cell(0, 2, 1) = {0, 0, 0xE, 0x60};
    b.Cell(0, 6, 7) = {0, 0, 0xE, 0x62};
    b.Cell(0, 8, 3) = {340, 2, 0xE, 0xE1};
    b.Cell(0, 9, 4) = {340, 3, 0xE, 0xD3};
    b.Cell(0, 10, 5) = {340, 1, 0xE, 0x92};
    b.Cell(1, 0, 2) = {214, 1, 0xF, 0xFF};
    b.Cell(1, 1, 6) = {1712, 2, 0x9, 0x80};
    b.Cell(1, 5, 0) = {0, 0, 0xF, 0x03};
    seeds["eight.mod"] = b.Build();
  }
  {
    ModFileBuilder b("32CN", 32);
    b.samples = {samples[0]};
    b.orders = {0};
    for (int k = 0; k < 32; ++k) b.Cell(0, k, k) = {AmigaPeriodOf(k), 1, 0x8, uint8_t(k * 8)};
    seeds["wide.mod"] = b.Build();
  }
  return seeds;
}

TEST(FuzzSeeds, AreTheGeneratedModules) {
  std::filesystem::path dir = std::filesystem::path(PELLORA_SOURCE_DIR) / "fuzz" / "seeds" / "module";
  std::map<std::string, std::string> seeds = ModuleSeeds();
  seeds.merge(test::TrackerSeeds());
  if (const char* update = std::getenv("PELLORA_UPDATE_SEEDS"); update && *update == '1') {
    std::filesystem::create_directories(dir);
    for (const auto& [name, bytes] : seeds) test::WriteFile((dir / name).string(), bytes);
  }
  test::TempDir scratch;
  for (const auto& [name, bytes] : seeds) {
    EXPECT_EQ(test::ReadFile((dir / name).string()), bytes) << name << " is out of date";
    CModPlayer player(0);
    ASSERT_TRUE(player.Open(test::WriteModule(scratch, name, bytes))) << name;
    EXPECT_EQ(player.Song()->formatName == "MOD 15 instruments", name == "fifteen.mod");
  }
}

}  // namespace
}  // namespace pellora
