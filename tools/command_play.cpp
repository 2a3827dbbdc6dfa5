// pellora play [--window [WxH]] [--monitor N] FILE | pellora play --list-monitors
#include <cstdio>

#include "app/show_player_app.h"
#include "platform/backends/backends.h"
#include "tools/arguments.h"
#include "tools/command.h"
#include "tools/lib/show_input.h"

namespace pellora::tools {
namespace {

int ListDisplays() {
  std::vector<Monitor> monitors;
  std::string error;
  if (!ListMonitors(monitors, error)) return Fail(kExitBadFile, error);
  for (size_t i = 0; i < monitors.size(); ++i) {
    const Rect& r = monitors[i].bounds;
    std::printf("%zu: %dx%d at %d,%d%s%s\n", i + 1, r.Width(), r.Height(), r.left, r.top,
                monitors[i].name.empty() ? "" : " ", monitors[i].name.c_str());
  }
  return kExitOk;
}

}  // namespace

int RunPlay(const std::vector<std::string>& args) {
  ViewerOptions viewer;
  bool list = false;
  // --window takes its size only when one follows.
  std::vector<std::string> rest;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--window") {
      rest.push_back(args[i]);
      continue;
    }
    // Without a size, the window is the default one, made smaller on a
    // smaller display; a size given is the viewer's.
    viewer.window = {800, 600};
    viewer.fitWindow = true;
    if (i + 1 < args.size() && LooksLikeScreenSize(args[i + 1])) {
      if (std::string error = ParseScreenSize("--window", args[++i], viewer.window); !error.empty())
        return Fail(kExitUsage, "play: " + error);
      viewer.fitWindow = false;
    }
  }
  std::string file;
  ArgumentParser parser("play", "FILE");
  parser.Flag("--list-monitors", list).Value({"--monitor"}, [&viewer](const std::string&, const std::string& v) {
    char* end = nullptr;
    long n = std::strtol(v.c_str(), &end, 10);
    if (*end || n < 1 || n > 1000) return std::string("--monitor needs a display number from 1");
    viewer.monitor = int(n);
    return std::string();
  });
  if (auto error = parser.Parse(rest, file)) return Fail(kExitUsage, *error);
  if (list) return file.empty() ? ListDisplays() : Fail(kExitUsage, "play: --list-monitors takes no FILE");
  if (file.empty()) return Fail(kExitUsage, "play: usage: pellora play [--window [WxH]] [--monitor N] FILE");
  ShowInput input;
  std::string error;
  if (!input.Open(file, error)) return Fail(kExitBadFile, error);
  std::optional<int> status = PlayShow(ShowSource{input.Path(), input.Location().offset}, error, viewer);
  if (!status) return Fail(kExitBadFile, error);
  return *status;
}

}  // namespace pellora::tools
