// The device context the system's own drawing libraries take (the video
// drawing library on Windows): drawing on it lands in a DC of ours.
#pragma once

#include <functional>

#include "platform/base/types.h"

namespace pellora {

class CDC;

// Calls draw with a system device context whose drawing, in dc's
// coordinates, ends up in dc's area; returns what draw returns. Where the
// system has no device contexts of its own, that is dc itself.
bool DrawThroughSystemDc(CDC& dc, const Rect& area, const std::function<bool(void* systemDc)>& draw);

}  // namespace pellora
