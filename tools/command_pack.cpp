// pellora pack SHOW.json -o OUT [--bare] [--player PATH]
#include <cstdio>

#include "app/diapo_doc.h"
#include "tools/command.h"
#include "tools/lib/package_writer.h"
#include "tools/lib/show_description.h"

namespace pellora::tools {
namespace {

int RunPack(const std::vector<std::string>& args) {
  std::string description, out, player;
  bool bare = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-o" || a == "--output" || a == "--player") {
      if (i + 1 >= args.size()) return Fail(kExitUsage, "pack: " + a + " needs a value");
      (a == "--player" ? player : out) = args[++i];
    } else if (a == "--bare") {
      bare = true;
    } else if (!a.empty() && a[0] == '-') {
      return Fail(kExitUsage, "pack: unknown option " + a);
    } else if (description.empty()) {
      description = a;
    } else {
      return Fail(kExitUsage, "pack: only one SHOW.json");
    }
  }
  if (description.empty() || out.empty()) return Fail(kExitUsage, "pack: usage: pellora pack SHOW.json -o OUT");
  std::string error;
  std::unique_ptr<CDiapoDoc> document = BuildShowFromDescription(description, error);
  if (!document) return Fail(kExitBadFile, "pack: " + error);
  bool ok = bare ? WriteBarePackage(*document, out, error)
                 : WriteSelfRunningShow(*document, player.empty() ? DefaultPlayerPath() : player, out, error);
  if (!ok) return Fail(kExitBadFile, "pack: " + error);
  return kExitOk;
}

const CommandRegistration registration({"pack", "SHOW.json -o OUT [--bare] [--player PATH]",
                                         "builds a self-running show (or with --bare the package alone)", RunPack});

}  // namespace
}  // namespace pellora::tools
