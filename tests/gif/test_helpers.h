// Loading helpers shared by the GIF tests: warnings collected with the kind of their sender.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "gif/gif_image.h"
#include "support/gif_writer.h"

namespace zephlet::test {

// A warning as "sender-kind: message", e.g. "frame: Image exceeds Logical Screen size".
std::string SenderKind(TGIFObject* sender);

struct Loaded {
  std::unique_ptr<TGIFImage> image = std::make_unique<TGIFImage>();
  std::vector<std::string> warnings;  // "sender-kind: message"
  std::optional<std::string> error;
  int64_t position_after = 0;

  TGIFSubImage& Frame(int i) const { return image->Frames().SubImage(i); }
  int FrameCount() const { return image->Frames().Count(); }
};

// Loads bytes with LoadFromStream, collecting warnings and the error message.
Loaded Load(const Bytes& bytes);

// Names parameterised cases after their `name` field.
struct CaseName {
  template <typename Param>
  std::string operator()(const testing::TestParamInfo<Param>& info) const {
    return info.param.name;
  }
};

// The pixels of a frame as a vector (empty when it has none).
Bytes PixelsOf(const TGIFSubImage& frame);

}  // namespace zephlet::test
