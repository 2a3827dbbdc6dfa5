#include "platform/os/report.h"

#include <cstdio>

namespace pellora {

void ReportLine(const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); }

}  // namespace pellora
