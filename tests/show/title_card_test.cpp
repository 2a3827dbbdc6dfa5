// The title card of a show with a title, and the player's dialogs at the
// size of the screen: driven by scripted keys and clicks in virtual time.
#include <gtest/gtest.h>

#include <string>

#include "app/password_dlg.h"
#include "document/diapo_doc.h"
#include "platform/draw/screen.h"
#include "platform/draw/surface.h"
#include "platform/os/process_stats.h"
#include "platform/ui/dialog.h"
#include "platform/ui/dialog_controls.h"
#include "platform/ui/message_box.h"
#include "platform/ui/window.h"
#include "show/show_wnd.h"
#include "tests/support/show_harness.h"

namespace pellora {
namespace {

using test::HeadlessShow;

class TitleCard : public ::testing::Test {
 protected:
  std::string Pack(const std::string& fields) { return test::PackOneSlideShow(dir, fields); }
  test::TempDir dir;
};

TEST_F(TitleCard, TheCardClosesByItselfAtTheThirdTick) {
  std::string package = Pack(R"("title": "Vacances", "description": "Une semaine", "notice": "(c) 1997")");
  HeadlessShow show;
  auto during = test::ShowStartedAt(show, 2950);
  auto after = test::ShowStartedAt(show, 3100);
  show.Script("4000 key escape");
  EXPECT_EQ(show.Run(package), 0);
  EXPECT_FALSE(*during);
  EXPECT_TRUE(*after);
}

TEST_F(TitleCard, AClickOnTheTitleOrAKeyClosesTheCard) {
  std::string package = Pack(R"("title": "Vacances")");
  {
    HeadlessShow show;
    test::ClickOnActiveWindow(show, 1000, [](CWnd& w) { return static_cast<CDialog&>(w).GetDlgItem(1045)->GetRect(); });
    auto started = test::ShowStartedAt(show, 1200);
    show.Script("2000 key escape");
    EXPECT_EQ(show.Run(package), 0);
    EXPECT_TRUE(*started);
  }
  {
    HeadlessShow show;
    show.Script("1000 key space; 2000 key escape");
    auto started = test::ShowStartedAt(show, 1200);
    EXPECT_EQ(show.Run(package), 0);
    EXPECT_TRUE(*started);
    EXPECT_GE(show.EndTime(), 2000u);  // the key closed the card, not the show
  }
}

TEST_F(TitleCard, LongTextsCostNoMoreThanWhatTheCardAndTheBoxShow) {
  // A million characters in one word or in many, in each text of the card
  // and in a message box; laying out more than shows would take gigabytes.
  const std::string word(1000000, 'W');
  std::string words;
  while (words.size() < 1000000) words += "mot ";
  struct Case {
    const char* field;
    const std::string& text;
  };
  const Case kCases[] = {{"title", word},       {"title", words},  {"description", words},
                         {"description", word}, {"notice", word},  {"message", word},
                         {"message", words}};
  for (const Case& c : kCases) {
    bool message = std::string(c.field) == "message";
    std::string package = Pack(message ? std::string(R"("title": "")")
                                       : "\"" + std::string(c.field) + "\": \"" + c.text + "\"" +
                                             (std::string(c.field) == "title" ? "" : R"(, "title": "T")"));
    HeadlessShow show({640, 480}, true);
    if (message)
      show.At(500, [&c] { MessageBox(0, c.text, "Quorvel Pellora 1.0", MB_ICONERROR); });
    show.Script("1500 key return; 4000 key escape");
    uint64_t before = PeakResidentBytes();
    EXPECT_EQ(show.Run(package, 10000), 0);
    EXPECT_LT(PeakResidentBytes(), before + 48 * 1024 * 1024) << c.field << " of " << c.text.substr(0, 8) << "...";
  }
}

TEST_F(TitleCard, DenseScreensShowTheDialogsAtAWholeScale) {
  const struct {
    int lines, scale;
  } kScales[] = {{480, 1}, {1080, 1}, {1200, 1}, {1439, 1}, {1440, 2}, {2159, 2}, {2160, 3}, {2880, 4}};
  for (const auto& c : kScales) EXPECT_EQ(DialogScaleFor(c.lines), c.scale) << c.lines << " lines";

  // Measured on the screen: the grey of the dialog's face, from its frame's
  // outer top-left edge to its inner bottom-right one.
  struct Measure {
    Rect face;
    int fontHeight = 0;
  };
  auto measure = [this](const std::string& fields, Size screen) {
    std::string package = Pack(fields);
    HeadlessShow show(screen);
    auto m = std::make_shared<Measure>();
    show.At(1000, [&show, m] {
      const Surface& frame = show.Backend().LastFrame();
      Rect box{frame.width(), frame.height(), 0, 0};
      for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
          if (frame.Pixel(x, y) == 0xC0C0C0) box = {std::min(box.left, x), std::min(box.top, y),
                                                   std::max(box.right, x + 1), std::max(box.bottom, y + 1)};
      m->face = box;
      if (auto* dialog = dynamic_cast<CDialog*>(CWnd::GetActiveWindow())) m->fontHeight = dialog->DialogFont().Height();
    });
    show.Script("2000 key escape; 3000 key escape");
    show.Run(package, 5000);
    return *m;
  };
  for (const char* fields : {R"("title": "Vacances", "description": "Une semaine")", R"("password": "x")"}) {
    Measure small = measure(fields, {1280, 720}), large = measure(fields, {2560, 1440});
    ASSERT_GT(small.face.Width(), 100) << fields;
    EXPECT_EQ(large.face.Width(), 2 * small.face.Width()) << fields;
    EXPECT_EQ(large.face.Height(), 2 * small.face.Height()) << fields;
    // Centred on the screen as before.
    EXPECT_NEAR(large.face.left, 2 * small.face.left, 2) << fields;
    // The font is rasterised at the larger size.
    EXPECT_NEAR(large.fontHeight, 2 * small.fontHeight, 2) << fields;
  }
}


}  // namespace
}  // namespace pellora
