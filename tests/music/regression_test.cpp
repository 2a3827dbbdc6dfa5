// Inputs the module fuzzer crashed on, kept so that the fault stays mended.
#include <gtest/gtest.h>

#include <filesystem>

#include "music/mod_player.h"
#include "tests/music/music_test_support.h"

namespace pellora {
namespace {

std::string Regression(const std::string& name) {
  return (std::filesystem::path(PELLORA_SOURCE_DIR) / "tests" / "music" / "regressions" / name).string();
}

TEST(FuzzRegressions, EmptyFile) {
  // Caught: the fuzz target's output window was destroyed after the window
  // system at exit; the player itself must simply refuse the empty file.
  CModPlayer player(0);
  EXPECT_FALSE(player.Open(Regression("empty.mod")));
  EXPECT_EQ(test::RenderToMemory(Regression("empty.mod")), "");
}

}  // namespace
}  // namespace pellora
