// Running the player in-process on the headless backend: packing a show
// from a description written by the test, playing it in virtual time with
// scripted input, and looking at the show window while it plays.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "tests/support/test_support.h"

namespace pellora {
class CMainFrame;
class CWnd;
class CShowWnd;
}

namespace pellora::test {

// A 24-bit BMP file of one colour.
std::string SolidBmp(int width, int height, uint8_t red, uint8_t green, uint8_t blue);

// Packs the JSON description (written as show.json in dir, beside the
// files it names) into a bare package; returns its path, or "" after
// reporting a test failure.
std::string PackShow(const TempDir& dir, const std::string& json);

// One run of the player. The backend lives from construction to the end
// of Run; the platform's windows and palette are reset afterwards.
class HeadlessShow {
 public:
  explicit HeadlessShow(Size screen = {640, 480}, bool drawMessageBoxes = false, bool nativeMessageBoxes = true);
  ~HeadlessShow();
  HeadlessShow(const HeadlessShow&) = delete;
  HeadlessShow& operator=(const HeadlessShow&) = delete;

  HeadlessBackend& Backend() { return *backend_; }
  // Script lines as PELLORA_HEADLESS_SCRIPT takes them.
  void Script(const std::string& lines);
  // Runs an action at a virtual time while the show plays.
  void At(uint64_t ms, std::function<void()> action);
  // Plays the package; the player's exit status.
  int Run(const std::string& packagePath, uint64_t limitMs = 120000);
  // The video drawing library the player loads; empty: the system's.
  std::string videoLibrary;
  // Every cursor the player set, in order.
  const std::vector<CursorKind>& Cursors() const { return cursors_; }
  uint64_t EndTime() const { return endTime_; }

 private:
  HeadlessBackend* backend_;
  std::vector<CursorKind> cursors_;
  uint64_t endTime_ = 0;
};

// A show of one red slide that waits for the viewer, with the given
// description fields ("\"title\": \"T\"", for one), packed in dir.
std::string PackOneSlideShow(const TempDir& dir, const std::string& fields);
// Whether the show had started (the show window holds the document) at a
// virtual time.
std::shared_ptr<bool> ShowStartedAt(HeadlessShow& show, uint64_t ms);
// A click at the middle of a rectangle of the active window's client area
// (found when the action runs at ms).
void ClickOnActiveWindow(HeadlessShow& show, uint64_t ms, std::function<Rect(CWnd&)> where);

// The main frame of the running player, or null.
CMainFrame* MainFrame();
// The show window of the running player, or null.
CShowWnd* ShowWindow();

}  // namespace pellora::test
