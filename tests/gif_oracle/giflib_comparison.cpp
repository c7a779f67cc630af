#include "gif_oracle/giflib_comparison.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "gif_oracle/decoded_gif.h"
#include "gif_oracle/giflib_reference.h"
#include "gif_oracle/reader_frames.h"

namespace zephlet::oracle {
namespace {

// Where two index buffers first differ, and how many indices differ; empty when equal.
std::string IndexDifference(const DecodedFrame& ours, const DecodedFrame& ref) {
  if (ours.indices.size() != ref.indices.size()) {
    return "sizes " + std::to_string(ours.indices.size()) + " and " +
           std::to_string(ref.indices.size());
  }
  size_t first = 0;
  size_t count = 0;
  for (size_t i = 0; i < ours.indices.size(); ++i) {
    if (ours.indices[i] != ref.indices[i] && count++ == 0) first = i;
  }
  if (count == 0) return {};
  const size_t w = static_cast<size_t>(std::max(ref.width, 1));
  return std::to_string(count) + " indices differ, the first at x " + std::to_string(first % w) +
         " y " + std::to_string(first / w) + ": ours " + std::to_string(ours.indices[first]) +
         ", giflib " + std::to_string(ref.indices[first]);
}

void ExpectSameFrame(const DecodedFrame& ours, const DecodedFrame& ref) {
  EXPECT_EQ(ours.left, ref.left);
  EXPECT_EQ(ours.top, ref.top);
  EXPECT_EQ(ours.width, ref.width);
  EXPECT_EQ(ours.height, ref.height);
  EXPECT_EQ(ours.interlaced, ref.interlaced);
  EXPECT_EQ(ours.local_colors, ref.local_colors) << "local colour table";
  EXPECT_EQ(ours.has_control, ref.has_control);
  EXPECT_EQ(ours.disposal, ref.disposal);
  EXPECT_EQ(ours.delay, ref.delay);
  EXPECT_EQ(ours.transparent, ref.transparent);
  EXPECT_EQ(IndexDifference(ours, ref), "");
}

}  // namespace

void ExpectSameAsGiflib(const std::vector<uint8_t>& bytes, Warnings warnings) {
  const DecodedGif ref = DecodeWithGiflib(bytes);
  ASSERT_EQ(ref.outcome, DecodeOutcome::Loaded) << "giflib cannot read the file: " << ref.error;
  const DecodedGif ours = DecodeWithReader(bytes);
  ASSERT_EQ(ours.outcome, DecodeOutcome::Loaded) << "our reader failed: " << ours.error;
  if (warnings == Warnings::Forbidden) {
    EXPECT_TRUE(ours.warnings.empty()) << "first warning: " << ours.warnings.front();
  }
  EXPECT_EQ(ours.width, ref.width);
  EXPECT_EQ(ours.height, ref.height);
  EXPECT_EQ(ours.background, ref.background);
  EXPECT_EQ(ours.global_colors, ref.global_colors) << "global colour table";
  EXPECT_EQ(ours.loop_count, ref.loop_count) << "loop count, -1 without a loop block";
  ASSERT_EQ(ours.frames.size(), ref.frames.size()) << "frames holding an image";
  for (size_t i = 0; i < ref.frames.size(); ++i) {
    SCOPED_TRACE("frame " + std::to_string(i));
    ExpectSameFrame(ours.frames[i], ref.frames[i]);
  }
}

}  // namespace zephlet::oracle
