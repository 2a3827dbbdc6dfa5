// Paths that are not what they seem: FIFOs, devices, directories and links
// where files are read or written, and signals while the program waits.
// Nothing blocks, nothing outside the program's own files is replaced, and
// a termination signal ends the program with its temporary files deleted.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "platform/audio/media_file.h"
#include "platform/draw/png_writer.h"
#include "platform/os/file.h"
#include "platform/os/pending_file.h"
#include "platform/os/signals.h"
#include "tests/support/test_support.h"

namespace pellora {
namespace {

namespace fs = std::filesystem;

void MakeFifo(const std::string& path) { ASSERT_EQ(test::Run("mkfifo '" + path + "'").status, 0); }

// In a forked child: a wait that lasts ends the child with status 2.
void LimitChildTime() {
  std::thread([] {
    std::this_thread::sleep_for(std::chrono::seconds(5));
    std::_Exit(2);
  }).detach();
}

// What stands at a path, made in a scratch folder.
enum class Kind { Fifo, Directory, Device };

std::string Make(const test::TempDir& dir, Kind kind) {
  std::string path = dir.File("thing");
  switch (kind) {
    case Kind::Fifo: MakeFifo(path); break;
    case Kind::Directory: fs::create_directory(path); break;
    case Kind::Device: return "/dev/zero";
  }
  return path;
}

TEST(HostilePathsDeathTest, NonRegularFilesAreRefusedWithoutWaiting) {
  // Forked as it is: the child shares the scratch folder's name.
  GTEST_FLAG_SET(death_test_style, "fast");
  const std::pair<const char*, std::function<bool(const std::string&)>> kOpeners[] = {
      {"read", [](const std::string& p) { return CFile().Open(p, CFile::Mode::Read); }},
      {"read-write", [](const std::string& p) { return CFile().Open(p, CFile::Mode::ReadWrite); }},
      {"create", [](const std::string& p) { return CFile().Open(p, CFile::Mode::CreateWrite); }},
      {"identify", [](const std::string& p) { return IdentifyMediaFile(p) != MediaFileKind::Unknown; }},
      {"duration", [](const std::string& p) { return MediaFileDurationMs(p, MediaFileKind::Wave).has_value(); }},
  };
  for (Kind kind : {Kind::Fifo, Kind::Directory, Kind::Device})
    for (const auto& [name, open] : kOpeners) {
      test::TempDir dir;
      std::string path = Make(dir, kind);
      EXPECT_EXIT(
          {
            LimitChildTime();
            std::_Exit(open(path) ? 1 : 0);
          },
          ::testing::ExitedWithCode(0), "")
          << name << " " << path;
    }
}

TEST(HostilePathsDeathTest, ATerminationSignalEndsAWaitWithinASecondAndDeletesTheTemporaryFiles) {
  // Forked as it is: the child shares the scratch folder's name.
  GTEST_FLAG_SET(death_test_style, "fast");
  // The signals' numbers on Linux: the status of a forced end is 128 + number.
  const std::pair<TerminationSignal, int> kSignals[] = {
      {TerminationSignal::Interrupt, 2}, {TerminationSignal::Terminate, 15}, {TerminationSignal::HangUp, 1}};
  for (const auto& [signal, number] : kSignals) {
    test::TempDir dir;
    std::string fifo = dir.File("fifo");
    MakeFifo(fifo);
    std::string folder = dir.path().string() + "/";
    auto start = std::chrono::steady_clock::now();
    EXPECT_EXIT(
        {
          LimitChildTime();
          TerminationSignals installed;
          CreateUniqueTempFile(folder, "dia");
          CFile exclusive;
          exclusive.Open(folder + "dia1.xm", CFile::Mode::CreateExclusive);
          // Renamed into place: no longer temporary.
          RenameFile(CreateUniqueTempFile(folder, "out"), folder + "kept");
          DeleteFileNormal(CreateUniqueTempFile(folder, "gone"));
          SendTerminationSignal(signal);
          // A wait the loop never sees the end of: opening a FIFO no one writes.
          std::ifstream wait(fifo);
          std::_Exit(0);
        },
        ::testing::ExitedWithCode(128 + number), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000));
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir.path())) left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"fifo", "kept"}));
  }
}

TEST(HostilePaths, OutputsReplaceOnlyRegularFilesThatAreNotInputs) {
  test::TempDir dir;
  test::WriteFile(dir.File("input"), "input");
  test::WriteFile(dir.File("victim"), "victim");
  test::WriteFile(dir.File("old"), "old");
  MakeFifo(dir.File("fifo"));
  fs::create_directory(dir.File("folder"));
  fs::create_symlink(dir.File("victim"), dir.File("link"));
  fs::create_hard_link(dir.File("input"), dir.File("alias"));
  struct Case {
    const char* target;
    bool allowed;
  };
  const Case kCases[] = {
      {"new", true},     {"old", true},     {"fifo", false},  {"folder", false},
      {"link", false},   {"input", false},  {"alias", false}, {"/dev/null", false},
  };
  const std::vector<std::string> inputs = {dir.File("input")};
  const uint8_t pixel[3] = {1, 2, 3};
  for (const Case& c : kCases) {
    std::string target = c.target[0] == '/' ? c.target : dir.File(c.target);
    std::string refusal = OutputRefusal(target, inputs);
    EXPECT_EQ(refusal.empty(), c.allowed) << c.target << ": " << refusal;
    if (!refusal.empty()) {
      EXPECT_NE(refusal.find(target), std::string::npos) << refusal;
    }
    // The PNG writer knows no inputs: it refuses by kind alone.
    bool input = std::string(c.target) == "input" || std::string(c.target) == "alias";
    if (!input) {
      EXPECT_EQ(WritePngRgb(target, 1, 1, pixel, 3), c.allowed) << c.target;
    }
  }
  EXPECT_EQ(test::ReadFile(dir.File("victim")), "victim");
  EXPECT_EQ(test::ReadFile(dir.File("input")), "input");
  EXPECT_TRUE(fs::is_symlink(dir.File("link")));
  EXPECT_TRUE(fs::is_fifo(dir.File("fifo")));
  // A FIFO planted while the file was written is not replaced either.
  PendingFile late(dir.File("late"));
  ASSERT_TRUE(late.File().IsOpen());
  MakeFifo(dir.File("late"));
  EXPECT_FALSE(late.Commit(false));
  EXPECT_TRUE(fs::is_fifo(dir.File("late")));
}

}  // namespace
}  // namespace pellora
