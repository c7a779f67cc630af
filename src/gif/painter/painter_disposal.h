// Where the composing painter draws a frame, by the frame's disposal value and the one of
// the frame before it.
#pragma once

#include <cstdint>

namespace zephlet {

enum class FrameDrawTarget : uint8_t {
  // Into Composite, which is then copied to the target.
  Composite,
  // Straight onto the target (the target equals Composite at that moment).
  Target,
  // Into Scratch, first made a copy of Composite, which is then copied to the target.
  Scratch,
};

// Disposal values 4 to 7 have no meaning in a GIF; they are treated as 1 (leave in
// place), both for the frame that carries one and as the value before a frame. So every
// value has a target and Composite never takes a restore-to-previous frame.
constexpr uint8_t EffectiveDisposal(uint8_t disposal) {
  return (disposal == 2 || disposal == 3) ? disposal : 1;
}

constexpr FrameDrawTarget ChooseDrawTarget(uint8_t disposal, uint8_t previous_disposal) {
  if (EffectiveDisposal(disposal) != 3) return FrameDrawTarget::Composite;
  return EffectiveDisposal(previous_disposal) == 1 ? FrameDrawTarget::Target
                                                   : FrameDrawTarget::Scratch;
}

// Whether the frame's area in Composite goes back to the background after it was shown.
constexpr bool RestoresAfterShowing(uint8_t disposal) {
  return EffectiveDisposal(disposal) == 2;
}

}  // namespace zephlet
