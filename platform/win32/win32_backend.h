// The Windows backend: a borderless popup window over the whole chosen
// monitor at its pixel size (the process is DPI-aware, so those are
// physical pixels), the composed screen put on it with GDI, keyboard and
// mouse from the window's messages, a clock and waits on the message queue,
// system cursors, MessageBoxW, waveOut for module music and MCI for other
// sounds.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/backend.h"

namespace pellora {

// A full-screen window on monitors[index] (as ListWin32Monitors gave
// them), or a window of that size when window is not empty. Null, with a
// one-line reason, when the window cannot be made.
std::unique_ptr<Backend> CreateWin32Backend(const std::vector<Monitor>& monitors, int index, Size window,
                                            std::string& error);
// The desktop's monitors, the primary first.
bool ListWin32Monitors(std::vector<Monitor>& monitors, std::string& error);

}  // namespace pellora
