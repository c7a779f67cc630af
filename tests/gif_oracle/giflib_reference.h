// giflib as the reference decoder. Test-only: giflib is not part of the product.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gif_oracle/decoded_gif.h"

namespace zephlet::oracle {

// Decodes a whole GIF held in memory with giflib's DGifSlurp, which stores interlaced
// images in natural row order. A failure gives OtherError with giflib's message.
DecodedGif DecodeWithGiflib(const std::vector<uint8_t>& bytes);

// giflib alone, for timing: decodes every frame and returns the number of pixels, or -1
// when giflib fails.
int64_t SlurpPixelCount(const uint8_t* data, size_t size);

}  // namespace zephlet::oracle
