// The show window playing real packages in virtual time: timing, the
// navigation keys at both ends of the show, the keys and buttons that end
// it, the title card, the wait cursor and the sound-end advance.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "document/diapo_doc.h"
#include "image/dib.h"
#include "platform/draw/palette.h"
#include "platform/draw/screen.h"
#include "platform/ui/cursor.h"
#include "show/show_wnd.h"
#include "tests/support/show_harness.h"

namespace pellora {
namespace {

using test::HeadlessShow;
using test::ShowWindow;

// Three slides of three colours; each slide's JSON fields come from extra.
std::string ShowJson(const std::string& documentFields, const std::vector<std::string>& slideFields) {
  const char* pictures[] = {"red.bmp", "green.bmp", "blue.bmp", "red.bmp", "green.bmp"};
  std::string slides;
  for (size_t i = 0; i < slideFields.size(); ++i) {
    if (i) slides += ",";
    slides += R"({"picture": ")" + std::string(pictures[i % 5]) + R"(", "fit": "stretch", "transition": 1)";
    if (!slideFields[i].empty()) slides += ", " + slideFields[i];
    slides += "}";
  }
  std::string fields = documentFields.empty() ? "" : documentFields + ", ";
  return "{" + fields + R"("background": {"kind": "colour", "plainColour": "#000000"}, "pictureMargin": 0, "slides": [)" +
         slides + "]}";
}

class ShowSequencing : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteFile(dir.File("red.bmp"), test::SolidBmp(32, 24, 255, 0, 0));
    test::WriteFile(dir.File("green.bmp"), test::SolidBmp(32, 24, 0, 255, 0));
    test::WriteFile(dir.File("blue.bmp"), test::SolidBmp(32, 24, 0, 0, 255));
  }

  std::string Pack(const std::string& documentFields, const std::vector<std::string>& slides) {
    return test::PackShow(dir, ShowJson(documentFields, slides));
  }

  // Records the slide shown at each of the given times.
  void IndexesAt(HeadlessShow& show, const std::vector<uint64_t>& times) {
    auto seen = std::make_shared<std::vector<int>>(times.size(), -2);
    for (size_t i = 0; i < times.size(); ++i)
      show.At(times[i], [seen, i] { (*seen)[i] = ShowWindow() ? ShowWindow()->currentIndex : -1; });
    seen_ = seen;
  }
  std::vector<int> Seen() const { return *seen_; }

  test::TempDir dir;
  std::shared_ptr<std::vector<int>> seen_;
};

TEST_F(ShowSequencing, DurationZeroMovesOnAtTheFirstTick) {
  std::string package = Pack(R"("loopShow": 0)", {R"("duration": 0)", R"("duration": 5)", R"("duration": 5)"});
  HeadlessShow show;
  IndexesAt(show, {900, 1100, 5900, 6200});
  show.Script("8000 key escape");
  EXPECT_EQ(show.Run(package), 0);
  EXPECT_EQ(Seen(), (std::vector<int>{0, 1, 1, 2}));
}

TEST_F(ShowSequencing, LastSlideWithoutLoopStaysUntilHome) {
  std::string package = Pack(R"("loopShow": 0)", {R"("duration": 1)", R"("duration": 1)", R"("duration": 1)"});
  HeadlessShow show;
  // The timer brings the last slide at 2 s; neither the timer nor Right,
  // Down or End move it; Home goes back to the first.
  // (Home comes between two ticks: a tick right after it would move on.)
  show.Script("5000 key right; 5500 key down; 6000 key end; 7300 key home; 7500 key escape");
  IndexesAt(show, {2500, 4900, 5200, 5700, 6500, 7400});
  EXPECT_EQ(show.Run(package), 0);
  EXPECT_EQ(Seen(), (std::vector<int>{2, 2, 2, 2, 2, 0}));
}

TEST_F(ShowSequencing, LastSlideOfALoopingShowWrapsOnRightButNotOnEnd) {
  std::string package = Pack(R"("loopShow": 1)", {R"("advance": "manual")", R"("advance": "manual")",
                                                  R"("advance": "manual")"});
  HeadlessShow show;
  show.Script("1000 key end; 2000 key end; 3000 key right; 4000 key escape");
  IndexesAt(show, {1500, 2500, 3500});
  EXPECT_EQ(show.Run(package), 0);
  EXPECT_EQ(Seen(), (std::vector<int>{2, 2, 0}));
}

TEST_F(ShowSequencing, TimedLastSlideOfALoopingShowWrapsToTheFirst) {
  std::string package = Pack(R"("loopShow": 1)", {R"("duration": 1)", R"("duration": 1)"});
  HeadlessShow show;
  IndexesAt(show, {500, 1500, 2500});
  show.Script("3000 key escape");
  EXPECT_EQ(show.Run(package), 0);
  EXPECT_EQ(Seen(), (std::vector<int>{0, 1, 0}));
}

TEST_F(ShowSequencing, LeftAndHomeDoNothingOnTheFirstSlide) {
  std::string package = Pack("", {R"("advance": "manual")", R"("advance": "manual")", R"("advance": "manual")"});
  HeadlessShow show;
  show.Script("1000 key left; 2000 key home; 3000 key right; 4000 key right; 5000 key up; 6000 key left; "
              "7000 key escape");
  IndexesAt(show, {1500, 2500, 3500, 4500, 5500, 6500});
  EXPECT_EQ(show.Run(package), 0);
  EXPECT_EQ(Seen(), (std::vector<int>{0, 0, 1, 2, 1, 0}));
}

TEST_F(ShowSequencing, EveryOtherKeyAndTheClicksEndTheShow) {
  std::string package = Pack("", {R"("advance": "manual")", R"("advance": "manual")"});
  const char* enders[] = {"key escape", "key space", "key return", "key pageup", "key pagedown", "key shift",
                          "key ctrl",   "key a",     "key f1",     "click 10 10", "click 600 400 right",
                          "click 320 240 double"};
  for (const char* ender : enders) {
    SCOPED_TRACE(ender);
    HeadlessShow show;
    show.Script(std::string("1000 ") + ender);
    EXPECT_EQ(show.Run(package), 0);
    EXPECT_LT(show.EndTime(), 1200u);
    EXPECT_EQ(ShowWindow(), nullptr);
    EXPECT_FALSE(show.Backend().ScreenShown());
  }
}

TEST_F(ShowSequencing, MiddleButtonAndSystemKeysLeaveTheShowAlone) {
  std::string package = Pack("", {R"("advance": "manual")", R"("advance": "manual")"});
  HeadlessShow show;
  show.Script("1000 click 100 100 middle; 1500 key f10; 2000 key x alt; 2500 key right; 3500 key escape");
  IndexesAt(show, {3000});
  EXPECT_EQ(show.Run(package), 0);
  EXPECT_GE(show.EndTime(), 3500u);
  EXPECT_EQ(Seen(), (std::vector<int>{1}));
}

TEST_F(ShowSequencing, EmptyTitleShowsNoCardEvenWithADescription) {
  std::string package =
      Pack(R"("title": "", "description": "Une description", "notice": "Notice")", {R"("advance": "manual")"});
  HeadlessShow show;
  bool started = false;
  uint32_t centre = 0;
  show.At(200, [&] {
    started = ShowWindow() && ShowWindow()->document;
    centre = show.Backend().LastFrame().Pixel(320, 240);
  });
  show.Script("500 key escape");
  EXPECT_EQ(show.Run(package), 0);
  EXPECT_TRUE(started);
  EXPECT_EQ(centre, 0xFF0000u);  // the slide's picture, stretched, no card over it
}

TEST_F(ShowSequencing, TheTitleCardComesBeforeTheFirstSlide) {
  std::string package = Pack(R"("title": "Vacances")", {R"("advance": "manual")"});
  HeadlessShow show;
  bool startedDuringCard = true, startedAfter = false;
  show.At(1500, [&] { startedDuringCard = ShowWindow() && ShowWindow()->document; });
  show.At(3500, [&] { startedAfter = ShowWindow() && ShowWindow()->document; });
  show.Script("4000 key escape");
  EXPECT_EQ(show.Run(package), 0);
  EXPECT_FALSE(startedDuringCard);
  EXPECT_TRUE(startedAfter);
}

TEST_F(ShowSequencing, WaitCursorOnlyWhileAKeyPreparesTheSlide) {
  std::string package = Pack("", {R"("duration": 1)", R"("duration": 1)", R"("advance": "manual")",
                                  R"("advance": "manual")"});
  HeadlessShow show;
  size_t beforeKey = 0, afterKey = 0, startLog = 0;
  show.At(500, [&] { startLog = show.Cursors().size(); });
  show.At(4000, [&] { beforeKey = show.Cursors().size(); });
  show.Script("4500 key right; 6000 key escape");
  show.At(5000, [&] { afterKey = show.Cursors().size(); });
  EXPECT_EQ(show.Run(package), 0);
  std::vector<CursorKind> cursors = show.Cursors();
  auto waits = [&](size_t from, size_t to) {
    return std::count(cursors.begin() + long(from), cursors.begin() + long(to), CursorKind::Wait);
  };
  EXPECT_EQ(waits(startLog, beforeKey), 0);  // two timer advances
  EXPECT_EQ(waits(beforeKey, afterKey), 1);  // one key advance
  // The wait cursor gives way to the hidden one again.
  EXPECT_EQ(cursors[afterKey - 1], CursorKind::None);
}

TEST_F(ShowSequencing, SoundEndAdvanceFollowsTheNextSlidesSoundMode) {
  std::string package =
      Pack(R"("loopShow": 0)", {R"("advance": "sound-end", "sound": "show-music")", R"("advance": "sound-end",
           "sound": "show-music")", R"("advance": "sound-end", "sound": "slide", "soundFile": "missing.wav", "embedSound": false)",
           R"("advance": "sound-end")"});
  HeadlessShow show;
  std::vector<int> replay;
  std::vector<int> index;
  auto ask = [&] {
    replay.push_back(ShowWindow()->SoundFinished());
    index.push_back(ShowWindow()->currentIndex);
  };
  // Slide 0 (music playing) -> 1 uses the music too: replay it.
  show.At(500, ask);
  // Slide 1 -> 2 plays its own sound: do not replay the music.
  show.At(1000, ask);
  // Slide 2 -> 3 wants the show's music, which is not the current sound.
  show.At(1500, ask);
  // The last slide without loop: nothing follows.
  show.At(2000, ask);
  show.At(2500, ask);
  show.Script("3000 key escape");
  EXPECT_EQ(show.Run(package), 0);
  EXPECT_EQ(replay, (std::vector<int>{1, 0, 0, 0, 0}));
  EXPECT_EQ(index, (std::vector<int>{0, 1, 2, 3, 3}));
}

TEST_F(ShowSequencing, SoundEndOnATimedSlideOnlyReplays) {
  std::string package = Pack("", {R"("duration": 30)", R"("duration": 30)"});
  HeadlessShow show;
  bool replay = false;
  int index = -1;
  show.At(500, [&] { replay = ShowWindow()->SoundFinished(); });
  show.At(900, [&] { index = ShowWindow()->currentIndex; });
  show.Script("1000 key escape");
  EXPECT_EQ(show.Run(package), 0);
  EXPECT_TRUE(replay);
  EXPECT_EQ(index, 0);
}

TEST_F(ShowSequencing, AShowWithoutSlidesShowsItsBackgroundUntilTheViewerEndsIt) {
  std::string package = test::PackShow(dir, R"({"background": {"kind": "colour", "plainColour": "#123456"}})");
  HeadlessShow show;
  uint32_t centre = 0;
  show.At(5000, [&] { centre = show.Backend().LastFrame().Pixel(320, 240); });
  show.Script("6000 key right; 7000 key end; 8000 key escape");
  EXPECT_EQ(show.Run(package), 0);
  EXPECT_GE(show.EndTime(), 8000u);
  EXPECT_EQ(centre, 0x123456u);
}

TEST_F(ShowSequencing, ABackgroundThatCannotBeBuiltLeavesTheSlidesOnBlack) {
  // A picture background without a picture builds nothing.
  std::string package = test::PackShow(
      dir, R"({"background": {"kind": "picture"}, "slides": [{"picture": "green.bmp", "fit": "none", "advance": "manual"}]})");
  HeadlessShow show;
  uint32_t corner = 1, centre = 0;
  show.At(1000, [&] {
    corner = show.Backend().LastFrame().Pixel(0, 0);
    centre = show.Backend().LastFrame().Pixel(320, 240);
  });
  show.Script("2000 key escape");
  EXPECT_EQ(show.Run(package), 0);
  EXPECT_EQ(corner, 0u);
  EXPECT_EQ(centre, 0x00FF00u);
}

TEST_F(ShowSequencing, OnA256ColourDisplayTheFramesPaletteIsRealisedWhole) {
  std::string package = test::PackShow(dir, R"({"background": {"kind": "gradient", "colourA": "#000000",
      "colourB": "#FF8040"}, "slides": [{"picture": "green.bmp", "advance": "manual", "transition": 6}]})");
  HeadlessShow show;
  SetScreenDepthOverride(8);
  bool matches = false, nostatic = false;
  show.At(2000, [&] {
    const CDIB& frame = ShowWindow()->currentFrame;
    ASSERT_EQ(DIBBitCount(frame.m_hDIB.data()), 8);
    ASSERT_EQ(frame.m_palette.Entries().size(), 256u);
    // Every pixel on screen is its frame's palette colour exactly.
    const uint8_t* bits = FindDIBBits(frame.m_hDIB.data());
    size_t stride = DIBStride(8, 640);
    const Surface& screen = show.Backend().LastFrame();
    matches = true;
    for (int y = 0; y < 480 && matches; y += 7)
      for (int x = 0; x < 640; x += 5) {
        const PaletteEntry& e = frame.m_palette.Entries()[bits[size_t(479 - y) * stride + size_t(x)]];
        if (screen.Pixel(x, y) != PixelFromRgb(e.red, e.green, e.blue)) {
          matches = false;
          break;
        }
      }
    nostatic = SystemPalette::Instance().Use() == SystemPaletteUse::NoStatic;
  });
  show.Script("3000 key escape");
  EXPECT_EQ(show.Run(package), 0);
  EXPECT_TRUE(matches);
  EXPECT_TRUE(nostatic);
  // The show's end gives the system its static colours back.
  EXPECT_EQ(SystemPalette::Instance().Use(), SystemPaletteUse::Static);
}

}  // namespace
}  // namespace pellora
