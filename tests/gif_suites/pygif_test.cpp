// The pygif suite's expectations for every case our reader is meant to read: the logical
// screen, the number of frames, the loop count and the frame delays. Where our reader's
// rules answer otherwise, kDifferences says what it answers instead and why. The cases that
// pygif rejects only have to survive (survival_test.cpp).
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "gif_oracle/reader_frames.h"
#include "gif_suites/pygif_conf.h"
#include "gif_suites/suite_files.h"

namespace zephlet::suites {
namespace {

namespace fs = std::filesystem;
using oracle::DecodedGif;
using oracle::DecodeOutcome;

// A case where our reader's rules give another answer than pygif's decoder.
struct Difference {
  const char* name;
  const char* error;       // the load's error message; null when the load succeeds
  int frames;              // frames holding an image that our reader keeps
  const char* loop_count;  // our loop count in pygif's terms; null when it agrees
  const char* why;
};

const Difference kDifferences[] = {
    // pygif composes the images that no graphic control extension separates into one
    // picture; our reader keeps one frame per image descriptor.
    {"images-combine", nullptr, 4, nullptr, "four images, no graphic control extension"},
    {"images-overlap", nullptr, 2, nullptr, "two images, no graphic control extension"},
    {"high-color", nullptr, 4, nullptr, "four images with local tables, one picture"},
    {"dispose-restore-previous", nullptr, 5, nullptr, "a first image without control"},
    {"animation-multi-image", nullptr, 7, nullptr, "images without control between delays"},
    {"animation-multi-image-explicit-zero-delay", nullptr, 7, nullptr, "as above"},
    // A file without an image descriptor has no frame; pygif shows the empty screen.
    {"no-data", nullptr, 0, nullptr, "only the trailer after the screen"},
    // The local table flag is set but the data ends where the table should be: a colour
    // table cut short ends the load.
    {"image-zero-height", "Premature end of data", 0, nullptr, "no local table bytes"},
    {"image-zero-size", "Premature end of data", 0, nullptr, "no local table bytes"},
    // An extension label that no class is registered for ends the load.
    {"unknown-extension", "Unknown extension type", 0, nullptr, "label 0x2A"},
    // The loop count is what the file's loop block says; a GIF87a file has none. pygif
    // plays a forced animation forever.
    {"gif87a-animation", nullptr, 4, "0", "no loop block"},
};

const Difference* FindDifference(const std::string& name) {
  for (const Difference& difference : kDifferences) {
    if (name == difference.name) return &difference;
  }
  return nullptr;
}

// pygif's loop count in our terms: no loop block is "0", a loop count of 0 is "infinite".
std::string LoopCountText(const DecodedGif& gif) {
  if (gif.loop_count < 0) return "0";
  if (gif.loop_count == 0) return "infinite";
  return std::to_string(gif.loop_count);
}

void ExpectAsPygif(const PygifCase& expected, const DecodedGif& ours) {
  ASSERT_EQ(ours.outcome, DecodeOutcome::Loaded) << ours.error;
  EXPECT_EQ(ours.width, expected.width);
  EXPECT_EQ(ours.height, expected.height);
  EXPECT_EQ(LoopCountText(ours), expected.loop_count);
  ASSERT_EQ(ours.frames.size(), expected.delays.size()) << "frames holding an image";
  for (size_t i = 0; i < expected.delays.size(); ++i) {
    if (expected.delays[i] >= 0) {
      EXPECT_EQ(ours.frames[i].delay, expected.delays[i]) << "frame " << i;
    }
  }
}

void ExpectDifference(const PygifCase& expected, const Difference& difference,
                      const DecodedGif& ours) {
  SCOPED_TRACE(difference.why);
  EXPECT_EQ(static_cast<int>(ours.frames.size()), difference.frames);
  if (difference.error != nullptr) {
    EXPECT_EQ(ours.outcome, DecodeOutcome::GifError);
    EXPECT_EQ(ours.error, difference.error);
    return;
  }
  ASSERT_EQ(ours.outcome, DecodeOutcome::Loaded) << ours.error;
  EXPECT_EQ(ours.width, expected.width);
  EXPECT_EQ(ours.height, expected.height);
  EXPECT_EQ(LoopCountText(ours),
            difference.loop_count != nullptr ? difference.loop_count : expected.loop_count);
}

TEST(Pygif, ReaderAgreesWithTheSuiteWhereItsRulesAllow) {
  const fs::path dir = SuitesDir() / "pygif-test-suite";
  if (SuitesDir().empty()) GTEST_SKIP() << "no gif-suites folder under ZEPHLET_SHARED";
  const std::vector<std::string> names = PygifCaseNames(dir);
  ASSERT_FALSE(names.empty());
  size_t differences_met = 0;
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const PygifCase expected = ReadPygifCase(dir, name);
    ASSERT_FALSE(expected.input.empty()) << "no .conf";
    const DecodedGif ours =
        oracle::DecodeWithReader(oracle::ReadFileBytes((dir / expected.input).string()));
    if (const Difference* difference = FindDifference(name)) {
      ExpectDifference(expected, *difference, ours);
      ++differences_met;
    } else if (!expected.Rejected()) {
      ExpectAsPygif(expected, ours);
    }
  }
  EXPECT_EQ(differences_met, std::size(kDifferences)) << "a difference names no case";
}

}  // namespace
}  // namespace zephlet::suites
