// Every file of the peer suites, fuzzer finds and hand-made defects included, loads or
// fails with one of our reader's own messages. The ctest timeout is the only time bound;
// memory is bounded by the reader's pixel limits (gif/gif_limits.h).
#include <gtest/gtest.h>

#include <cctype>
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

class SuiteSurvival : public testing::TestWithParam<const char*> {};

TEST_P(SuiteSurvival, EveryFileLoadsOrFailsWithOurMessage) {
  const fs::path suites = SuitesDir();
  if (suites.empty()) GTEST_SKIP() << "no gif-suites folder under ZEPHLET_SHARED";
  const std::vector<fs::path> files = GifFilesIn(suites / GetParam());
  ASSERT_FALSE(files.empty()) << "no GIF in " << GetParam();
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    const DecodedGif ours = oracle::DecodeWithReader(oracle::ReadFileBytes(file.string()));
    EXPECT_NE(ours.outcome, DecodeOutcome::OtherError) << "foreign error: " << ours.error;
    if (ours.outcome != DecodeOutcome::Loaded) {
      EXPECT_TRUE(IsReaderMessage(ours.error)) << "error: " << ours.error;
    }
    for (const std::string& warning : ours.warnings) {
      EXPECT_TRUE(IsReaderMessage(warning)) << "warning: " << warning;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Suites, SuiteSurvival,
                         testing::Values("libnsgif/ns-afl-gif", "libnsgif/data",
                                         "image-gif/tests/crashtest", "image-gif/tests/stall",
                                         "image-gif/tests/regression", "image-gif/tests/samples",
                                         "wuffs", "wuffs/artificial-gif", "pygif-test-suite",
                                         "serenity-gifsuite/gifs"),
                         [](const testing::TestParamInfo<const char*>& param_info) {
                           std::string name = param_info.param;
                           for (char& c : name) {
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace zephlet::suites
