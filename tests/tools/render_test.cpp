#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <set>

#include "image/error_diffusion.h"
#include "tests/support/picture_files.h"
#include "tests/support/test_support.h"

namespace pellora {
namespace {

using test::Rgb;

std::string Pellora() { return test::BinDir() + "/pellora"; }

struct Png {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
  Rgb At(int x, int yFromTop) const {
    const uint8_t* p = &rgb[(size_t(yFromTop) * size_t(width) + size_t(x)) * 3];
    return {p[0], p[1], p[2]};
  }
  std::set<uint32_t> Colours() const {
    std::set<uint32_t> colours;
    for (size_t i = 0; i < rgb.size(); i += 3) colours.insert(uint32_t(rgb[i]) << 16 | rgb[i + 1] << 8 | rgb[i + 2]);
    return colours;
  }
};

Png LoadPng(const std::string& path) {
  Png png;
  EXPECT_TRUE(test::ReadPng(path, png.width, png.height, png.rgb)) << path;
  return png;
}

// A show of three slides (an embedded JPEG fitted, an embedded bitmap at
// its own size, a bitmap file named but not embedded, stretched) on a
// vertical white-to-navy gradient.
class Render : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<uint8_t> samples;
    for (int y = 0; y < 120; ++y)
      for (int x = 0; x < 200; ++x) {
        samples.push_back(uint8_t(x < 100 ? 240 : 10));
        samples.push_back(uint8_t(y < 60 ? 200 : 40));
        samples.push_back(90);
      }
    ASSERT_TRUE(test::WriteJpeg(dir.File("photo.jpg"), 200, 120, samples, 3, 92));
    test::BitmapFile bmp;
    bmp.width = 40;
    bmp.height = 20;
    bmp.bits = 8;
    bmp.palette = {{255, 0, 0}, {0, 255, 0}};
    bmp.clrUsed = 2;
    bmp.pixels = test::BitmapRows(40, 20, 8, [](int x, int) { return x < 20 ? 0 : 1; });
    test::WriteFile(dir.File("flag.bmp"), bmp.Bytes());
    test::WriteFile(dir.File("show.json"), R"({
      "background": {"kind": "gradient", "colourA": "#FFFFFF", "colourB": "#000080"},
      "pictureMargin": 10,
      "slides": [
        {"picture": "photo.jpg", "fit": "keep-ratio"},
        {"picture": "flag.bmp", "fit": "none"},
        {"picture": "flag.bmp", "embed": false, "fit": "stretch"}
      ]})");
    test::RunResult pack = test::Run(Pellora() + " pack '" + dir.File("show.json") + "' --bare -o '" +
                                     dir.File("show.pellora") + "'");
    ASSERT_EQ(pack.status, 0) << pack.err;
  }

  test::RunResult RenderShow(const std::string& out, const std::string& options) {
    return test::Run(Pellora() + " render '" + dir.File("show.pellora") + "' --out '" + dir.File(out) + "' " +
                     options);
  }

  test::TempDir dir;
};

TEST_F(Render, TrueColourFramesAreTheSlidesOnTheBackground) {
  test::RunResult r = RenderShow("out", "--size 320x240");
  ASSERT_EQ(r.status, 0) << r.err;
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir.File("out"))) names.insert(e.path().filename().string());
  EXPECT_EQ(names, (std::set<std::string>{"background.png", "slide-001.png", "slide-002.png", "slide-003.png"}));

  Png background = LoadPng(dir.File("out/background.png"));
  ASSERT_EQ(background.width, 320);
  ASSERT_EQ(background.height, 240);
  EXPECT_EQ(background.At(5, 0), (Rgb{255, 255, 255}));
  EXPECT_EQ(background.At(5, 239), (Rgb{0, 0, 128}));

  // 200 x 120 fitted into 300 x 220: 300 x 180 at (10, 30).
  Png photo = LoadPng(dir.File("out/slide-001.png"));
  EXPECT_EQ(photo.At(9, 120), background.At(9, 120));
  Rgb topLeft = photo.At(20, 40), bottomRight = photo.At(300, 200);
  EXPECT_NEAR(topLeft.r, 240, 8);
  EXPECT_NEAR(topLeft.g, 200, 8);
  EXPECT_NEAR(bottomRight.r, 10, 8);
  EXPECT_NEAR(bottomRight.g, 40, 8);
  EXPECT_EQ(photo.At(160, 29), background.At(160, 29));
  EXPECT_EQ(photo.At(160, 210), background.At(160, 210));

  // 40 x 20 at its own size: red left half, green right half, at (140, 110).
  Png flag = LoadPng(dir.File("out/slide-002.png"));
  EXPECT_EQ(flag.At(140, 110), (Rgb{255, 0, 0}));
  EXPECT_EQ(flag.At(179, 129), (Rgb{0, 255, 0}));
  EXPECT_EQ(flag.At(139, 110), background.At(139, 110));
  EXPECT_EQ(flag.At(180, 130), background.At(180, 130));

  Png stretched = LoadPng(dir.File("out/slide-003.png"));
  EXPECT_EQ(stretched.At(10, 10), (Rgb{255, 0, 0}));
  EXPECT_EQ(stretched.At(309, 229), (Rgb{0, 255, 0}));
  EXPECT_EQ(stretched.At(9, 10), background.At(9, 10));
}

TEST_F(Render, PaletteDepthsUseTheirPalettesOnly) {
  ASSERT_EQ(RenderShow("eight", "--depth 8").status, 0);
  ASSERT_EQ(RenderShow("four", "--depth 4").status, 0);
  std::set<uint32_t> palette332, palette111;
  for (int i = 0; i < 256; ++i) {
    const RGBQUAD& e = PaletteTable(PALETTE_332)[i];
    palette332.insert(uint32_t(e.rgbRed) << 16 | e.rgbGreen << 8 | e.rgbBlue);
    const RGBQUAD& f = PaletteTable(PALETTE_111)[i];
    palette111.insert(uint32_t(f.rgbRed) << 16 | f.rgbGreen << 8 | f.rgbBlue);
  }
  EXPECT_EQ(palette111.size(), 8u);
  for (const char* name : {"background.png", "slide-001.png", "slide-002.png", "slide-003.png"}) {
    Png eight = LoadPng(dir.File(std::string("eight/") + name));
    Png four = LoadPng(dir.File(std::string("four/") + name));
    EXPECT_EQ(eight.width, 640);
    EXPECT_EQ(four.height, 480);
    for (uint32_t c : eight.Colours()) EXPECT_TRUE(palette332.count(c)) << name << " " << std::hex << c;
    for (uint32_t c : four.Colours()) EXPECT_TRUE(palette111.count(c)) << name << " " << std::hex << c;
  }
  // The flag's colours are exact palette colours: no dither inside it.
  Png flag = LoadPng(dir.File("eight/slide-002.png"));
  for (int y = 230; y < 250; ++y)
    for (int x = 300; x < 320; ++x) EXPECT_EQ(flag.At(x, y), (Rgb{255, 0, 0}));
}

TEST_F(Render, PackRecordsPictureFactsAndThumbnails) {
  test::RunResult info = test::Run(Pellora() + " info --json '" + dir.File("show.pellora") + "'");
  ASSERT_EQ(info.status, 0) << info.err;
  nlohmann::json j = nlohmann::json::parse(info.out);
  const nlohmann::json& photo = j["slides"][0];
  EXPECT_EQ(photo["pictureWidth"], 200);
  EXPECT_EQ(photo["pictureHeight"], 120);
  EXPECT_EQ(photo["pictureDepth"], 24);
  EXPECT_EQ(photo["thumbnailSize"], nlohmann::json::array({84, 58}));
  EXPECT_EQ(photo["smallThumbnailSize"], nlohmann::json::array({67, 46}));
  EXPECT_EQ(photo["thumbnail"]["width"], 84);
  EXPECT_EQ(photo["thumbnail"]["bitCount"], 24);
  EXPECT_EQ(photo["smallThumbnail"]["height"], 46);
  EXPECT_EQ(j["slides"][2]["pictureDepth"], 8);
  EXPECT_EQ(j["slides"][2]["pictureWidth"], 40);
}

TEST_F(Render, UndecodablePicturesArePackedWithoutFacts) {
  test::WriteFile(dir.File("odd.gif"), "GIF89a");
  // Embedded, it would be refused; the player meets it at its path.
  test::WriteFile(dir.File("odd.json"), R"({"slides": [{"picture": "odd.gif", "embed": false}]})");
  ASSERT_EQ(test::Run(Pellora() + " pack '" + dir.File("odd.json") + "' --bare -o '" + dir.File("odd.pellora") + "'")
                .status,
            0);
  test::RunResult info = test::Run(Pellora() + " info --json '" + dir.File("odd.pellora") + "'");
  nlohmann::json slide = nlohmann::json::parse(info.out)["slides"][0];
  EXPECT_EQ(slide["pictureFormat"], "GIF");
  EXPECT_EQ(slide["pictureSize"], 0);
  EXPECT_EQ(slide["pictureWidth"], 0);
  EXPECT_TRUE(slide["thumbnail"].is_null());
  test::RunResult r = test::Run(Pellora() + " render '" + dir.File("odd.pellora") + "' --out '" + dir.File("odd") +
                                "' --size 16x8");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(test::ReadFile(dir.File("odd/background.png")), test::ReadFile(dir.File("odd/slide-001.png")));
}

TEST_F(Render, MissingBackgroundGivesABlackOne) {
  test::WriteFile(dir.File("bare.json"), R"({"background": {"kind": "picture"}, "slides": [{}]})");
  ASSERT_EQ(test::Run(Pellora() + " pack '" + dir.File("bare.json") + "' --bare -o '" + dir.File("bare.pellora") + "'")
                .status,
            0);
  test::RunResult r = test::Run(Pellora() + " render '" + dir.File("bare.pellora") + "' --out '" + dir.File("bare") +
                                "' --size 32x16");
  ASSERT_EQ(r.status, 0) << r.err;
  for (const char* name : {"bare/background.png", "bare/slide-001.png"}) {
    Png png = LoadPng(dir.File(name));
    EXPECT_EQ(png.width, 32);
    EXPECT_EQ(png.Colours(), (std::set<uint32_t>{0}));
  }
}

TEST_F(Render, ExitStatuses) {
  EXPECT_EQ(test::Run(Pellora() + " render '" + dir.File("show.pellora") + "'").status, 2);
  EXPECT_EQ(RenderShow("x", "--depth 16").status, 2);
  EXPECT_EQ(RenderShow("x", "--size 0x10").status, 2);
  EXPECT_EQ(RenderShow("x", "--size big").status, 2);
  EXPECT_EQ(RenderShow("x", "--frobnicate").status, 2);
  EXPECT_EQ(test::Run(Pellora() + " render '" + dir.File("flag.bmp") + "' --out '" + dir.File("y") + "'").status, 1);
  EXPECT_EQ(test::Run(Pellora() + " render '" + dir.File("absent") + "' --out '" + dir.File("y") + "'").status, 1);
}

}  // namespace
}  // namespace pellora

namespace pellora {
namespace {

// A description played and rendered without packing shows what its
// packed show shows, on the display and in the window the viewer chose.
TEST_F(Render, DescriptionPlaysAndRendersAsItsPackedShow) {
  ASSERT_EQ(test::Run(Pellora() + " render '" + dir.File("show.json") + "' --out '" + dir.File("from-json") + "'").status, 0);
  ASSERT_EQ(RenderShow("from-package", "").status, 0);
  for (const char* name : {"background.png", "slide-001.png", "slide-002.png", "slide-003.png"})
    EXPECT_EQ(test::ReadFile(dir.File(std::string("from-json/") + name)),
              test::ReadFile(dir.File(std::string("from-package/") + name)))
        << name;

  const std::string headless =
      "PELLORA_BACKEND=headless PELLORA_HEADLESS_MONITORS=640x480+0+0,800x600+640+0 PELLORA_HEADLESS_LIMIT=20000 ";
  auto shot = [&](const std::string& options, const std::string& file, const std::string& png) {
    return test::Run(headless + "PELLORA_HEADLESS_SCRIPT='4000 shot " + dir.File(png) + "' " + Pellora() + " play " +
                     options + " '" + dir.File(file) + "'");
  };
  struct Case {
    const char* options;
    const char* file;
    int status, width, height;
    const char* message = "";
  } cases[] = {
      {"", "show.pellora", 0, 640, 480},
      {"", "show.json", 0, 640, 480},
      {"--monitor 2", "show.json", 0, 800, 600},
      {"--window --monitor 2", "show.pellora", 0, 800, 600},
      {"--window", "show.pellora", 0, 640, 480},  // the default window, fitted on the display
      {"--window 320x200 --monitor 1", "show.pellora", 0, 320, 200},
      {"--monitor 3", "show.pellora", 1, 0, 0, "there is no display 3: this desktop has 2"},
      {"--window 900x500 --monitor 2", "show.pellora", 1, 0, 0, "a window of 900x500 is larger than display 2 (800x600)"},
  };
  for (const Case& c : cases) {
    std::string png = std::string("shot-") + std::to_string(&c - cases) + ".png";
    test::RunResult r = shot(c.options, c.file, png);
    EXPECT_EQ(r.status, c.status) << c.options << ": " << r.err;
    if (c.status != 0) {
      EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
      continue;
    }
    Png frame = LoadPng(dir.File(png));
    EXPECT_EQ(frame.width, c.width) << c.options;
    EXPECT_EQ(frame.height, c.height) << c.options;
  }
  EXPECT_EQ(test::ReadFile(dir.File("shot-0.png")), test::ReadFile(dir.File("shot-1.png")));
  test::RunResult list = test::Run(headless + Pellora() + " play --list-monitors");
  EXPECT_EQ(list.out, "1: 640x480 at 0,0 headless 1\n2: 800x600 at 640,0 headless 2\n");
}

}  // namespace
}  // namespace pellora
