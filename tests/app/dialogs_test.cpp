// The password lock and the title card, driven by scripted keys and clicks
// in virtual time.
#include <gtest/gtest.h>

#include <string>

#include "app/password_dlg.h"
#include "document/diapo_doc.h"
#include "platform/dialog.h"
#include "platform/app.h"
#include "platform/dialog_controls.h"
#include "platform/process_stats.h"
#include "platform/screen.h"
#include "platform/surface.h"
#include "platform/window.h"
#include "show/show_wnd.h"
#include "tests/support/show_harness.h"

namespace pellora {
namespace {

using test::HeadlessShow;
using test::ShowWindow;

const char kRefused[] = "Mot de passe incorrect. Accès au diaporama refusé.";
const char kTooLong[] = "Please enter no more than 20 characters.";

class Dialogs : public ::testing::Test {
 protected:
  std::string Pack(const std::string& fields) {
    test::WriteFile(dir.File("red.bmp"), test::SolidBmp(16, 16, 255, 0, 0));
    return test::PackShow(dir, "{" + fields + R"(, "slides": [{"picture": "red.bmp", "advance": "manual"}]})");
  }
  // Whether the show had started at a time.
  std::shared_ptr<bool> StartedAt(HeadlessShow& show, uint64_t ms) {
    auto started = std::make_shared<bool>(false);
    show.At(ms, [started] { *started = ShowWindow() && ShowWindow()->document; });
    return started;
  }
  // The screen point at the middle of a rectangle of the active window's
  // client area, found when the action runs.
  void ClickOnActive(HeadlessShow& show, uint64_t ms, std::function<Rect(CWnd&)> where) {
    show.At(ms, [&show, where] {
      CWnd* active = CWnd::GetActiveWindow();
      ASSERT_NE(active, nullptr);
      Rect r = where(*active);
      Rect w = active->GetWindowRect();
      Point o = active->ClientOrigin();
      InputEvent e;
      e.kind = InputEvent::Kind::MouseDown;
      e.point = {w.left + o.x + (r.left + r.right) / 2, w.top + o.y + (r.top + r.bottom) / 2};
      show.Backend().Schedule(show.Backend().Now() + 10, e);
      e.kind = InputEvent::Kind::MouseUp;
      show.Backend().Schedule(show.Backend().Now() + 20, e);
    });
  }
  test::TempDir dir;
};

TEST_F(Dialogs, TheRightPasswordOpensTheShow) {
  std::string package = Pack(R"("password": "Secret")");
  HeadlessShow show;
  show.Script("500 type Secret; 600 key return; 2000 key escape");
  auto started = StartedAt(show, 1000);
  EXPECT_EQ(show.Run(package), 0);
  EXPECT_TRUE(*started);
  EXPECT_TRUE(show.Backend().MessageBoxes().empty());
}

TEST_F(Dialogs, APasswordInAnotherCaseIsRefusedOnce) {
  std::string package = Pack(R"("password": "Secret")");
  HeadlessShow show;
  show.Script("500 type secret; 600 key return; 5000 type Secret; 5100 key return");
  auto started = StartedAt(show, 1000);
  EXPECT_EQ(show.Run(package), 0);
  EXPECT_FALSE(*started);
  ASSERT_EQ(show.Backend().MessageBoxes().size(), 1u);
  EXPECT_EQ(show.Backend().MessageBoxes()[0], kRefused);
  EXPECT_LT(show.EndTime(), 1000u);  // no second attempt
}

TEST_F(Dialogs, EnterWithNothingTypedIsRefused) {
  std::string package = Pack(R"("password": "x")");
  HeadlessShow show;
  show.Script("500 key return");
  EXPECT_EQ(show.Run(package), 0);
  ASSERT_EQ(show.Backend().MessageBoxes().size(), 1u);
  EXPECT_EQ(show.Backend().MessageBoxes()[0], kRefused);
}

TEST_F(Dialogs, TwentyOneCharactersGiveTheLengthMessageAndTheDialogStays) {
  std::string package = Pack(R"("password": "abcdefghijklmnopqrst")");
  HeadlessShow show;
  // After the message the text is selected: typing replaces it.
  show.Script("500 type abcdefghijklmnopqrstu; 600 key return; 1000 type abcdefghijklmnopqrst; 1100 key return; "
              "3000 key escape");
  auto openAfterMessage = std::make_shared<bool>(false);
  show.At(800, [openAfterMessage] {
    auto* dialog = dynamic_cast<CPasswordDlg*>(CWnd::GetActiveWindow());
    *openAfterMessage = dialog && dialog->FocusedControl() &&
                        dialog->FocusedControl()->GetDlgCtrlID() == IDC_PASSWORD &&
                        static_cast<CEditControl*>(dialog->FocusedControl())->SelStart() == 0 &&
                        static_cast<CEditControl*>(dialog->FocusedControl())->SelEnd() == 21;
  });
  auto started = StartedAt(show, 2000);
  EXPECT_EQ(show.Run(package), 0);
  EXPECT_TRUE(*openAfterMessage);
  ASSERT_EQ(show.Backend().MessageBoxes().size(), 1u);
  EXPECT_EQ(show.Backend().MessageBoxes()[0], kTooLong);
  EXPECT_TRUE(*started);  // exactly twenty characters are compared
}

TEST_F(Dialogs, EscapeAndTheCloseBoxCancelWithoutAMessage) {
  std::string package = Pack(R"("password": "x")");
  {
    HeadlessShow show;
    show.Script("500 type x; 600 key escape; 5000 key return");
    EXPECT_EQ(show.Run(package), 0);
    EXPECT_TRUE(show.Backend().MessageBoxes().empty());
    EXPECT_LT(show.EndTime(), 1000u);
  }
  {
    HeadlessShow show;
    show.Script("500 type x");
    ClickOnActive(show, 600, [](CWnd& w) { return static_cast<CDialog&>(w).CloseBoxRect(); });
    auto started = StartedAt(show, 2000);
    EXPECT_EQ(show.Run(package, 5000), 0);
    EXPECT_FALSE(*started);
    EXPECT_TRUE(show.Backend().MessageBoxes().empty());
    EXPECT_LT(show.EndTime(), 1000u);
  }
}

TEST_F(Dialogs, TheButtonsWorkWithTheMouseAndTheKeyboard) {
  std::string package = Pack(R"("password": "ab")");
  {
    HeadlessShow show;
    show.Script("500 type ab");
    ClickOnActive(show, 600, [](CWnd& w) { return static_cast<CDialog&>(w).GetDlgItem(IDOK)->GetRect(); });
    auto started = StartedAt(show, 1000);
    show.Script("1500 key escape");
    EXPECT_EQ(show.Run(package), 0);
    EXPECT_TRUE(*started);
  }
  {
    // Tab to OK, Tab to Annuler, Enter presses the focused button.
    HeadlessShow show;
    show.Script("500 type ab; 600 key tab; 700 key tab; 800 key return");
    auto started = StartedAt(show, 1000);
    EXPECT_EQ(show.Run(package, 5000), 0);
    EXPECT_FALSE(*started);
    EXPECT_TRUE(show.Backend().MessageBoxes().empty());
  }
}

TEST_F(Dialogs, TheCardClosesByItselfAtTheThirdTick) {
  std::string package = Pack(R"("title": "Vacances", "description": "Une semaine", "notice": "(c) 1997")");
  HeadlessShow show;
  auto during = StartedAt(show, 2950);
  auto after = StartedAt(show, 3100);
  show.Script("4000 key escape");
  EXPECT_EQ(show.Run(package), 0);
  EXPECT_FALSE(*during);
  EXPECT_TRUE(*after);
}

TEST_F(Dialogs, AClickOnTheTitleOrAKeyClosesTheCard) {
  std::string package = Pack(R"("title": "Vacances")");
  {
    HeadlessShow show;
    ClickOnActive(show, 1000, [](CWnd& w) { return static_cast<CDialog&>(w).GetDlgItem(1045)->GetRect(); });
    auto started = StartedAt(show, 1200);
    show.Script("2000 key escape");
    EXPECT_EQ(show.Run(package), 0);
    EXPECT_TRUE(*started);
  }
  {
    HeadlessShow show;
    show.Script("1000 key space; 2000 key escape");
    auto started = StartedAt(show, 1200);
    EXPECT_EQ(show.Run(package), 0);
    EXPECT_TRUE(*started);
    EXPECT_GE(show.EndTime(), 2000u);  // the key closed the card, not the show
  }
}

TEST_F(Dialogs, DrawnMessageBoxesWaitForTheViewer) {
  std::string package = Pack(R"("password": "ab", "title": "T")");
  HeadlessShow show({640, 480}, true);
  // The length message is dismissed with Enter, the refusal with Escape.
  show.Script("500 type abcdefghijklmnopqrstuvwxyz; 600 key return; 1000 key return; 1500 type zz; "
              "1600 key return; 3000 key escape");
  auto boxShown = std::make_shared<bool>(false);
  show.At(2000, [boxShown] { *boxShown = dynamic_cast<CDialog*>(CWnd::GetActiveWindow()) != nullptr; });
  EXPECT_EQ(show.Run(package, 10000), 0);
  EXPECT_TRUE(*boxShown);
  EXPECT_EQ(show.Backend().MessageBoxes().size(), 0u);  // drawn, not native
  EXPECT_GE(show.EndTime(), 3000u);
  EXPECT_LT(show.EndTime(), 3500u);
}

TEST_F(Dialogs, LongTextsCostNoMoreThanWhatTheCardAndTheBoxShow) {
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

TEST_F(Dialogs, DenseScreensShowTheDialogsAtAWholeScale) {
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

TEST_F(Dialogs, TheDrawnLoadErrorBoxWaitsForEnterEscapeOrAnyClick) {
  std::string package = Pack(R"("title": "")");
  std::string damaged = dir.File("damaged");
  test::WriteFile(damaged, test::ReadFile(package).substr(0, 100));
  // The clicks land beside the box, on the black screen, with each button.
  for (const char* answer : {"key return", "key escape", "click 2 2", "click 2 2 right", "click 638 478 middle"}) {
    HeadlessShow show({640, 480}, false, false);
    show.Script(std::string("1000 ") + answer);
    auto boxShown = std::make_shared<bool>(false);
    show.At(900, [boxShown] { *boxShown = dynamic_cast<CDialog*>(CWnd::GetActiveWindow()) != nullptr; });
    EXPECT_EQ(show.Run(damaged, 5000), 1) << answer;
    EXPECT_TRUE(*boxShown) << answer;
    EXPECT_TRUE(show.Backend().MessageBoxes().empty()) << answer;  // drawn, no native box
    EXPECT_GE(show.EndTime(), 1000u) << answer;
    EXPECT_LT(show.EndTime(), 1500u) << answer;
  }
}

}  // namespace
}  // namespace pellora
