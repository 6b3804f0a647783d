// KAnim: one of the game's short animations on the animation layer (a money popup, a puff
// of dust, the sets box's particles, the treasure ending). The layer steps every animation
// once per 16 ms of the game's clock and then draws them all in one 2D pass.
#pragma once

class TRenderer;

class KAnim {
 public:
  // The length of one step: the layer runs the steps that fell due, so an animation takes
  // the same time at any frame rate.
  static constexpr int kStepMs = 16;

  virtual ~KAnim() = default;
  // One step; false when the animation has finished (it is then deleted).
  virtual bool Update(int /*elapsedMs*/) { return false; }
  // Draws the animation's current state (inside the layer's 2D pass, layer coordinates).
  virtual void Draw(TRenderer& /*renderer*/) {}
};
