// Unpacking shows: every package, whoever wrote it, gives its files back
// inside the folder asked for, with a show.json that packs into the same
// bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <nlohmann/json.hpp>

#include "tests/support/package_builder.h"
#include "tests/support/picture_files.h"
#include "tests/support/show_harness.h"
#include "tests/support/sound_files.h"
#include "tests/support/test_support.h"

namespace pellora {
namespace {

namespace fs = std::filesystem;

std::string Quote(const std::string& s) { return "'" + s + "'"; }
std::string Tool() { return test::BinDir() + "/pellora"; }

test::SlideBytes Embedded(const std::string& name, const std::string& bytes) {
  test::SlideBytes s;
  s.pictureFileName = name;
  s.picture = bytes;
  return s;
}

TEST(Unpack, EveryPackageComesBackInsideItsFolderAndPacksIntoTheSameBytes) {
  test::TempDir dir;
  // Another tool's layout, with thumbnails, a slide sound and music.
  test::PackageBytes authoring;
  authoring.slides.resize(2);
  authoring.slides[0].thumbnail = test::SmallDib(84, 58, 24);
  authoring.slides[0].smallThumbnail = test::SmallDib(67, 46, 24);
  authoring.slides[1].soundFileName = "C:\\Sons\\vagues.wav";
  authoring.slides[1].sound = "RIFF-WAVE";
  authoring.slides[1].soundMode = 3;
  // Everything a description's own keys cannot say.
  test::PackageBytes odd;
  odd.magic = "pellora 1.00";
  odd.version = 7;
  odd.title = "Tab\there";
  odd.description = "a\r\nb";
  odd.notice = "\x01";
  odd.storedPassword = std::string("\x8C\x00\xB0", 3);
  odd.backgroundKind = 9;
  odd.placement = 5;
  odd.horizontal = 3;
  odd.colourA = 0xFF123456;
  odd.backgroundFileName = "C:\\fond.bmp";
  odd.backgroundPicture = test::SmallDib(4, 3, 8) + "tail";
  odd.musicFileName = "C:\\Musique\\theme.mid";
  odd.music = "";
  odd.slides.resize(2);
  odd.slides[0].fit = 7;
  odd.slides[0].advance = 9;
  odd.slides[0].transition = 40;
  odd.slides[0].soundMode = 3;
  odd.slides[0].pictureFormat = "PCX";
  odd.slides[0].picture = "";
  odd.slides[0].reserved = 0x1234;
  odd.slides[0].thumbnail = "garbage";
  odd.slides[1].slideName = "x\x7Fy";
  // Stored names that try to leave the folder or name a device.
  test::PackageBytes hostile;
  for (const char* name : {"../../evil.jpg", "/etc/evil.jpg", "C:\\Windows\\CON", "NUL.jpg", "a\x01" "b\tc.jpg", "..", ""})
    hostile.slides.push_back(Embedded(name, "JPEGBYTES"));
  hostile.slides[0].soundFileName = "..\\..\\x.wav";
  hostile.slides[0].sound = "RIFF";
  hostile.slides[1].soundFileName = "COM1";
  hostile.slides[1].sound = "RIFF";
  hostile.musicFileName = "/tmp/x.mod";
  // A show of pack's own, self-running, with real pictures and sounds.
  ASSERT_TRUE(test::WriteJpeg(dir.File("plage.jpg"), 32, 24, std::vector<uint8_t>(32 * 24 * 3, 90), 3, 90));
  test::WriteFile(dir.File("port.bmp"), test::SolidBmp(8, 8, 0, 0, 255));
  test::WriteFile(dir.File("vagues.wav"), test::ToneWav(0.1));
  test::WriteFile(dir.File("song.mod"), test::ShortModule(4));
  test::WriteFile(dir.File("show.json"), R"({"title": "Été", "password": "Secret", "music": "song.mod",
    "background": {"kind": "picture", "picture": "port.bmp"},
    "slides": [{"picture": "plage.jpg", "fit": "keep-ratio"},
               {"picture": "port.bmp", "sound": "slide", "soundFile": "vagues.wav", "advance": "sound-end"}]})");
  ASSERT_EQ(test::Run(Tool() + " pack " + Quote(dir.File("show.json")) + " -o " + Quote(dir.File("packed"))).status, 0);
  std::string packed = test::ReadFile(dir.File("packed"));

  struct Case {
    const char* name;
    std::string file;
    size_t offset;
    std::vector<std::string> names;  // the unpacked files, when the row lists them
  } cases[] = {
      {"authoring", authoring.Build(), 0, {}},
      {"odd", odd.Build(), 0, {}},
      {"windows", test::MinimalPe(0) + authoring.Build(), 0x400, {}},
      {"hostile", hostile.Build(), 0,
       {"_COM1", "_CON.jpg", "_NUL.jpg", "abc.jpg", "evil-2.jpg", "evil.jpg", "show.json", "slide-006.jpg",
        "slide-007.jpg", "x.mod", "x.wav"}},
      {"pack", packed, nlohmann::json::parse(test::Run(Tool() + " info --json " + Quote(dir.File("packed"))).out)["packageOffset"], {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir scratch;
    std::string show = scratch.File("show"), out = scratch.File("a/b/out"), again = scratch.File("again");
    test::WriteFile(show, c.file);
    test::RunResult unpacked = test::Run(Tool() + " unpack " + Quote(show) + " " + Quote(out));
    ASSERT_EQ(unpacked.status, 0) << unpacked.err;
    EXPECT_EQ(unpacked.err, "");
    // Everything written is a plain file right inside the folder.
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(scratch.path())) {
      if (entry.is_directory() || entry.path() == PathFromUtf8(show)) continue;
      EXPECT_EQ(entry.path().parent_path(), PathFromUtf8(out)) << entry.path();
      EXPECT_TRUE(entry.is_regular_file()) << entry.path();
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    if (!c.names.empty()) {
      EXPECT_EQ(names, c.names);
    }
    test::RunResult repacked = test::Run(Tool() + " pack " + Quote(out + "/show.json") + " --bare -o " + Quote(again));
    ASSERT_EQ(repacked.status, 0) << repacked.err;
    EXPECT_TRUE(test::ReadFile(again) == c.file.substr(c.offset)) << test::ReadFile(out + "/show.json");
  }
  // A folder that holds anything already is left alone.
  test::RunResult full = test::Run(Tool() + " unpack " + Quote(dir.File("packed")) + " " + Quote(dir.path().string()));
  EXPECT_EQ(full.status, 1);
  EXPECT_NE(full.err.find("is not an empty folder"), std::string::npos) << full.err;
}

}  // namespace
}  // namespace pellora
