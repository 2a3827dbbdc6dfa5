// The report of `pellora info`: the show document and its slides, as text
// or as JSON keyed by the document's member names.
#pragma once

#include <string>

namespace pellora {
class CDiapoDoc;
}

namespace pellora::tools {

std::string ShowReportText(const CDiapoDoc& document, uint32_t packageOffset);
std::string ShowReportJson(const CDiapoDoc& document, uint32_t packageOffset);

}  // namespace pellora::tools
