// Checking show descriptions: every problem at once, each naming its place,
// errors that stop the pack and warnings for what the player survives.
#include <gtest/gtest.h>

#include <filesystem>

#include "document/diapo_doc.h"
#include "tests/support/picture_files.h"
#include "tests/support/test_support.h"
#include "tools/lib/show_description.h"

namespace pellora {
namespace {

class DescriptionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<uint8_t> samples(16 * 16 * 3, 128);
    ASSERT_TRUE(test::WriteJpeg(dir_.File("good.jpg"), 16, 16, samples, 3, 90));
    std::string jpeg = test::ReadFile(dir_.File("good.jpg"));
    test::WriteFile(dir_.File("cut.jpg"), jpeg.substr(0, jpeg.size() / 2));
    test::WriteFile(dir_.File("text.jpg"), "hello, not a picture at all");
    test::WriteFile(dir_.File("noise.wav"), "not a sound either, just text");
    test::WriteFile(dir_.File("bad.xm"), "Extended Module: but nothing after");
    test::WriteFile(dir_.File("ok.wav"), std::string("RIFF\x24\0\0\0WAVE", 12));
    test::WriteFile(dir_.File("empty.xm"), "");
    test::BitmapFile fields;
    fields.compression = 3;
    fields.pixels = std::string(4, '\0');
    test::WriteFile(dir_.File("fields.bmp"), fields.Bytes());
    // An Ogg stream of video: no sound the player plays.
    test::WriteFile(dir_.File("video.ogg"), std::string("OggS\0\x02", 6) + std::string(20, '\0') + "\x01\x07\x80theora");
    std::filesystem::create_directory(dir_.File("folder"));
    ASSERT_EQ(test::Run("mkfifo '" + dir_.File("fifo.jpg") + "'").status, 0);
  }

  tools::DescriptionRead Read(const std::string& json) {
    test::WriteFile(dir_.File("show.json"), json);
    return tools::ReadShowDescription(dir_.File("show.json"));
  }

  test::TempDir dir_;
};

bool Has(const tools::DescriptionRead& read, bool error, const std::string& text) {
  for (const auto& p : read.problems)
    if (p.error == error && p.text.find(text) != std::string::npos) return true;
  return false;
}

std::string All(const tools::DescriptionRead& read) {
  std::string all;
  for (const auto& p : read.problems) all += (p.error ? "E: " : "W: ") + p.text + "\n";
  return all;
}

TEST_F(DescriptionTest, EachProblemIsNamedWithItsPlace) {
  struct Case {
    const char* json;
    bool error;
    const char* message;
  } cases[] = {
      {R"({"title": "a",
  "slides": [}
})", true, "JSON line 2, column 14: syntax error"},
      {R"({"slides": [{"picture": "good.jpg", "transtion": 5}]})", true,
       "slide 1 (good.jpg): unknown key \"transtion\" — did you mean \"transition\"?"},
      {R"({"titel": "x"})", true, "unknown key \"titel\" — did you mean \"title\"?"},
      {R"({"background": {"kind": "colour", "colourA": 1, "color": "#000000"}})", true,
       "background: unknown key \"color\" — did you mean \"colourA\"?"},
      {R"({"zzzzzzzz": 1})", true, "unknown key \"zzzzzzzz\""},
      {R"({"slides": [{"duration": 2.5}]})", true, "slide 1: \"duration\" must be a whole number from 0 to 65535, not 2.5"},
      {R"({"slides": [{"duration": 70000}]})", true, "\"duration\" must be a whole number from 0 to 65535"},
      {R"({"slides": [{"duration": "6"}]})", true, "\"duration\" must be a whole number"},
      {R"({"slides": [{"transition": 19}]})", true, "\"transition\" must be a whole number from 0 to 18"},
      {R"({"slides": [{"fit": "sideways"}]})", true, "\"fit\" must be \"none\", \"keep-ratio\" or \"stretch\""},
      {R"({"slides": [{"advance": 1}]})", true, "\"advance\" must be"},
      {R"({"slides": [{"sound": "loud"}]})", true, "\"sound\" must be"},
      {R"({"background": {"placement": "middle"}})", true, "background: \"placement\" must be"},
      {R"({"background": {"colourA": "blue"}})", true, "\"colourA\" must be a colour"},
      {R"({"password": "123456789012345678901"})", true, "at most 20 characters"},
      {R"({"password": "µ"})", true, "cannot contain"},
      {R"({"password": "🔒"})", true, "the password has characters the show's code page"},
      {R"({"title": 5})", true, "\"title\" must be text"},
      {R"({"loopShow": -1})", true, "\"loopShow\" must be a whole number"},
      {R"([1, 2])", true, "must be a JSON object"},
      {R"({"slides": [{"picture": "good.jpg", "sound": "slide"}]})", true,
       "slide 1 (good.jpg): \"sound\": \"slide\" needs a \"soundFile\""},
      {R"({"slides": [{"picture": "missing.jpg"}]})", true,
       "slide 1 (missing.jpg): cannot open picture missing.jpg: No such file or directory"},
      {R"({"password": "a\tb"})", true, "the password holds U+0009, which no viewer can type"},
      {"{\"password\": \"a\u0081\"}", true, "the password holds U+0081"},
      {R"({"title": "a\u0007"})", true, "\"title\" holds the control character U+0007; only \"description\" and"},
      {R"({"slides": [{"name": "a\nb"}]})", true, "slide 1: \"name\" holds the control character U+000A"},
      {R"({"notice": "a\r\nb\tc"})", true, "\"notice\" holds the control character U+0009; it may hold line breaks"},
      {R"({"title": null})", true, "JSON line 1, column 11: \"title\" is null: leave the key out"},
      {"{\"title\": \"a\",\n \"title\": \"b\"}", true, "JSON line 2, column 2: the key \"title\" is given twice"},
      {R"({"slides": [{"picture": "good.jpg"}, null]})", true, "JSON line 1, column 38: null in a list"},
      {R"({"slides": [{"picture": "good.jpg", "soundFile": ""}]})", true, "\"soundFile\" is empty: name a file"},
      {R"({"music": "empty.xm"})", true, "music empty.xm is an empty file"},
      {R"({"slides": [{"picture": "folder"}]})", true, "picture folder is a folder, not a file"},
      {R"({"slides": [{"picture": "fifo.jpg"}]})", true, "picture fifo.jpg is a FIFO, not a file"},
      {R"({"music": "/dev/null"})", true, "music /dev/null is a device, not a file"},
      {R"({"slides": [{"picture": "text.jpg"}]})", true,
       "slide 1 (text.jpg): cannot read the picture text.jpg: not a picture in a format pack reads"},
      {R"({"slides": [{"picture": "text.jpg", "embed": false}]})", false,
       "slide 1 (text.jpg): the player cannot show the picture text.jpg: not a JPEG or BMP picture"},
      {R"({"slides": [{"picture": "cut.jpg"}]})", true, "cannot read the picture cut.jpg: truncated JPEG"},
      {R"({"slides": [{"picture": "fields.bmp"}]})", true, "fields.bmp: unsupported BMP compression 3"},
      {R"({"music": "video.ogg", "slides": [{"picture": "good.jpg"}]})", false,
       "the player cannot play the music video.ogg: not a WAV, MIDI"},
      {R"({"slides": [{"picture": "good.jpg", "sound": "slide", "soundFile": "noise.wav"}]})", false,
       "the player cannot play the sound noise.wav: not a WAV, MIDI"},
      {R"({"music": "bad.xm", "slides": [{"picture": "good.jpg"}]})", false,
       "the player cannot play the music bad.xm: not a tracker module"},
      {R"({"background": {"kind": "picture", "picture": "text.jpg"}, "slides": [{"picture": "good.jpg"}]})", false,
       "background: cannot decode the picture"},
      {R"({})", false, "the show has no slides"},
      {R"({"slides": [{}]})", false, "slide 1: no picture"},
      {R"({"slides": [{"picture": "../outside.jpg", "embed": false}]})", false,
       "slide 1 (outside.jpg): picture ../outside.jpg does not exist"},
      {R"({"title": "Fête 🎉", "slides": [{"picture": "good.jpg"}]})", false,
       "\"title\" has characters the show's code page (Windows-1252) cannot hold; they show as \"?\""},
  };
  for (const Case& c : cases) {
    tools::DescriptionRead read = Read(c.json);
    EXPECT_TRUE(Has(read, c.error, c.message)) << c.json << "\n" << All(read);
    EXPECT_EQ(read.document == nullptr, c.error) << c.json;
  }
}

TEST_F(DescriptionTest, EveryProblemIsReportedInOneRun) {
  tools::DescriptionRead read = Read(R"({"transtion": 1, "title": 4,
    "slides": [{"picture": "good.jpg", "duration": 2.5}, {"picture": "text.jpg", "fit": "wide"}, {}]})");
  EXPECT_EQ(read.ErrorCount(), 5u) << All(read);
  EXPECT_EQ(read.WarningCount(), 1u) << All(read);
  EXPECT_EQ(read.document, nullptr);
}

TEST_F(DescriptionTest, FilesOutsideTheFolderArePackedWithAWarning) {
  std::filesystem::create_directory(dir_.File("show"));
  test::WriteFile(dir_.File("show/show.json"),
                  R"({"slides": [{"picture": "../good.jpg"}, {"picture": ")" + dir_.File("good.jpg") + R"("}]})");
  tools::DescriptionRead read = tools::ReadShowDescription(dir_.File("show/show.json"));
  ASSERT_NE(read.document, nullptr) << All(read);
  EXPECT_TRUE(Has(read, false, "slide 1 (good.jpg): picture ../good.jpg is outside the show's folder")) << All(read);
  EXPECT_TRUE(Has(read, false, "slide 2 (good.jpg): picture /")) << All(read);
  EXPECT_EQ(read.document->slides[0]->pictureWidth, 16u);
  // Inside the folder, by a path that leaves and comes back: no warning.
  test::WriteFile(dir_.File("show/in.jpg"), test::ReadFile(dir_.File("good.jpg")));
  test::WriteFile(dir_.File("show/show.json"), R"({"slides": [{"picture": "../show/in.jpg"}]})");
  EXPECT_TRUE(tools::ReadShowDescription(dir_.File("show/show.json")).problems.empty());
}

}  // namespace
}  // namespace pellora
