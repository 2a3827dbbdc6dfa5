// pellora: the companion tool of the player (pack, info, play and the
// picture and music tools).
#include <cstdio>
#include <cstring>

#include "tools/command.h"

namespace pellora::tools {
namespace {

std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}

void PrintHelp(FILE* out) {
  std::fprintf(out, "Usage: pellora COMMAND [ARGUMENTS]\n\nCommands:\n");
  for (const Command& c : Commands()) std::fprintf(out, "  %-10s %s\n      %s\n", c.name, c.usage, c.summary);
  std::fprintf(out, "\nOptions: --help, --version\n");
}

}  // namespace

CommandRegistration::CommandRegistration(const Command& command) { Registry().push_back(command); }

const std::vector<Command>& Commands() { return Registry(); }

int Fail(int status, const std::string& message) {
  std::fprintf(stderr, "pellora: %s\n", message.c_str());
  return status;
}

}  // namespace pellora::tools

int main(int argc, char** argv) {
  using namespace pellora::tools;
  if (argc < 2) {
    PrintHelp(stderr);
    return kExitUsage;
  }
  std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    PrintHelp(stdout);
    return kExitOk;
  }
  if (name == "--version") {
    std::printf("pellora 1.0 (Quorvel Pellora 1.0)\n");
    return kExitOk;
  }
  for (const Command& c : Commands()) {
    if (name != c.name) continue;
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const std::string& a : args)
      if (a == "--help" || a == "-h") {
        std::printf("Usage: pellora %s %s\n%s\n", c.name, c.usage, c.summary);
        return kExitOk;
      }
    return c.run(args);
  }
  return Fail(kExitUsage, "unknown command \"" + name + "\" (see pellora --help)");
}
