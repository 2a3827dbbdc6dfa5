// pellora: the companion tool of the player (pack, info, play and the
// picture and music tools).
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>

#include "platform/headless/headless_backend.h"
#include "platform/os/file.h"
#include "platform/os/signals.h"
#include "tools/command.h"

namespace pellora::tools {
namespace {

// In the order a user meets them: playing and looking at shows, building
// them, then the music tools.
constexpr Command kCommands[] = {
    {"play", "[--window [WxH]] [--monitor N] FILE | --list-monitors",
     "plays a show file or description as the self-running player would", RunPlay},
    {"info", "FILE [--json]", "prints the show document and its slides", RunInfo},
    {"render", "FILE --out DIR [--size WxH] [--depth 24|8|4]",
     "writes background.png and one PNG per slide as the show puts them on screen", RunRender},
    {"new", "PHOTOS_DIR [-o SHOW.json] [--force] [--quiet]",
     "writes a show description of every picture in a folder, in the order they were taken", RunNew},
    {"pack", "SHOW.json|PHOTOS_DIR -o OUT [--bare] [--target linux|windows] [--player PATH] [--strict] [--quiet] [--max-size WxH] [--quality Q]",
     "builds a self-running show (or with --bare the package alone)", RunPack},
    {"unpack", "SHOW DIR [--quiet]",
     "writes a show's pictures, sounds and music into DIR with a show.json that packs them again", RunUnpack},
    {"modinfo", "FILE [--json]", "prints the module information report of a tracker module", RunModInfo},
    {"modrender", "FILE -o OUT.wav [--rate HZ] [--channels 1|2] [--bits 8|16]",
     "renders a tracker module to a WAV file through the player's engine and mixer", RunModRender},
};

void PrintCommandHelp(const Command& c) { std::printf("Usage: pellora %s %s\n%s\n", c.name, c.usage, c.summary); }

void PrintHelp(FILE* out) {
  std::fprintf(out, "Usage: pellora COMMAND [ARGUMENTS]\n\nCommands:\n");
  for (const Command& c : kCommands) std::fprintf(out, "  %-10s %s\n      %s\n", c.name, c.usage, c.summary);
  std::fprintf(out, "\nOptions: --help, --version\n");
}

}  // namespace

int Fail(int status, const std::string& message) {
  std::fprintf(stderr, "pellora: %s\n", message.c_str());
  return status;
}

}  // namespace pellora::tools

int main(int argc, char** argv) {
  using namespace pellora::tools;
  // The commands that draw, mix or measure without a display of their own
  // do it on the headless backend.
  pellora::SetDefaultBackend(&pellora::HeadlessBackend::CreateDefault);
  std::vector<std::string> arguments = pellora::ProgramArguments(argc, argv);
  if (arguments.size() < 2) {
    PrintHelp(stderr);
    return kExitUsage;
  }
  std::string name = arguments[1];
  if (name == "--help" || name == "-h" || (name == "help" && arguments.size() == 2)) {
    PrintHelp(stdout);
    return kExitOk;
  }
  if (name == "help") {
    for (const Command& c : kCommands)
      if (arguments[2] == c.name && arguments.size() == 3) {
        PrintCommandHelp(c);
        return kExitOk;
      }
    return Fail(kExitUsage, "help: no command \"" + arguments[2] + "\" (see pellora --help)");
  }
  if (name == "--version") {
    std::printf("pellora 1.0 (Quorvel Pellora 1.0)\n");
    return kExitOk;
  }
  for (const Command& c : kCommands) {
    if (name != c.name) continue;
    std::vector<std::string> args(arguments.begin() + 2, arguments.end());
    for (const std::string& a : args)
      if (a == "--help" || a == "-h") {
        PrintCommandHelp(c);
        return kExitOk;
      }
    // Without a message loop to end them normally, the other commands end
    // at a termination signal, deleting their temporary files.
    std::optional<pellora::TerminationSignals> signals;
    if (c.run != RunPlay) signals.emplace(0);
    // Whatever a command meets, it ends with a message and a status.
    try {
      return c.run(args);
    } catch (const std::exception& e) {
      return Fail(kExitBadFile, std::string(c.name) + ": " + e.what());
    } catch (...) {
      return Fail(kExitBadFile, std::string(c.name) + ": unexpected failure");
    }
  }
  return Fail(kExitUsage, "unknown command \"" + name + "\" (see pellora --help)");
}
