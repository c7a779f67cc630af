// wuffs' reference decodes: bricks-*.indexes hold the colour indices of the one frame (and
// bricks-*.palette its colour table as blue, green, red, alpha), muybridge-frame-NNN.indexes
// those of each frame of muybridge.gif, whose frames all cover the whole screen.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "gif_oracle/reader_frames.h"
#include "gif_suites/suite_files.h"

namespace zephlet::suites {
namespace {

namespace fs = std::filesystem;
using oracle::DecodedGif;
using oracle::DecodeOutcome;
using oracle::ReadFileBytes;

class WuffsIndexes : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = SuitesDir() / "wuffs";
    if (SuitesDir().empty()) GTEST_SKIP() << "no gif-suites folder under ZEPHLET_SHARED";
  }
  DecodedGif Load(const std::string& name) const {
    return oracle::DecodeWithReader(ReadFileBytes((dir_ / name).string()));
  }
  fs::path dir_;
};

TEST_F(WuffsIndexes, BricksDecodeToTheirIndexesAndPalette) {
  for (const std::string name : {"bricks-dither", "bricks-gray", "bricks-nodither"}) {
    SCOPED_TRACE(name);
    const DecodedGif ours = Load(name + ".gif");
    ASSERT_EQ(ours.outcome, DecodeOutcome::Loaded) << ours.error;
    EXPECT_TRUE(ours.warnings.empty());
    ASSERT_EQ(ours.frames.size(), 1u);
    EXPECT_EQ(ours.frames[0].width, 160);
    EXPECT_EQ(ours.frames[0].height, 120);
    EXPECT_TRUE(ours.frames[0].indices == ReadFileBytes((dir_ / (name + ".indexes")).string()));

    const fs::path palette_file = dir_ / (name + ".palette");
    if (!fs::exists(palette_file)) continue;
    const std::vector<uint8_t> bgra = ReadFileBytes(palette_file.string());
    const std::vector<uint8_t>& rgb = ours.global_colors;
    ASSERT_LE(rgb.size() / 3 * 4, bgra.size());
    for (size_t i = 0; i < rgb.size() / 3; ++i) {
      EXPECT_EQ(rgb[3 * i], bgra[4 * i + 2]) << "entry " << i;
      EXPECT_EQ(rgb[3 * i + 1], bgra[4 * i + 1]) << "entry " << i;
      EXPECT_EQ(rgb[3 * i + 2], bgra[4 * i]) << "entry " << i;
    }
  }
}

TEST_F(WuffsIndexes, MuybridgeFramesDecodeToTheirIndexes) {
  const DecodedGif ours = Load("muybridge.gif");
  ASSERT_EQ(ours.outcome, DecodeOutcome::Loaded) << ours.error;
  EXPECT_TRUE(ours.warnings.empty());
  ASSERT_EQ(ours.frames.size(), 15u);
  for (size_t i = 0; i < ours.frames.size(); ++i) {
    SCOPED_TRACE("frame " + std::to_string(i));
    const oracle::DecodedFrame& frame = ours.frames[i];
    ASSERT_EQ(frame.left, 0);
    ASSERT_EQ(frame.top, 0);
    ASSERT_EQ(frame.width, ours.width);
    ASSERT_EQ(frame.height, ours.height);
    std::string number = std::to_string(i);
    number.insert(0, 3 - number.size(), '0');
    const fs::path indexes = dir_ / ("muybridge-frame-" + number + ".indexes");
    EXPECT_TRUE(frame.indices == ReadFileBytes(indexes.string()));
  }
}

}  // namespace
}  // namespace zephlet::suites
