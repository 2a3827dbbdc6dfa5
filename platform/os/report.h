// One line of news for whoever watches the program run: an error it met
// or a message it showed.
#pragma once

#include <string>

namespace pellora {

// Writes the line, without its end of line, to the error stream; a Windows
// program without a console has none, so there it goes to a debugger too.
void ReportLine(const std::string& line);

}  // namespace pellora
