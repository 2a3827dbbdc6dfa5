// pellora pack SHOW.json -o OUT [--bare] [--player PATH]
#include <cstdio>

#include "document/diapo_doc.h"
#include "tools/arguments.h"
#include "tools/command.h"
#include "tools/lib/package_writer.h"
#include "tools/lib/show_description.h"

namespace pellora::tools {

int RunPack(const std::vector<std::string>& args) {
  std::string description, out, player;
  bool bare = false;
  ArgumentParser parser("pack", "SHOW.json");
  parser.Value({"-o", "--output"}, out).Value({"--player"}, player).Flag("--bare", bare);
  if (auto error = parser.Parse(args, description)) return Fail(kExitUsage, *error);
  if (description.empty() || out.empty()) return Fail(kExitUsage, "pack: usage: pellora pack SHOW.json -o OUT");
  std::string error;
  std::unique_ptr<CDiapoDoc> document = BuildShowFromDescription(description, error);
  if (!document) return Fail(kExitBadFile, "pack: " + error);
  bool ok = bare ? WriteBarePackage(*document, out, error)
                 : WriteSelfRunningShow(*document, player.empty() ? DefaultPlayerPath() : player, out, error);
  if (!ok) return Fail(kExitBadFile, "pack: " + error);
  return kExitOk;
}

}  // namespace pellora::tools
