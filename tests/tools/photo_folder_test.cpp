// A show from a folder of photos: `pellora new` describes it, `pellora pack
// PHOTOS_DIR` packs the same show in one step without writing into the
// folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <nlohmann/json.hpp>

#include "tests/support/picture_files.h"
#include "tests/support/show_harness.h"
#include "tests/support/sound_files.h"
#include "tests/support/test_support.h"

namespace pellora {
namespace {

namespace fs = std::filesystem;

std::string Quote(const std::string& s) { return "'" + s + "'"; }
test::RunResult Pellora(const std::string& args) { return test::Run(test::BinDir() + "/pellora " + args); }

std::vector<std::string> Listing(const test::TempDir& dir, const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir.File(folder))) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A JPEG with an EXIF date taken (DateTimeOriginal in the EXIF sub-IFD).
std::string TakenOn(const std::string& jpeg, const std::string& date) {
  std::string tiff = std::string("MM\0*\0\0\0\x08", 8) + std::string("\0\x01\x87\x69\0\x04\0\0\0\x01\0\0\0\x1A\0\0\0\0", 18) +
                     std::string("\0\x01\x90\x03\0\x02\0\0\0\x14\0\0\0\x2C\0\0\0\0", 18) + date + std::string(1, '\0');
  std::string segment = std::string("Exif\0\0", 6) + tiff;
  size_t length = segment.size() + 2;
  return jpeg.substr(0, 2) + "\xFF\xE1" + char(length >> 8) + char(length & 0xFF) + segment + jpeg.substr(2);
}

TEST(PhotoFolder, NewDescribesEveryPictureAndPackPacksTheSameShow) {
  test::TempDir dir;
  fs::create_directories(dir.File("Vacances 2024"));
  fs::create_directories(dir.File("two songs"));
  fs::create_directories(dir.File("empty"));
  ASSERT_TRUE(test::WriteJpeg(dir.File("plain.jpg"), 16, 16, std::vector<uint8_t>(16 * 16 * 3, 80), 3, 90));
  // Taken first, shown first, whatever their names.
  test::WriteFile(dir.File("Vacances 2024/b.jpg"), TakenOn(test::ReadFile(dir.File("plain.jpg")), "2024:07:02 09:00:00"));
  test::WriteFile(dir.File("Vacances 2024/z.jpg"), TakenOn(test::ReadFile(dir.File("plain.jpg")), "2024:07:01 18:30:00"));
  // Told by their contents: a BMP named .jpg is a picture, a text named .jpg is not.
  test::WriteFile(dir.File("Vacances 2024/a.jpg"), test::SolidBmp(8, 8, 255, 0, 0));
  test::WriteFile(dir.File("Vacances 2024/c.bmp"), test::SolidBmp(8, 8, 0, 255, 0));
  test::WriteFile(dir.File("Vacances 2024/notes.jpg"), "not a picture");
  test::WriteFile(dir.File("Vacances 2024/vagues.wav"), test::ToneWav(0.1));
  test::WriteFile(dir.File("two songs/a.bmp"), test::SolidBmp(8, 8, 0, 0, 255));
  test::WriteFile(dir.File("two songs/1.wav"), test::ToneWav(0.1));
  test::WriteFile(dir.File("two songs/2.mod"), test::ShortModule(4));
  const std::string photos = Quote(dir.File("Vacances 2024"));
  const std::vector<std::string> before = Listing(dir, "Vacances 2024");

  struct Case {
    std::string args;
    int status;
    std::string message;  // on standard output, or error for a failure
  } cases[] = {
      {"pack " + photos + " --bare -o " + Quote(dir.File("direct")), 0, "packed 4 slides"},
      {"new " + photos + " -o " + Quote(dir.File("show.json")), 0, "pellora pack " + dir.File("show.json") + " -o 'Vacances 2024'"},
      {"new " + photos + " -o " + Quote(dir.File("show.json")), 1, "exists already (--force replaces it)"},
      {"new " + photos + " -o " + Quote(dir.File("show.json")) + " --force", 0, "4 slides, music vagues.wav"},
      {"pack " + Quote(dir.File("show.json")) + " --bare -o " + Quote(dir.File("described")), 0, "packed 4 slides"},
      {"new " + Quote(dir.File("two songs")) + " -o " + Quote(dir.File("two.json")), 0, "1 slide, no music"},
      {"new " + Quote(dir.File("empty")), 1, "no pictures in"},
      {"new " + Quote(dir.File("absent")), 1, "is not a folder"},
  };
  for (const Case& c : cases) {
    test::RunResult r = Pellora(c.args);
    EXPECT_EQ(r.status, c.status) << c.args << ": " << r.err;
    EXPECT_NE((c.status ? r.err : r.out).find(c.message), std::string::npos) << c.args << ": " << r.out << r.err;
  }
  EXPECT_NE(Pellora("new " + Quote(dir.File("two songs"))).err.find("2 music files"), std::string::npos);
  // In the order taken, then by name; relative to the description, fitted, five seconds, random
  // transitions, sized for the screen.
  nlohmann::json show = nlohmann::json::parse(test::ReadFile(dir.File("show.json")));
  EXPECT_EQ(show["title"], "Vacances 2024");
  EXPECT_EQ(show["music"], "Vacances 2024/vagues.wav");
  EXPECT_EQ(show["pictures"], nlohmann::json::parse(R"({"maxSize": "1920x1080", "quality": 90})"));
  ASSERT_EQ(show["slides"].size(), 4u);
  EXPECT_EQ(show["slides"][0], nlohmann::json::parse(
                                   R"({"picture": "Vacances 2024/z.jpg", "fit": "keep-ratio", "duration": 5, "transition": 0})"));
  EXPECT_EQ(show["slides"][1]["picture"], "Vacances 2024/b.jpg");
  EXPECT_EQ(show["slides"][2]["picture"], "Vacances 2024/a.jpg");
  EXPECT_EQ(show["slides"][3]["picture"], "Vacances 2024/c.bmp");
  EXPECT_EQ(test::ReadFile(dir.File("direct")), test::ReadFile(dir.File("described")));
  EXPECT_EQ(Listing(dir, "Vacances 2024"), before);  // pack wrote nothing there
}

}  // namespace
}  // namespace pellora
