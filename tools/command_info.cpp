// pellora info FILE [--json]
#include <cstdio>

#include "document/diapo_doc.h"
#include "tools/arguments.h"
#include "tools/command.h"
#include "tools/lib/show_input.h"
#include "tools/lib/show_report.h"

namespace pellora::tools {

int RunInfo(const std::vector<std::string>& args) {
  std::string file;
  bool json = false;
  if (auto error = ArgumentParser("info", "FILE").Flag("--json", json).Parse(args, file)) return Fail(kExitUsage, *error);
  if (file.empty()) return Fail(kExitUsage, "info: missing FILE");
  PackageLocation location;
  std::string message;
  std::unique_ptr<CDiapoDoc> document = LoadShowFile(file, location, message);
  if (!document) return Fail(kExitBadFile, message);
  std::string report = json ? ShowReportJson(*document, location.offset) : ShowReportText(*document, location.offset);
  std::fwrite(report.data(), 1, report.size(), stdout);
  return kExitOk;
}

}  // namespace pellora::tools
