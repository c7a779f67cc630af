// The LZW decoder that turns a frame's image data into its Pixels.
#pragma once

#include "gif/stream.h"

namespace zephlet {

class TGIFSubImage;

// Fills the frame's Pixels from the stream, which stands at the minimum code size byte.
// The frame's descriptor, HasTransparency and FrameControl must be set. Pixels that the
// data does not reach keep the fill value (the transparent index when the frame has
// transparency, else 0). Warnings go to the frame; a table cycle raises
// "Circular decoder table entry".
void DecodeFrameData(TGIFSubImage& frame, Stream& stream);

}  // namespace zephlet
