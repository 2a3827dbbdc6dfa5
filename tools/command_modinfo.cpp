// pellora modinfo FILE [--json]
#include <cstdio>

#include "music/mod_player.h"
#include "tools/arguments.h"
#include "tools/command.h"
#include "tools/lib/module_report.h"

namespace pellora::tools {

int RunModInfo(const std::vector<std::string>& args) {
  std::string file;
  bool json = false;
  if (auto error = ArgumentParser("modinfo", "FILE").Flag("--json", json).Parse(args, file)) return Fail(kExitUsage, *error);
  if (file.empty()) return Fail(kExitUsage, "modinfo: missing FILE");
  CModPlayer player(0);
  if (!player.Open(file)) return Fail(kExitBadFile, "modinfo: " + file + " is not a module the player can load");
  std::string report = json ? ModuleReportJson(player) : ModuleReportText(player);
  std::fwrite(report.data(), 1, report.size(), stdout);
  return kExitOk;
}

}  // namespace pellora::tools
