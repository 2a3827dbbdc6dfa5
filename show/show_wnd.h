// CShowWnd: the borderless window over the whole screen that plays the
// slides of the show document one after another. It keeps the show's
// background and the frame on screen, counts each slide's seconds with a
// one-second timer, and moves on by timer, at the end of a sound or with
// the navigation keys; any other key or a click ends the show.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "image/cdib.h"
#include "platform/ui/window.h"
#include "platform/video/video_bridge.h"

namespace pellora {

class CDiapoDoc;
class CShowSound;
class ShowHost;

// Navigation commands (WM_COMMAND identifiers).
enum : uint32_t { ID_SLIDE_FIRST = 33001, ID_SLIDE_PREV = 33002, ID_SLIDE_NEXT = 33003, ID_SLIDE_LAST = 33004 };

class CShowWnd : public CWnd {
 public:
  static constexpr uintptr_t kTimerId = 1;
  static constexpr uint32_t kTimerPeriodMs = 1000;
  // The sound mode no slide has: the first slide's sound always starts.
  static constexpr uint16_t kNoSoundMode = 10;

  // The host closes the program when the show ends; the sound is the one
  // the show starts and stops.
  CShowWnd(ShowHost& host, CShowSound& sound);
  ~CShowWnd() override;

  // Creates the hidden popup over the whole screen, owned by owner.
  bool CreateFullScreen(CWnd* owner);
  // The title card when the show has a title, then the background and the
  // first slide.
  void StartShow(CDiapoDoc* showDocument);
  void ShowSlide(int32_t index);
  // The current sound has ended: may post ID_SLIDE_NEXT; true when the
  // sound is to be played again.
  bool SoundFinished();
  void RealizeShowPalette(HWND cause);
  // Brings currentFrame onto the screen with an effect; returns when the
  // whole frame is on screen.
  void RunTransition(uint16_t effect);

  void OnSlideFirst();
  void OnSlidePrev();
  void OnSlideNext();
  void OnSlideLast();

  CDIB currentFrame;
  CDIB backgroundFrame;
  int32_t currentIndex = 0;
  HDRAWDIB drawDib = nullptr;
  CDiapoDoc* document = nullptr;
  int32_t slideCount = 0;
  uintptr_t timerId = 0;
  int32_t elapsedSeconds = 0;
  uint16_t currentSoundMode = 0;
  // Set while the window exists: starting sounds then shows no wait cursor.
  bool showActive = false;
  // Set by the key handler around a navigation key: preparing the slide
  // then shows the wait cursor.
  bool keyNavigation = false;

 protected:
  int OnCreate() override;
  void OnDestroy() override;
  void OnPaint() override;
  bool OnSetCursor(CWnd* window, uint32_t hitTest, uint32_t message) override;
  void OnActivate(uint32_t state, CWnd* other, bool minimized) override;
  void OnTimer(uintptr_t id) override;
  void OnKeyDown(uint32_t key, uint32_t repeat, uint32_t flags) override;
  void OnLButtonDown(uint32_t flags, Point point) override;
  void OnRButtonDown(uint32_t flags, Point point) override;
  void OnLButtonDblClk(uint32_t flags, Point point) override;
  bool OnCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  void MakeBackgroundFrame();
  // The slide after the current one, if the show goes on.
  std::optional<int32_t> NextIndex() const;
  // False when an embedded sound could not be handed to playback (no
  // temporary file could take it); a file that then fails to play counts
  // as started, and the show waits for the viewer as it always has.
  bool StartSound(const std::string& name, const GlobalBlock& data, uint32_t size, bool loop);

  ShowHost& host_;
  CShowSound& sound_;
  VideoBridge& bridge_;
};

}  // namespace pellora
