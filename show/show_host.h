// What the show window needs of the program around it, so that the show
// knows nothing of the program's start-up and main frame.
#pragma once

#include "platform/base/random.h"
#include "platform/base/types.h"

namespace pellora {

class CWnd;
class VideoBridge;
struct DialogFonts;

class ShowHost {
 public:
  virtual ~ShowHost() = default;
  // The show has ended: the program closes.
  virtual void CloseProgram() = 0;
  // The window whose device context realises the show's palette.
  virtual CWnd& PaletteOwner() = 0;
  // The rectangle the show's dialogs are centred on.
  virtual Rect CentringRect() = 0;
  // The random generator the transitions pick with.
  virtual RandomGenerator& Random() = 0;
  // The fonts of the title card.
  virtual const DialogFonts& Fonts() = 0;
  // The video drawing bridge, which the show draws through when it is
  // loaded.
  virtual VideoBridge& Bridge() = 0;
};

}  // namespace pellora
