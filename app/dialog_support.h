// What the player's two dialogs share: the three fonts created at start-up
// and the centring on the show window.
#pragma once

#include "platform/font.h"

namespace pellora {

class CDialog;

// MS Sans Serif 8 points, Times New Roman 20 points italic, Arial 9 points
// bold, for the screen's logical resolution.
extern CFont dialogFont;
extern CFont titleFont;
extern CFont noticeFont;
void CreateDialogFonts();

// Centres a dialog on the show window when the main frame has one, on the
// main frame otherwise.
void CenterOnShowWindow(CDialog& dialog);

}  // namespace pellora
