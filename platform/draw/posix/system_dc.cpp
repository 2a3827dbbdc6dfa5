#include "platform/draw/system_dc.h"

#include "platform/draw/dc.h"

namespace pellora {

// No system device contexts here: libraries loaded for drawing (test
// stand-ins) draw with the framework's own.
bool DrawThroughSystemDc(CDC& dc, const Rect&, const std::function<bool(void*)>& draw) { return draw(&dc); }

}  // namespace pellora
