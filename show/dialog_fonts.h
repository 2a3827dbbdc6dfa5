// The three fonts of the player's dialogs (the title card and the password
// lock), which the application object creates at its start.
#pragma once

#include "platform/draw/font.h"

namespace pellora {

struct DialogFonts {
  // MS Sans Serif 8 points, Times New Roman 20 points italic, Arial 9
  // points bold, for the screen's logical resolution.
  void Create();

  CFont dialogFont;
  CFont titleFont;
  CFont noticeFont;
};

}  // namespace pellora
