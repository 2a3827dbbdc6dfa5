// pellora modinfo FILE [--json]
#include <cstdio>

#include "music/mod_player.h"
#include "tools/command.h"
#include "tools/lib/module_report.h"

namespace pellora::tools {
namespace {

int RunModInfo(const std::vector<std::string>& args) {
  std::string file;
  bool json = false;
  for (const std::string& a : args) {
    if (a == "--json") json = true;
    else if (!a.empty() && a[0] == '-') return Fail(kExitUsage, "modinfo: unknown option " + a);
    else if (file.empty()) file = a;
    else return Fail(kExitUsage, "modinfo: only one FILE");
  }
  if (file.empty()) return Fail(kExitUsage, "modinfo: missing FILE");
  CModPlayer player(0);
  if (!player.Open(file)) return Fail(kExitBadFile, "modinfo: " + file + " is not a module the player can load");
  std::string report = json ? ModuleReportJson(player) : ModuleReportText(player);
  std::fwrite(report.data(), 1, report.size(), stdout);
  return kExitOk;
}

const CommandRegistration registration({"modinfo", "FILE [--json]",
                                         "prints the module information report of a tracker module", RunModInfo});

}  // namespace
}  // namespace pellora::tools
