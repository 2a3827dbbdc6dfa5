// The password lock of a locked show and the player's own message boxes
// (the refusal, the framework's length message, the load error), driven
// by scripted keys and clicks in virtual time.
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
using test::ShowWindow;

const char kRefused[] = "Mot de passe incorrect. Accès au diaporama refusé.";
const char kTooLong[] = "Please enter no more than 20 characters.";

class PasswordLock : public ::testing::Test {
 protected:
  std::string Pack(const std::string& fields) { return test::PackOneSlideShow(dir, fields); }
  test::TempDir dir;
};

TEST_F(PasswordLock, TheRightPasswordOpensTheShow) {
  std::string package = Pack(R"("password": "Secret")");
  HeadlessShow show;
  show.Script("500 type Secret; 600 key return; 2000 key escape");
  auto started = test::ShowStartedAt(show, 1000);
  EXPECT_EQ(show.Run(package), 0);
  EXPECT_TRUE(*started);
  EXPECT_TRUE(show.Backend().MessageBoxes().empty());
}

TEST_F(PasswordLock, APasswordInAnotherCaseIsRefusedOnce) {
  std::string package = Pack(R"("password": "Secret")");
  HeadlessShow show;
  show.Script("500 type secret; 600 key return; 5000 type Secret; 5100 key return");
  auto started = test::ShowStartedAt(show, 1000);
  EXPECT_EQ(show.Run(package), 1);
  EXPECT_FALSE(*started);
  ASSERT_EQ(show.Backend().MessageBoxes().size(), 1u);
  EXPECT_EQ(show.Backend().MessageBoxes()[0], kRefused);
  EXPECT_LT(show.EndTime(), 1000u);  // no second attempt
}

TEST_F(PasswordLock, EnterWithNothingTypedIsRefused) {
  std::string package = Pack(R"("password": "x")");
  HeadlessShow show;
  show.Script("500 key return");
  EXPECT_EQ(show.Run(package), 1);
  ASSERT_EQ(show.Backend().MessageBoxes().size(), 1u);
  EXPECT_EQ(show.Backend().MessageBoxes()[0], kRefused);
}

TEST_F(PasswordLock, TwentyOneCharactersGiveTheLengthMessageAndTheDialogStays) {
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
  auto started = test::ShowStartedAt(show, 2000);
  EXPECT_EQ(show.Run(package), 0);
  EXPECT_TRUE(*openAfterMessage);
  ASSERT_EQ(show.Backend().MessageBoxes().size(), 1u);
  EXPECT_EQ(show.Backend().MessageBoxes()[0], kTooLong);
  EXPECT_TRUE(*started);  // exactly twenty characters are compared
}

TEST_F(PasswordLock, EscapeAndTheCloseBoxCancelWithoutAMessage) {
  std::string package = Pack(R"("password": "x")");
  {
    HeadlessShow show;
    show.Script("500 type x; 600 key escape; 5000 key return");
    EXPECT_EQ(show.Run(package), 1);
    EXPECT_TRUE(show.Backend().MessageBoxes().empty());
    EXPECT_LT(show.EndTime(), 1000u);
  }
  {
    HeadlessShow show;
    show.Script("500 type x");
    test::ClickOnActiveWindow(show, 600, [](CWnd& w) { return static_cast<CDialog&>(w).CloseBoxRect(); });
    auto started = test::ShowStartedAt(show, 2000);
    EXPECT_EQ(show.Run(package, 5000), 1);
    EXPECT_FALSE(*started);
    EXPECT_TRUE(show.Backend().MessageBoxes().empty());
    EXPECT_LT(show.EndTime(), 1000u);
  }
}

TEST_F(PasswordLock, TheButtonsWorkWithTheMouseAndTheKeyboard) {
  std::string package = Pack(R"("password": "ab")");
  {
    HeadlessShow show;
    show.Script("500 type ab");
    test::ClickOnActiveWindow(show, 600, [](CWnd& w) { return static_cast<CDialog&>(w).GetDlgItem(IDOK)->GetRect(); });
    auto started = test::ShowStartedAt(show, 1000);
    show.Script("1500 key escape");
    EXPECT_EQ(show.Run(package), 0);
    EXPECT_TRUE(*started);
  }
  {
    // Tab to OK, Tab to Annuler, Enter presses the focused button.
    HeadlessShow show;
    show.Script("500 type ab; 600 key tab; 700 key tab; 800 key return");
    auto started = test::ShowStartedAt(show, 1000);
    EXPECT_EQ(show.Run(package, 5000), 1);
    EXPECT_FALSE(*started);
    EXPECT_TRUE(show.Backend().MessageBoxes().empty());
  }
}

TEST_F(PasswordLock, DrawnMessageBoxesWaitForTheViewer) {
  std::string package = Pack(R"("password": "ab", "title": "T")");
  HeadlessShow show({640, 480}, true);
  // The length message is dismissed with Enter, the refusal with Escape.
  show.Script("500 type abcdefghijklmnopqrstuvwxyz; 600 key return; 1000 key return; 1500 type zz; "
              "1600 key return; 3000 key escape");
  auto boxShown = std::make_shared<bool>(false);
  show.At(2000, [boxShown] { *boxShown = dynamic_cast<CDialog*>(CWnd::GetActiveWindow()) != nullptr; });
  EXPECT_EQ(show.Run(package, 10000), 1);
  EXPECT_TRUE(*boxShown);
  EXPECT_EQ(show.Backend().MessageBoxes().size(), 0u);  // drawn, not native
  EXPECT_GE(show.EndTime(), 3000u);
  EXPECT_LT(show.EndTime(), 3500u);
}

TEST_F(PasswordLock, TheDrawnLoadErrorBoxWaitsForEnterEscapeOrAnyClick) {
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
