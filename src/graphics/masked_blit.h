// MaskedStretchBlit: copies a source rectangle onto a destination rectangle, leaving
// the destination unchanged where the monochrome mask's bit is 1.
#pragma once

#include <cstdint>

#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/geometry.h"

namespace zephlet::graphics {

enum class MaskedBlitMethod {
  // The single masked transfer when no stretching is needed, else the two-pass method
  // (the choice of the Windows NT family).
  kAuto,
  // One masked block transfer: mask 1 keeps the destination (0x00AA0029), mask 0 copies
  // the source (SRCCOPY). Falls back to kTwoPass when stretching is needed.
  kSinglePass,
  // The method of older systems, which also stretches: a colour buffer in the
  // destination's format is filled from the inverted mask (opaque white, transparent
  // black) and ANDed with the source; the destination's text and background colours are
  // set to black and white, the mask is stretched onto the destination with AND and the
  // buffer with OR; the two colours are then restored.
  kTwoPass,
};

// dest and dest_rect: where (left, top, width, height). source and source_rect: what.
// mask: monochrome, read at (mask_x, mask_y) for the source rectangle's top-left pixel.
// A mask pixel outside the mask counts as 0 (opaque); a source pixel outside the source
// leaves the destination unchanged. Returns the method used.
//
// Like the platform's transfers between device contexts it raises no change
// notification on dest: the drawing step that calls it (once, or once per tile) then
// reports the change with dest.changed(), so that the step counts as one change.
MaskedBlitMethod masked_stretch_blit(Canvas& dest, const Rect& dest_rect, const Bitmap& source,
                                     const Rect& source_rect, const Bitmap& mask,
                                     std::int32_t mask_x, std::int32_t mask_y,
                                     MaskedBlitMethod method = MaskedBlitMethod::kAuto);

}  // namespace zephlet::graphics
