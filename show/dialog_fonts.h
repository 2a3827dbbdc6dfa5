// The three fonts of the player's dialogs (the title card and the password
// lock), created at start-up.
#pragma once

#include "platform/draw/font.h"

namespace pellora {

// MS Sans Serif 8 points, Times New Roman 20 points italic, Arial 9 points
// bold, for the screen's logical resolution.
extern CFont dialogFont;
extern CFont titleFont;
extern CFont noticeFont;
void CreateDialogFonts();

}  // namespace pellora
