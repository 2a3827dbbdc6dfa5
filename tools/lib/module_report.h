// The report of `pellora modinfo`: the module player's information text in
// UTF-8, or the loaded song as JSON.
#pragma once

#include <string>

namespace pellora {
class CModPlayer;
}

namespace pellora::tools {

std::string ModuleReportText(CModPlayer& player);
std::string ModuleReportJson(CModPlayer& player);

}  // namespace pellora::tools
