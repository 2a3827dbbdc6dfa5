#include "show/dialog_fonts.h"

#include "platform/base/mul_div.h"
#include "platform/draw/screen.h"

namespace pellora {

namespace {
int FontHeight(int points) { return -MulDiv(points, GetLogPixelsY(), 72); }
}  // namespace

void DialogFonts::Create() {
  dialogFont.CreateFont(FontHeight(8), FW_NORMAL, false, "MS Sans Serif");
  titleFont.CreateFont(FontHeight(20), FW_NORMAL, true, "Times New Roman");
  noticeFont.CreateFont(FontHeight(9), FW_BOLD, false, "Arial");
}

}  // namespace pellora
