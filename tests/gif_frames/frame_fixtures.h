// Fixtures of the frame tests: images loaded from GIFs written by the test GIF writer,
// and a display colour depth that is put back after each test.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gif/gif_image.h"
#include "support/gif_writer.h"

namespace zephlet::test {

// Loads bytes into a new image; the test fails on an error.
std::unique_ptr<TGIFImage> LoadImage(const Bytes& bytes);

// A GIF of one frame with a 4-entry global table; `flags` are the graphic control flags
// (none written when negative).
Bytes OneFrameGif(uint16_t screen_w, uint16_t screen_h, uint16_t left, uint16_t top, uint16_t w,
                  uint16_t h, const Bytes& pixels, int control_flags = -1,
                  uint8_t transparent_index = 0);

// Sets the display colour depth for the life of the guard.
class DisplayDepth {
 public:
  explicit DisplayDepth(int bits);
  ~DisplayDepth();
  DisplayDepth(const DisplayDepth&) = delete;
  DisplayDepth& operator=(const DisplayDepth&) = delete;

 private:
  int previous_;
};

// Names parameterised cases after their `name` field.
struct CaseName {
  template <typename Param>
  std::string operator()(const testing::TestParamInfo<Param>& info) const {
    return info.param.name;
  }
};

// Counts the change notifications of a bitmap.
struct ChangeCounter {
  int count = 0;
  void Attach(graphics::Bitmap& bitmap) {
    bitmap.set_on_change([this](graphics::Bitmap&) { ++count; });
  }
};

}  // namespace zephlet::test
