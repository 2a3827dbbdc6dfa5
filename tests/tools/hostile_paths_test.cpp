// Every command given paths that are not what it expects (a directory, a
// FIFO, an unreadable or a missing file) in each path position: a message
// and exit 1, never a wait, an abort or a crash. And outputs never replace
// what is not theirs: a FIFO, a device, a link, or one of the inputs.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "tests/support/show_harness.h"
#include "tests/support/sound_files.h"
#include "tests/support/test_support.h"

namespace pellora {
namespace {

namespace fs = std::filesystem;

std::string Quote(const std::string& s) { return "'" + s + "'"; }

bool MakeFifo(const std::string& path) { return test::Run("mkfifo " + Quote(path)).status == 0; }
bool RunningAsRoot() { return test::Run("id -u").out == "0\n"; }

class HostilePaths : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteFile(dir.File("red.bmp"), test::SolidBmp(8, 8, 255, 0, 0));
    test::WriteFile(dir.File("show.json"), R"({"slides": [{"picture": "red.bmp"}]})");
    test::WriteFile(dir.File("song.mod"), test::ShortModule(4));
    ASSERT_EQ(Pellora("pack " + Quote(dir.File("show.json")) + " --bare -o " + Quote(dir.File("show"))).status, 0);
  }
  // Runs the tool on the headless backend; a wait ends at the timeout
  // (status 124).
  test::RunResult Pellora(const std::string& args) {
    return test::Run("PELLORA_BACKEND=headless PELLORA_HEADLESS_SCRIPT='100 key escape' timeout 20 " +
                     test::BinDir() + "/pellora " + args);
  }
  test::TempDir dir;
};

TEST_F(HostilePaths, EveryCommandRefusesWhatIsNotAFileInEveryPathPosition) {
  // Command lines with one path position marked "@"; the other paths are
  // good ones.
  const std::string player = Quote(test::BinDir() + "/pellora-player");
  const std::string show = Quote(dir.File("show")), json = Quote(dir.File("show.json"));
  const std::string song = Quote(dir.File("song.mod")), out = Quote(dir.File("out"));
  // What the marked path is to the command.
  enum Role { kInput, kOutputFile, kOutputFolder };
  struct Line {
    std::string args;
    Role role = kInput;
  };
  const Line kLines[] = {
      {"info @"},
      {"info --json @"},
      {"play @"},
      {"render @ --out " + out},
      {"render " + show + " --out @", kOutputFolder},
      {"pack @ -o " + out},
      {"pack " + json + " -o @", kOutputFile},
      {"pack " + json + " --bare -o @", kOutputFile},
      {"pack " + json + " -o " + out + " --player @"},
      {"modinfo @"},
      {"modinfo --json @"},
      {"modrender @ -o " + out},
      {"modrender " + song + " -o @", kOutputFile},
      {"unpack @ " + out},
      {"unpack " + show + " @", kOutputFolder},
  };
  enum Kind { kDirectory, kFifo, kUnreadable, kMissing };
  const bool root = RunningAsRoot();
  const char* kKindNames[] = {"a directory", "a FIFO", "an unreadable file", "a missing file"};
  for (const Line& line : kLines)
    for (Kind kind : {kDirectory, kFifo, kUnreadable, kMissing}) {
      // Root reads whatever the permissions say.
      if (kind == kUnreadable && root) continue;
      test::TempDir scratch;
      std::string path = scratch.File("thing");
      switch (kind) {
        case kDirectory: fs::create_directory(path); break;
        case kFifo: ASSERT_TRUE(MakeFifo(path)); break;
        case kUnreadable:
          test::WriteFile(path, test::ReadFile(dir.File("show")));
          fs::permissions(path, fs::perms::none);
          break;
        case kMissing: path = scratch.File("missing/thing"); break;
      }
      std::string args = std::regex_replace(line.args, std::regex("@"), Quote(path));
      test::RunResult r = Pellora(args);
      // A folder for render's pictures may already be there or be made; an
      // output file replaces a regular file, readable or not.
      int expected = (line.role == kOutputFolder && (kind == kDirectory || kind == kMissing)) ||
                             (line.role == kOutputFile && kind == kUnreadable)
                         ? 0
                         : 1;
      EXPECT_EQ(r.status, expected) << "pellora " << args << " with " << kKindNames[kind] << ": " << r.err;
      if (expected == 1) {
        EXPECT_NE(r.err.find("pellora: "), std::string::npos) << args << ": " << r.err;
      }
    }
}

TEST_F(HostilePaths, OutputsNeverReplaceWhatIsNotTheirs) {
  test::WriteFile(dir.File("victim"), "victim");
  ASSERT_TRUE(MakeFifo(dir.File("fifo")));
  fs::create_symlink(dir.File("victim"), dir.File("link"));
  fs::create_hard_link(dir.File("song.mod"), dir.File("alias.mod"));
  // A device node of our own (the null device), where root may make one.
  bool device = RunningAsRoot() && test::Run("mknod " + Quote(dir.File("device")) + " c 1 3").status == 0;
  fs::create_directory(dir.File("pictures"));
  fs::create_symlink(dir.File("victim"), dir.File("pictures/slide-001.png"));
  fs::create_directory(dir.File("pictures2"));
  ASSERT_TRUE(MakeFifo(dir.File("pictures2/background.png")));
  struct Case {
    std::string args;
    std::string named;  // the refused output, named in the message
  };
  auto pack = [&](const std::string& out) { return "pack " + Quote(dir.File("show.json")) + " --bare -o " + Quote(out); };
  auto modrender = [&](const std::string& out) { return "modrender " + Quote(dir.File("song.mod")) + " -o " + Quote(out); };
  std::vector<Case> cases = {
      {pack(dir.File("fifo")), dir.File("fifo")},
      {pack(dir.File("link")), dir.File("link")},
      {pack(dir.File("show.json")), dir.File("show.json")},
      {pack(dir.File("red.bmp")), dir.File("red.bmp")},
      {"pack " + Quote(dir.File("show.json")) + " -o " + Quote(dir.File("show.json")), dir.File("show.json")},
      {modrender(dir.File("fifo")), dir.File("fifo")},
      {modrender(dir.File("song.mod")), dir.File("song.mod")},
      {modrender(dir.File("alias.mod")), dir.File("alias.mod")},
      {"render " + Quote(dir.File("show")) + " --out " + Quote(dir.File("pictures")), "slide-001.png"},
      {"render " + Quote(dir.File("show")) + " --out " + Quote(dir.File("pictures2")), "background.png"},
      {"unpack " + Quote(dir.File("show")) + " " + Quote(dir.File("pictures")), dir.File("pictures")},
  };
  if (device) {
    cases.push_back({pack(dir.File("device")), dir.File("device")});
    cases.push_back({modrender(dir.File("device")), dir.File("device")});
  }
  std::string showJson = test::ReadFile(dir.File("show.json")), red = test::ReadFile(dir.File("red.bmp"));
  std::string song = test::ReadFile(dir.File("song.mod"));
  for (const Case& c : cases) {
    test::RunResult r = Pellora(c.args);
    EXPECT_EQ(r.status, 1) << c.args << ": " << r.err;
    EXPECT_NE(r.err.find(c.named), std::string::npos) << c.args << ": " << r.err;
  }
  EXPECT_EQ(test::ReadFile(dir.File("victim")), "victim");
  EXPECT_EQ(test::ReadFile(dir.File("show.json")), showJson);
  EXPECT_EQ(test::ReadFile(dir.File("red.bmp")), red);
  EXPECT_EQ(test::ReadFile(dir.File("song.mod")), song);
  EXPECT_TRUE(fs::is_fifo(dir.File("fifo")));
  EXPECT_TRUE(fs::is_symlink(dir.File("link")));
  EXPECT_TRUE(fs::is_symlink(dir.File("pictures/slide-001.png")));
  EXPECT_FALSE(fs::exists(dir.File("pictures/background.png")));  // nothing touched
  EXPECT_TRUE(fs::is_fifo(dir.File("pictures2/background.png")));
  if (device) {
    EXPECT_TRUE(fs::is_character_file(dir.File("device")));
  }
  // Nothing else was left beside the outputs.
  for (const auto& entry : fs::directory_iterator(dir.path()))
    EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();
}

}  // namespace
}  // namespace pellora
