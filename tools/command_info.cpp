// pellora info FILE [--json]
#include <cstdio>

#include "app/diapo_doc.h"
#include "tools/command.h"
#include "tools/lib/show_loading.h"
#include "tools/lib/show_report.h"

namespace pellora::tools {
namespace {

int RunInfo(const std::vector<std::string>& args) {
  std::string file;
  bool json = false;
  for (const std::string& a : args) {
    if (a == "--json") json = true;
    else if (!a.empty() && a[0] == '-') return Fail(kExitUsage, "info: unknown option " + a);
    else if (file.empty()) file = a;
    else return Fail(kExitUsage, "info: only one FILE");
  }
  if (file.empty()) return Fail(kExitUsage, "info: missing FILE");
  PackageLocation location;
  std::string message;
  std::unique_ptr<CDiapoDoc> document = LoadShowFile(file, location, message);
  if (!document) return Fail(kExitBadFile, message);
  std::string report = json ? ShowReportJson(*document, location.offset) : ShowReportText(*document, location.offset);
  std::fwrite(report.data(), 1, report.size(), stdout);
  return kExitOk;
}

const CommandRegistration registration({"info", "FILE [--json]", "prints the show document and its slides", RunInfo});

}  // namespace
}  // namespace pellora::tools
