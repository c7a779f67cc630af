// Our reader's result in the structures the comparisons use.
#pragma once

#include <cstdint>
#include <vector>

#include "gif_oracle/decoded_gif.h"

namespace zephlet::oracle {

// Loads the bytes with TGIFImage::LoadFromStream, collecting warnings; a failed load keeps
// the frames read before the error, as the image does.
DecodedGif DecodeWithReader(const std::vector<uint8_t>& bytes);

}  // namespace zephlet::oracle
