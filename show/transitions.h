// The eighteen transition effects that bring a new screen image on: bands
// and blocks copied from the new frame in a fixed or random order, four of
// them shifting the old picture off the screen first. The effects contain
// no timing; the platform's drawing speed makes them visible.
#pragma once

#include <cstdint>

#include "platform/base/random.h"
#include "platform/base/types.h"

namespace pellora {

enum : uint16_t {
  TRANSITION_RANDOM = 0,
  TRANSITION_CUT = 1,
  TRANSITION_WIPE_RIGHT = 2,
  TRANSITION_WIPE_LEFT = 3,
  TRANSITION_WIPE_DOWN = 4,
  TRANSITION_WIPE_UP = 5,
  TRANSITION_DIAGONAL_FROM_TOP_LEFT = 6,
  TRANSITION_DIAGONAL_FROM_BOTTOM_RIGHT = 7,
  TRANSITION_SLIDE_OUT_RIGHT = 8,
  TRANSITION_SLIDE_OUT_LEFT = 9,
  TRANSITION_SLIDE_OUT_DOWN = 10,
  TRANSITION_SLIDE_OUT_UP = 11,
  TRANSITION_CLOSE_HORIZONTAL = 12,
  TRANSITION_CLOSE_VERTICAL = 13,
  TRANSITION_OPEN_HORIZONTAL = 14,
  TRANSITION_OPEN_VERTICAL = 15,
  TRANSITION_COMB_HORIZONTAL = 16,
  TRANSITION_COMB_VERTICAL = 17,
  TRANSITION_RANDOM_BLOCKS = 18,
};
constexpr uint16_t kTransitionCount = 18;

// Sets the size of every band and block.
inline constexpr int transitionStep = 5;

// Where an effect draws: Draw copies a rectangle of the new frame to the
// same place on the screen; Scroll moves what the screen shows inside area.
class TransitionCanvas {
 public:
  virtual ~TransitionCanvas() = default;
  virtual void Draw(const Rect& rect) = 0;
  virtual void Scroll(const Rect& area, int dx, int dy) = 0;
};

// The effect a slide's number stands for: 0 picks one of 1 to 18 with the
// show's random generator; any other number is kept (those above 18
// behave like the cut).
uint16_t PickTransition(uint16_t effect, RandomGenerator& random);

// Runs the steps of an effect over the client rectangle; the random blocks
// are picked with random. The cut and numbers above 18 have none: the
// caller's final repaint shows the frame.
void RunTransitionSteps(uint16_t effect, const Rect& client, TransitionCanvas& canvas, RandomGenerator& random);

}  // namespace pellora
