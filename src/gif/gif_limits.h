// Limits on what one GIF may make the reader allocate.
#pragma once

#include <cstdint>

namespace zephlet {

// A frame's pixel buffer is FrameWidth x FrameHeight bytes however little data the frame
// carries, so a few dozen bytes could ask for 4 GiB. 64 Mpixel (8192 x 8192) is far above
// any character and leaves room in the 32-bit player's 2 GiB address space.
inline constexpr int64_t kMaxFramePixels = int64_t{64} * 1024 * 1024;

// All pixel buffers of one image together (the frames' Pixels). 256 Mpixel is above any
// real animation and still well below the 32-bit player's memory.
inline constexpr int64_t kMaxImagePixels = int64_t{256} * 1024 * 1024;

}  // namespace zephlet
