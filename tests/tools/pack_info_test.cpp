// pellora pack and pellora info end to end: what pack writes, info reads
// back field by field, for self-running shows, bare packages and Windows
// executables; the failures of both commands; and package text reaching a
// terminal.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>

#include "app/package_slot.h"
#include "tests/support/package_builder.h"
#include "tests/support/picture_files.h"
#include "tests/support/show_harness.h"
#include "tests/support/test_support.h"

namespace pellora {
namespace {

using nlohmann::json;

using test::TempDir;

std::string Tool() { return test::BinDir() + "/pellora"; }
std::string Quote(const std::string& s) { return "'" + s + "'"; }

class PackInfoTest : public ::testing::Test {
 protected:
  json Info(const std::string& file) {
    test::RunResult r = test::Run(Tool() + " info --json " + Quote(file));
    EXPECT_EQ(r.status, 0) << r.err;
    return json::parse(r.out, nullptr, false);
  }
  TempDir dir_;
};

TEST_F(PackInfoTest, RoundTripKeepsEveryField) {
  test::WriteFile(dir_.File("theme.xm"), "Extended Module: music bytes");
  ASSERT_TRUE(test::WriteJpeg(dir_.File("a.jpg"), 8, 8, std::vector<uint8_t>(8 * 8 * 3, 90), 3));
  test::WriteFile(dir_.File("b.wav"), "RIFF....WAVE");
  test::WriteFile(dir_.File("show.json"), R"({
    "title": "Vacances 1997 – été", "description": "Une semaine à la mer", "notice": "© Famille",
    "password": "Plage97", "loopShow": 0,
    "background": {"kind": "colour", "colourA": "#102030", "colourB": "#405060", "horizontal": true,
                   "plainColour": "#FF8000", "placement": "tile"},
    "music": "theme.xm", "pictureMargin": 12, "pictureOption": 3,
    "slides": [
      {"picture": "a.jpg", "name": "Plage", "comment": "matin", "fit": "stretch", "duration": 7,
       "advance": "sound-end", "transition": 9, "sound": "slide", "soundFile": "b.wav"},
      {"picture": "a.jpg", "embed": false, "advance": "manual", "sound": "keep"},
      {}
    ]})");
  test::RunResult pack = test::Run(Tool() + " pack " + Quote(dir_.File("show.json")) + " -o " + Quote(dir_.File("show")));
  ASSERT_EQ(pack.status, 0) << pack.err;
  json j = Info(dir_.File("show"));
  ASSERT_TRUE(j.is_object());
  EXPECT_EQ(j["title"], "Vacances 1997 – été");
  EXPECT_EQ(j["description"], "Une semaine à la mer");
  EXPECT_EQ(j["notice"], "© Famille");
  EXPECT_EQ(j["password"], "Plage97");
  EXPECT_EQ(j["loopShow"], 0);
  EXPECT_EQ(j["musicFileName"], "theme.xm");
  EXPECT_EQ(j["musicSize"], 28);
  EXPECT_EQ(j["pictureMargin"], 12);
  EXPECT_EQ(j["pictureOption"], 3);
  EXPECT_EQ(j["backgroundKind"], 2);
  EXPECT_EQ(j["backgroundPlacement"], 2);
  EXPECT_EQ(j["gradientHorizontal"], 1);
  EXPECT_EQ(j["gradientColourA"], 0x302010);
  EXPECT_EQ(j["gradientColourB"], 0x605040);
  EXPECT_EQ(j["plainColour"], 0x0080FF);
  EXPECT_TRUE(j["backgroundPicture"].is_null());
  EXPECT_GT(j["packageOffset"].get<uint64_t>(), 0u);
  ASSERT_EQ(j["slides"].size(), 3u);
  const json& a = j["slides"][0];
  EXPECT_EQ(a["pictureFileName"], "a.jpg");
  EXPECT_EQ(a["pictureFormat"], "JPG");
  EXPECT_EQ(a["slideName"], "Plage");
  EXPECT_EQ(a["slideComment"], "matin");
  EXPECT_EQ(a["pictureFit"], 2);
  EXPECT_EQ(a["duration"], 7);
  EXPECT_EQ(a["advanceMode"], 1);
  EXPECT_EQ(a["transition"], 9);
  EXPECT_EQ(a["soundMode"], 3);
  EXPECT_EQ(a["soundFileName"], "b.wav");
  EXPECT_EQ(a["pictureSize"], test::ReadFile(dir_.File("a.jpg")).size());
  EXPECT_EQ(a["soundSize"], 12);
  EXPECT_EQ(a["slideReserved"], 0xFFFF);
  const json& b = j["slides"][1];
  EXPECT_EQ(b["pictureFileName"], dir_.File("a.jpg"));
  EXPECT_EQ(b["pictureSize"], 0);
  EXPECT_EQ(b["advanceMode"], 2);
  EXPECT_EQ(b["soundMode"], 2);
  const json& c = j["slides"][2];
  EXPECT_EQ(c["duration"], 10);
  EXPECT_EQ(c["transition"], 0);
  // A description's slides fit the screen unless they say otherwise.
  EXPECT_EQ(c["pictureFit"], 1);
}

TEST_F(PackInfoTest, BarePackageStartsWithTheMagicAndStoresSlidesByTag) {
  test::WriteFile(dir_.File("show.json"), R"({"slides": [{}, {}, {}]})");
  ASSERT_EQ(test::Run(Tool() + " pack " + Quote(dir_.File("show.json")) + " --bare -o " + Quote(dir_.File("p"))).status, 0);
  std::string bytes = test::ReadFile(dir_.File("p"));
  ASSERT_EQ(bytes.substr(0, 12), "PELLORA 1.00");
  // After the slide count: 0xFFFF, schema 1, "CDiapoObject"; later slides 0x8001.
  size_t first = bytes.find(std::string("\x03\x00\xFF\xFF\x01\x00\x0C\x00", 8) + "CDiapoObject");
  ASSERT_NE(first, std::string::npos);
  size_t tags = 0;
  for (size_t at = bytes.find(std::string("\x01\x80", 2), first); at != std::string::npos;
       at = bytes.find(std::string("\x01\x80", 2), at + 1))
    ++tags;
  EXPECT_EQ(tags, 2u);
  json j = Info(dir_.File("p"));
  EXPECT_EQ(j["packageOffset"], 0);
  EXPECT_EQ(j["slides"].size(), 3u);
}

TEST_F(PackInfoTest, WindowsExecutablesHoldTheirPackageAfterTheLastSection) {
  test::PackageBytes p;
  p.title = "Windows";
  p.slides.resize(2);
  test::WriteFile(dir_.File("show.exe"), test::MinimalPe(0) + p.Build());
  json j = Info(dir_.File("show.exe"));
  EXPECT_EQ(j["packageOffset"], 0x400);
  EXPECT_EQ(j["title"], "Windows");
  // Padding between the image and the package: found by its magic.
  test::WriteFile(dir_.File("padded.exe"), test::MinimalPe(0x123) + p.Build());
  EXPECT_EQ(Info(dir_.File("padded.exe"))["packageOffset"], 0x523);
  // A Windows player with nothing appended.
  test::WriteFile(dir_.File("empty.exe"), test::MinimalPe(0));
  test::RunResult r = test::Run(Tool() + " info " + Quote(dir_.File("empty.exe")));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("empty.exe is not a Pellora show"), std::string::npos) << r.err;
}

// --target chooses the player by its system, found in PELLORA_PLAYER_DIR
// here; a player of the other system is refused; info reads the show.
TEST_F(PackInfoTest, TheTargetSystemChoosesThePlayer) {
  test::WriteFile(dir_.File("show.json"), R"({"title": "Target", "slides": [{}]})");
  std::string players = dir_.File("players"), windowsPlayer = players + "/pellora-player.exe";
  std::filesystem::create_directory(players);
  test::WriteFile(windowsPlayer, test::MinimalPe(0) + PackageSlotMarker() + std::string(4, '\0'));
  struct Case {
    std::string environment, options;
    int status;
    std::string message;
  };
  const Case cases[] = {
      {"PELLORA_PLAYER_DIR=" + Quote(players), "--target windows", 0, ""},
      {"PELLORA_PLAYER_DIR=" + Quote(dir_.path().string()), "--target windows", 1, "no windows player in"},
      {"", "--target amiga", 2, "--target must be linux or windows"},
      {"", "--target windows --player " + Quote(Tool()), 1, "is not a Windows program"},
      {"", "--target linux --player " + Quote(windowsPlayer), 1, "is not a Linux program"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    std::filesystem::remove(dir_.File("out"));
    test::RunResult r = test::Run("env " + c.environment + " " + Tool() + " pack " + Quote(dir_.File("show.json")) +
                                  " -o " + Quote(dir_.File("out")) + " " + c.options);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(std::filesystem::exists(dir_.File("out")), c.status == 0);
    if (c.status == 0) {
      EXPECT_EQ(Info(dir_.File("out"))["title"], "Target");
    }
  }
}

TEST_F(PackInfoTest, UnreadableFilesAndBadUsageAreToldInTheToolsOwnWords) {
  test::PackageBytes p;
  p.slides.resize(1);
  std::string bytes = p.Build();
  test::WriteFile(dir_.File("cut"), bytes.substr(0, bytes.size() - 3));
  test::WriteFile(dir_.File("notes.txt"), "shopping list");
  struct Case {
    std::string arguments;
    int status;
    std::string message;  // on standard error, or standard output for a success
  } cases[] = {
      {"info " + Quote(dir_.File("cut")), 1, dir_.File("cut") + ": the show package is damaged or cut short"},
      {"info " + Quote(dir_.File("missing")), 1, "cannot open " + dir_.File("missing") + ": No such file or directory"},
      {"info " + Quote(dir_.File("notes.txt")), 1, dir_.File("notes.txt") + " is not a Pellora show"},
      {"info", 2, "info: missing FILE"},
      {"info a b", 2, "only one FILE"},
      {"frobnicate", 2, "unknown command"},
      {"help pack", 0, "Usage: pellora pack SHOW.json"},
      {"help frobnicate", 2, "help: no command \"frobnicate\""},
      {"play --window 100000x100000 x.json", 2, "--window 100000x100000: width and height must be from 1 to 16384"},
      {"play --window 640x480x x.json", 2, "--window must be WxH, for example 640x480, not \"640x480x\""},
      {"render x.json --out y --size 0x480", 2, "--size 0x480: width and height must be from 1 to 16384"},
      {"render x.json --out y --size big", 2, "--size must be WxH"},
  };
  for (const Case& c : cases) {
    test::RunResult r = test::Run(Tool() + " " + c.arguments);
    EXPECT_EQ(r.status, c.status) << c.arguments << ": " << r.err;
    EXPECT_NE((c.status ? r.err : r.out).find(c.message), std::string::npos) << c.arguments << ": " << r.err << r.out;
    EXPECT_EQ(r.err.find("Erreur"), std::string::npos) << c.arguments;
  }
  // --help lists the commands in the order a user meets them.
  test::RunResult help = test::Run(Tool() + " --help");
  EXPECT_EQ(help.status, 0);
  size_t at = 0;
  for (const char* command : {"  play ", "  info ", "  render ", "  pack ", "  modinfo ", "  modrender "}) {
    size_t found = help.out.find(command, at);
    EXPECT_NE(found, std::string::npos) << command << " out of order in " << help.out;
    at = found == std::string::npos ? at : found;
  }
  EXPECT_EQ(test::Run(Tool() + " --version").status, 0);
}

TEST_F(PackInfoTest, PackRefusesWhatThePlayerCouldNotUseAndLeavesNothingBehind) {
  test::WriteFile(dir_.File("a.jpg"), "x");
  struct Case {
    const char* json;
    const char* error;
  } cases[] = {
      {R"({"password": "123456789012345678901"})", "at most 20 characters"},
      {R"({"password": "µ"})", "cannot contain"},
      {R"({"slides": [{"picture": "missing.jpg"}]})", "cannot open"},
      {R"({"slides": [{"fit": "sideways"}]})", "fit"},
      {R"({"slides": [{"transition": 19}]})", "transition"},
      {R"({"background": {"colourA": "blue"}})", "colourA"},
      {R"({"title": 5})", "title"},
      {R"([1, 2])", "object"},
      {R"({"title": )", "JSON"},
  };
  for (const Case& c : cases) {
    test::WriteFile(dir_.File("bad.json"), c.json);
    test::RunResult r = test::Run(Tool() + " pack " + Quote(dir_.File("bad.json")) + " -o " + Quote(dir_.File("out")));
    EXPECT_EQ(r.status, 1) << c.json;
    EXPECT_NE(r.err.find(c.error), std::string::npos) << c.json << ": " << r.err;
  }
  EXPECT_EQ(test::Run(Tool() + " pack " + Quote(dir_.File("bad.json"))).status, 2);
  test::WriteFile(dir_.File("ok.json"), "{}");
  EXPECT_EQ(test::Run(Tool() + " pack " + Quote(dir_.File("ok.json")) + " -o " + Quote(dir_.File("o")) +
                " --player " + Quote(dir_.File("a.jpg")))
                .status,
            1);
  // Only the inputs remain: no output and no half-written temporary file.
  std::vector<std::string> left;
  for (const auto& e : std::filesystem::directory_iterator(dir_.path())) left.push_back(e.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"a.jpg", "bad.json", "ok.json"}));
}

TEST_F(PackInfoTest, SelfRunningShowReadsItsOwnPackage) {
  test::WriteFile(dir_.File("show.json"), R"({"title": "", "loopShow": 1, "slides": [{"duration": 1}, {"duration": 1}]})");
  ASSERT_EQ(test::Run(Tool() + " pack " + Quote(dir_.File("show.json")) + " -o " + Quote(dir_.File("show"))).status, 0);
  EXPECT_TRUE(std::filesystem::status(dir_.File("show")).permissions() != std::filesystem::perms::none);
  test::RunResult played =
      test::Run("PELLORA_BACKEND=headless PELLORA_HEADLESS_LIMIT=5000 " + Quote(dir_.File("show")));
  EXPECT_EQ(played.status, 0) << played.err;
  // The same player with its package cut away tells the viewer and fails.
  std::string bytes = test::ReadFile(dir_.File("show"));
  uint64_t offset = Info(dir_.File("show"))["packageOffset"];
  test::WriteFile(dir_.File("bare-player"), bytes.substr(0, offset));
  std::filesystem::permissions(dir_.File("bare-player"), std::filesystem::perms::owner_all);
  test::RunResult bare = test::Run("PELLORA_BACKEND=headless " + Quote(dir_.File("bare-player")));
  EXPECT_EQ(bare.status, 1);
  EXPECT_NE(bare.err.find("Quorvel Pellora 1.0: Erreur lors du chargement"), std::string::npos) << bare.err;
  // The show in a folder with a long name still plays.
  std::string deep = dir_.File(std::string(120, 'd'));
  std::filesystem::create_directory(deep);
  std::filesystem::copy_file(dir_.File("show"), deep + "/show");
  EXPECT_EQ(test::Run("PELLORA_BACKEND=headless PELLORA_HEADLESS_LIMIT=3000 " + Quote(deep + "/show")).status, 0);
  // pellora play reads the same file.
  EXPECT_EQ(test::Run("PELLORA_BACKEND=headless PELLORA_HEADLESS_LIMIT=3000 " + Tool() + " play " + Quote(dir_.File("show")))
                .status,
            0);
}

TEST_F(PackInfoTest, PlayerWithoutADisplaySaysSo) {
  test::WriteFile(dir_.File("show.json"), R"({"slides": [{}]})");
  ASSERT_EQ(test::Run(Tool() + " pack " + Quote(dir_.File("show.json")) + " -o " + Quote(dir_.File("show"))).status, 0);
  test::RunResult r = test::Run("env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER PELLORA_BACKEND=sdl " +
                          Quote(dir_.File("show")));
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("cannot open a display"), std::string::npos) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
}

TEST_F(PackInfoTest, InfoShowsTheControlCharactersOfAPackageEscaped) {
  // ESC, BEL, a line feed and the 8-bit operating system command.
  // Descriptions refuse them; packages of other tools may hold them.
  test::PackageBytes p;
  p.title = "a\x1B]0;owned\x07" "b";
  p.description = "c\nd";
  p.notice = "\x9D" "0;x";
  p.slides.resize(1);
  p.slides[0].slideName = "\x1B[31mred";
  test::WriteFile(dir_.File("evil"), p.Build());
  test::RunResult r = test::Run(Tool() + " info " + Quote(dir_.File("evil")));
  ASSERT_EQ(r.status, 0) << r.err;
  for (unsigned char c : r.out) EXPECT_TRUE(c >= 0x20 || c == '\n') << int(c);
  EXPECT_EQ(r.out.find("\xC2\x9D"), std::string::npos);
  EXPECT_NE(r.out.find("\\u009D0;x"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("a\\x1B]0;owned\\x07b"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("c\\x0Ad"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\\x1B[31mred"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace pellora

namespace pellora {
namespace {

TEST(PackReport, SummaryLineStrictAndQuiet) {
  test::TempDir dir;
  test::WriteFile(dir.File("theme.xm"), "not a module");
  test::WriteFile(dir.File("show.json"), R"({"music": "theme.xm", "slides": [{}, {}]})");
  std::string pack = Tool() + " pack " + Quote(dir.File("show.json")) + " --bare -o " + Quote(dir.File("out"));
  struct Case {
    const char* options;
    int status;
    const char* out;
  } cases[] = {
      {"", 0, "packed 2 slides, 0.0 MB, music theme.xm (embedded) into "},
      {"--quiet", 0, ""},
      {"--strict", 1, ""},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(dir.File("out"));
    test::RunResult r = test::Run(pack + " " + c.options);
    EXPECT_EQ(r.status, c.status) << c.options << r.err;
    EXPECT_EQ(r.out.substr(0, std::string(c.out).size()), c.out) << c.options;
    EXPECT_EQ(std::filesystem::exists(dir.File("out")), c.status == 0) << c.options;
    // Warnings are said in every mode: the music, then each slide.
    EXPECT_NE(r.err.find("show.json: warning: the player cannot play the music theme.xm"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("warning: slide 2: no picture"), std::string::npos) << r.err;
  }
}

TEST(InfoText, NamesTheShowAndEachSlide) {
  test::TempDir dir;
  test::WriteFile(dir.File("show.json"), R"({"title": "Été", "slides": [{"name": "Plage", "duration": 7}]})");
  ASSERT_EQ(test::Run(Tool() + " pack " + Quote(dir.File("show.json")) + " --quiet --bare -o " + Quote(dir.File("p"))).status, 0);
  test::RunResult r = test::Run(Tool() + " info " + Quote(dir.File("p")));
  EXPECT_EQ(r.status, 0) << r.err;
  for (const char* text : {"Été", "Plage", "7"}) EXPECT_NE(r.out.find(text), std::string::npos) << text << "\n" << r.out;
}

}  // namespace
}  // namespace pellora
