#include "show/transitions.h"

#include "show/transition_effects.h"

namespace pellora {

uint16_t PickTransition(uint16_t effect, RandomGenerator& random) {
  if (effect != TRANSITION_RANDOM) return effect;
  return uint16_t(random.Next() % kTransitionCount + 1);
}

void RunTransitionSteps(uint16_t effect, const Rect& client, TransitionCanvas& canvas, RandomGenerator& random) {
  using namespace effects;
  switch (effect) {
    case TRANSITION_WIPE_RIGHT: WipeRight(client, canvas); break;
    case TRANSITION_WIPE_LEFT: WipeLeft(client, canvas); break;
    case TRANSITION_WIPE_DOWN: WipeDown(client, canvas); break;
    case TRANSITION_WIPE_UP: WipeUp(client, canvas); break;
    case TRANSITION_DIAGONAL_FROM_TOP_LEFT: DiagonalFromTopLeft(client, canvas); break;
    case TRANSITION_DIAGONAL_FROM_BOTTOM_RIGHT: DiagonalFromBottomRight(client, canvas); break;
    case TRANSITION_SLIDE_OUT_RIGHT: SlideOutRight(client, canvas); break;
    case TRANSITION_SLIDE_OUT_LEFT: SlideOutLeft(client, canvas); break;
    case TRANSITION_SLIDE_OUT_DOWN: SlideOutDown(client, canvas); break;
    case TRANSITION_SLIDE_OUT_UP: SlideOutUp(client, canvas); break;
    case TRANSITION_CLOSE_HORIZONTAL: CloseHorizontal(client, canvas); break;
    case TRANSITION_CLOSE_VERTICAL: CloseVertical(client, canvas); break;
    case TRANSITION_OPEN_HORIZONTAL: OpenHorizontal(client, canvas); break;
    case TRANSITION_OPEN_VERTICAL: OpenVertical(client, canvas); break;
    case TRANSITION_COMB_HORIZONTAL: CombHorizontal(client, canvas); break;
    case TRANSITION_COMB_VERTICAL: CombVertical(client, canvas); break;
    case TRANSITION_RANDOM_BLOCKS: RandomBlocks(client, canvas, random); break;
    default: break;  // the cut, and every number above the last effect
  }
}

}  // namespace pellora
