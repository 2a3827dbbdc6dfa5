#include "platform/headless/headless_backend.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "platform/draw/png_writer.h"
#include "platform/headless/headless_media_device.h"
#include "platform/headless/headless_wave_out.h"
#include "platform/ui/messages.h"

namespace pellora {
namespace {

struct KeyName {
  const char* name;
  uint32_t key;
};
const KeyName kKeys[] = {
    {"escape", VK_ESCAPE}, {"return", VK_RETURN}, {"enter", VK_RETURN}, {"space", VK_SPACE},
    {"home", VK_HOME},     {"end", VK_END},       {"left", VK_LEFT},     {"right", VK_RIGHT},
    {"up", VK_UP},         {"down", VK_DOWN},     {"pageup", VK_PRIOR},  {"pagedown", VK_NEXT},
    {"shift", VK_SHIFT},   {"ctrl", VK_CONTROL},  {"control", VK_CONTROL}, {"alt", VK_MENU},
    {"tab", VK_TAB},       {"backspace", VK_BACK}, {"delete", VK_DELETE}, {"insert", VK_INSERT},
};

std::string Lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool ParseKey(const std::string& name, uint32_t& key) {
  std::string n = Lower(name);
  for (const KeyName& k : kKeys)
    if (n == k.name) {
      key = k.key;
      return true;
    }
  if (n.size() == 1 && std::isalnum(static_cast<unsigned char>(n[0]))) {
    key = uint32_t(std::toupper(static_cast<unsigned char>(n[0])));
    return true;
  }
  if (n.size() >= 2 && n[0] == 'f') {
    int f = std::atoi(n.c_str() + 1);
    if (f >= 1 && f <= 12) {
      key = VK_F1 + uint32_t(f - 1);
      return true;
    }
  }
  return false;
}

uint32_t KeyForChar(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  if (std::isalnum(u)) return uint32_t(std::toupper(u));
  if (c == ' ') return VK_SPACE;
  return 0;
}

}  // namespace

HeadlessBackend::HeadlessBackend(const Options& options) : options_(options) {
  std::string error;
  if (!options_.script.empty() && !AddScript(options_.script, error))
    std::fprintf(stderr, "headless: %s\n", error.c_str());
}

bool HeadlessBackend::OptionsFromEnvironment(Options& options, std::string& error) {
  if (const char* size = std::getenv("PELLORA_HEADLESS_SIZE"); size && *size) {
    int w = 0, h = 0;
    if (std::sscanf(size, "%dx%d", &w, &h) != 2 || w <= 0 || h <= 0 || w > 16384 || h > 16384) {
      error = std::string("PELLORA_HEADLESS_SIZE must be WIDTHxHEIGHT, not \"") + size + "\"";
      return false;
    }
    options.screen = {w, h};
  }
  if (const char* limit = std::getenv("PELLORA_HEADLESS_LIMIT"); limit && *limit)
    options.limitMs = std::strtoull(limit, nullptr, 10);
  if (const char* script = std::getenv("PELLORA_HEADLESS_SCRIPT")) options.script = script;
  if (const char* native = std::getenv("PELLORA_HEADLESS_NATIVE_BOXES"); native && *native)
    options.nativeMessageBoxes = std::strcmp(native, "0") != 0;
  return true;
}

std::unique_ptr<Backend> HeadlessBackend::CreateDefault() { return std::make_unique<HeadlessBackend>(Options{}); }

std::unique_ptr<Backend> HeadlessBackend::CreateForViewer(const std::vector<Monitor>& monitors, int index,
                                                          Size window, std::string& error) {
  Options options;
  if (!OptionsFromEnvironment(options, error)) return nullptr;
  const Rect& chosen = monitors[size_t(index)].bounds;
  options.screen = window.cx > 0 ? window : Size{chosen.Width(), chosen.Height()};
  return std::make_unique<HeadlessBackend>(options);
}

bool HeadlessBackend::MonitorsFromEnvironment(std::vector<Monitor>& monitors, std::string& error) {
  monitors.clear();
  const char* list = std::getenv("PELLORA_HEADLESS_MONITORS");
  if (!list || !*list) {
    Options options;
    if (!OptionsFromEnvironment(options, error)) return false;
    monitors.push_back({"headless", {0, 0, options.screen.cx, options.screen.cy}});
    return true;
  }
  std::istringstream entries(list);
  std::string entry;
  while (std::getline(entries, entry, ',')) {
    int w = 0, h = 0, x = 0, y = 0;
    char tail = 0;
    if (std::sscanf(entry.c_str(), "%dx%d%d%d%c", &w, &h, &x, &y, &tail) != 4 || w <= 0 || h <= 0 || w > 16384 ||
        h > 16384 || monitors.size() >= 16) {
      error = "PELLORA_HEADLESS_MONITORS must list WxH+X+Y, not \"" + entry + "\"";
      return false;
    }
    monitors.push_back({"headless " + std::to_string(monitors.size() + 1), {x, y, x + w, y + h}});
  }
  return true;
}

bool HeadlessBackend::AddScript(const std::string& script, std::string& error) {
  std::string normalised = script;
  for (char& c : normalised)
    if (c == ';') c = '\n';
  std::istringstream lines(normalised);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string when, verb;
    if (!(words >> when)) continue;
    char* end = nullptr;
    uint64_t at = std::strtoull(when.c_str(), &end, 10);
    if (!end || *end || !(words >> verb)) {
      error = "bad script line \"" + line + "\"";
      return false;
    }
    verb = Lower(verb);
    if (verb == "key") {
      std::string name, modifier;
      words >> name >> modifier;
      InputEvent e;
      if (!ParseKey(name, e.key)) {
        error = "unknown key \"" + name + "\"";
        return false;
      }
      e.alt = Lower(modifier) == "alt";
      Schedule(at, e);
      e.kind = InputEvent::Kind::KeyUp;
      Schedule(at, e);
    } else if (verb == "type") {
      std::string text;
      std::getline(words, text);
      if (!text.empty() && text[0] == ' ') text.erase(0, 1);
      for (char c : text) {
        InputEvent down;
        down.key = KeyForChar(c);
        if (down.key) Schedule(at, down);
        InputEvent ch;
        ch.kind = InputEvent::Kind::Char;
        ch.character = c;
        Schedule(at, ch);
        if (down.key) {
          down.kind = InputEvent::Kind::KeyUp;
          Schedule(at, down);
        }
      }
    } else if (verb == "click") {
      InputEvent e;
      std::string button;
      if (!(words >> e.point.x >> e.point.y)) {
        error = "click needs X and Y";
        return false;
      }
      words >> button;
      button = Lower(button);
      e.kind = InputEvent::Kind::MouseDown;
      if (button == "right") e.button = MouseButton::Right;
      else if (button == "middle") e.button = MouseButton::Middle;
      else if (button == "double") e.doubleClick = true;
      Schedule(at, e);
      e.kind = InputEvent::Kind::MouseUp;
      Schedule(at, e);
    } else if (verb == "minimize" || verb == "restore" || verb == "quit") {
      InputEvent e;
      e.kind = verb == "minimize" ? InputEvent::Kind::Minimized
               : verb == "restore" ? InputEvent::Kind::Restored
                                   : InputEvent::Kind::Quit;
      Schedule(at, e);
    } else if (verb == "shot") {
      std::string path;
      words >> path;
      ScheduleAction(at, [this, path] {
        if (!WritePng(path, lastFrame_)) std::fprintf(stderr, "headless: cannot write %s\n", path.c_str());
      });
    } else {
      error = "unknown script action \"" + verb + "\"";
      return false;
    }
  }
  return true;
}

void HeadlessBackend::Schedule(uint64_t atMs, const InputEvent& event) {
  ScheduleAction(atMs, [this, event] { ready_.push_back(event); });
}

void HeadlessBackend::ScheduleAction(uint64_t atMs, std::function<void()> action) {
  scheduled_.emplace(atMs * 1000, std::move(action));
}

uint64_t HeadlessBackend::NextEventTime() const {
  uint64_t next = scheduled_.empty() ? UINT64_MAX : scheduled_.begin()->first;
  if (options_.limitMs && !quitSent_) next = std::min(next, options_.limitMs * 1000);
  return next;
}

void HeadlessBackend::RunDueEvents() {
  while (!scheduled_.empty() && scheduled_.begin()->first <= clockMicros_) {
    auto action = std::move(scheduled_.begin()->second);
    scheduled_.erase(scheduled_.begin());
    action();
  }
  if (options_.limitMs && !quitSent_ && clockMicros_ >= options_.limitMs * 1000) {
    quitSent_ = true;
    InputEvent quit;
    quit.kind = InputEvent::Kind::Quit;
    ready_.push_back(quit);
  }
}

void HeadlessBackend::WaitForInput(uint64_t deadline) {
  RunDueEvents();
  if (!ready_.empty()) return;
  uint64_t target = std::min<uint64_t>(deadline == UINT64_MAX ? UINT64_MAX : deadline * 1000, NextEventTime());
  if (target == UINT64_MAX) {
    // Nothing will ever happen again: end instead of hanging.
    InputEvent quit;
    quit.kind = InputEvent::Kind::Quit;
    ready_.push_back(quit);
    return;
  }
  if (target > clockMicros_) clockMicros_ = target;
  RunDueEvents();
}

bool HeadlessBackend::PollInput(InputEvent& event) {
  RunDueEvents();
  if (ready_.empty()) return false;
  event = ready_.front();
  ready_.pop_front();
  return true;
}

void HeadlessBackend::Present(const Surface& screen, const Rect& dirty) {
  lastFrame_ = screen;
  screenShown_ = true;
  ++presentCount_;
  clockMicros_ += options_.frameMicros;
  if (onPresent) onPresent(screen, dirty);
}

void HeadlessBackend::HideScreen() { screenShown_ = false; }

bool HeadlessBackend::ShowMessageBox(const std::string& text, const std::string& caption, MessageBoxIcon) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  if (!options_.nativeMessageBoxes) return false;
  messageBoxes_.push_back(text);
  messageBoxCaptions_.push_back(caption);
  return true;
}

std::unique_ptr<WaveOut> HeadlessBackend::CreateWaveOut() { return std::make_unique<HeadlessWaveOut>(*this); }

std::unique_ptr<MediaDevice> HeadlessBackend::CreateMediaDevice() { return std::make_unique<HeadlessMediaDevice>(*this); }

}  // namespace pellora
