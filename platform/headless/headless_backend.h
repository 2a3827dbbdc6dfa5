// The headless backend: a software screen of a chosen size, a virtual
// clock that jumps ahead whenever the program waits, scripted input and
// message boxes written to standard error. It runs the whole player in
// tests in a fraction of real time.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/draw/surface.h"

namespace pellora {

struct WaveFormat;

class HeadlessBackend : public Backend {
 public:
  struct Options {
    Size screen{640, 480};
    // Virtual milliseconds after which the program is asked to end; 0 = never.
    uint64_t limitMs = 0;
    // Script lines "<ms> <action> [arguments]", separated by ';' or newlines:
    // key NAME [alt] | type TEXT | click X Y [left|right|middle|double] |
    // minimize | restore | shot FILE.png | quit
    std::string script;
    // Each presented frame advances the virtual clock by this much, as a
    // display synchronised to a 60 Hz refresh would.
    uint64_t frameMicros = 16667;
    // Message boxes drawn as dialogs over the screen (to be dismissed by
    // script) instead of only written to standard error.
    bool drawMessageBoxes = false;
    // False: no native message box can be shown, as on a desktop without
    // a window manager, so the platform draws its own.
    bool nativeMessageBoxes = true;
  };

  explicit HeadlessBackend(const Options& options);
  // A backend with the default options: what the programs and tests run
  // on until they install another (SetDefaultBackend).
  static std::unique_ptr<Backend> CreateDefault();
  // Reads PELLORA_HEADLESS_SIZE (WxH), PELLORA_HEADLESS_LIMIT (virtual ms),
  // PELLORA_HEADLESS_SCRIPT and PELLORA_HEADLESS_NATIVE_BOXES (0: none).
  static bool OptionsFromEnvironment(Options& options, std::string& error);
  // The simulated displays: PELLORA_HEADLESS_MONITORS, a comma-separated
  // list of WxH+X+Y, or one display of the headless screen's size.
  static bool MonitorsFromEnvironment(std::vector<Monitor>& monitors, std::string& error);
  // The backend on monitors[index] (or in a window of that size), with the
  // options of the environment: the system backend tables' factory.
  static std::unique_ptr<Backend> CreateForViewer(const std::vector<Monitor>& monitors, int index, Size window,
                                                  std::string& error);
  // Adds script lines; false with a reason when one cannot be parsed.
  bool AddScript(const std::string& script, std::string& error);

  const char* Name() const override { return "headless"; }
  Size ScreenSize() const override { return options_.screen; }
  uint64_t Now() override { return clockMicros_ / 1000; }
  void WaitForInput(uint64_t deadline) override;
  bool PollInput(InputEvent& event) override;
  void Wake() override {}
  void Present(const Surface& screen, const Rect& dirty) override;
  void HideScreen() override;
  void SetCursor(CursorKind cursor) override {
    cursor_ = cursor;
    if (onCursor) onCursor(cursor);
  }
  bool ShowMessageBox(const std::string& text, const std::string& caption, MessageBoxIcon icon) override;
  // Plays blocks in virtual time (HeadlessWaveOut).
  std::unique_ptr<WaveOut> CreateWaveOut() override;
  // Plays nothing, but reports each sound's end after its playing time in
  // virtual time (HeadlessMediaDevice).
  std::unique_ptr<MediaDevice> CreateMediaDevice() override;
  bool DrawsMessageBoxes() const override { return options_.drawMessageBoxes; }

  // For tests: input at a virtual time, actions run at a virtual time.
  void Schedule(uint64_t atMs, const InputEvent& event);
  void ScheduleAction(uint64_t atMs, std::function<void()> action);
  void AdvanceClock(uint64_t ms) { clockMicros_ += ms * 1000; }

  const Surface& LastFrame() const { return lastFrame_; }
  uint64_t PresentCount() const { return presentCount_; }
  bool ScreenShown() const { return screenShown_; }
  CursorKind Cursor() const { return cursor_; }
  const std::vector<std::string>& MessageBoxes() const { return messageBoxes_; }
  const std::vector<std::string>& MessageBoxCaptions() const { return messageBoxCaptions_; }
  // Called after each presented frame with the screen and the changed part.
  std::function<void(const Surface&, const Rect&)> onPresent;
  // Called with the bytes of each wave block once it has been played.
  std::function<void(const WaveFormat&, const uint8_t*, size_t)> onWaveData;
  // Called whenever the program sets the cursor.
  std::function<void(CursorKind)> onCursor;

 private:
  void RunDueEvents();
  uint64_t NextEventTime() const;

  Options options_;
  uint64_t clockMicros_ = 0;
  std::multimap<uint64_t, std::function<void()>> scheduled_;
  std::deque<InputEvent> ready_;
  Surface lastFrame_;
  uint64_t presentCount_ = 0;
  bool screenShown_ = false;
  bool quitSent_ = false;
  CursorKind cursor_ = CursorKind::Arrow;
  std::vector<std::string> messageBoxes_;
  std::vector<std::string> messageBoxCaptions_;
};

}  // namespace pellora
