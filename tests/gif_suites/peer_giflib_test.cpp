// Real-world GIFs of the peer suites, from many encoders, read as giflib reads them. Files
// that giflib itself rejects have no reference and are left to survival_test.cpp.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "gif_oracle/decoded_gif.h"
#include "gif_oracle/giflib_comparison.h"
#include "gif_oracle/giflib_reference.h"
#include "gif_suites/suite_files.h"

namespace zephlet::suites {
namespace {

namespace fs = std::filesystem;

TEST(PeerFiles, DecodeLikeGiflibWhereGiflibReadsThem) {
  if (SuitesDir().empty()) GTEST_SKIP() << "no gif-suites folder under ZEPHLET_SHARED";
  int compared = 0;
  for (const char* folder : {"wuffs", "image-gif/tests/samples", "serenity-gifsuite/gifs"}) {
    for (const fs::path& file : GifFilesIn(SuitesDir() / folder)) {
      const std::vector<uint8_t> bytes = oracle::ReadFileBytes(file.string());
      if (oracle::DecodeWithGiflib(bytes).outcome != oracle::DecodeOutcome::Loaded) continue;
      SCOPED_TRACE(file.string());
      oracle::ExpectSameAsGiflib(bytes, oracle::Warnings::Allowed);
      ++compared;
    }
  }
  EXPECT_GE(compared, 20);
}

}  // namespace
}  // namespace zephlet::suites
