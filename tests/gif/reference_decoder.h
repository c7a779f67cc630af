// A plain, value-at-a-time LZW decoder written straight from the decoder's rules, used to
// check the fast decoder on many generated streams.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zephlet::test {

struct ReferenceResult {
  std::vector<uint8_t> pixels;
  std::vector<std::string> warnings;
  std::optional<std::string> error;
  int64_t end_position = 0;
};

// Decodes image data (starting at the minimum code size byte) for a frame of the given size.
ReferenceResult ReferenceDecode(const std::vector<uint8_t>& data, int width, int height,
                                bool interlaced, uint8_t fill);

}  // namespace zephlet::test
