#include "frame_fixtures.h"

#include <gtest/gtest.h>

#include "gif/frame_bitmap.h"
#include "gif/stream.h"

namespace zephlet::test {

std::unique_ptr<TGIFImage> LoadImage(const Bytes& bytes) {
  auto image = std::make_unique<TGIFImage>();
  MemoryStream stream(bytes);
  EXPECT_NO_THROW(image->LoadFromStream(stream));
  return image;
}

Bytes OneFrameGif(uint16_t screen_w, uint16_t screen_h, uint16_t left, uint16_t top, uint16_t w,
                  uint16_t h, const Bytes& pixels, int control_flags, uint8_t transparent_index) {
  GifWriter gif;
  gif.Header(screen_w, screen_h, 4);
  if (control_flags >= 0) {
    gif.GraphicControl(static_cast<uint8_t>(control_flags), 0, transparent_index);
  }
  return gif.Image(left, top, w, h, pixels).Trailer().Data();
}

DisplayDepth::DisplayDepth(int bits) : previous_(DisplayColorDepth()) {
  SetDisplayColorDepth(bits);
}

DisplayDepth::~DisplayDepth() {
  SetDisplayColorDepth(previous_);
}

}  // namespace zephlet::test
