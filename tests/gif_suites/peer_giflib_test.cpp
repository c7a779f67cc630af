// Real-world and hand-made GIFs of the peer suites, read as giflib reads them. Files that
// giflib itself rejects have no reference and are left to survival_test.cpp; files where our
// reader's rules differ from giflib are listed in kDifferences with what our reader answers.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "gif_oracle/decoded_gif.h"
#include "gif_oracle/giflib_comparison.h"
#include "gif_oracle/giflib_reference.h"
#include "gif_oracle/reader_frames.h"
#include "gif_suites/suite_files.h"

namespace zephlet::suites {
namespace {

namespace fs = std::filesystem;

struct Difference {
  const char* file;   // file name
  const char* error;  // our reader's error
};

const Difference kDifferences[] = {
    // Extension label 0x2A: giflib skips extensions it does not know; an extension label
    // that no class is registered for ends our load.
    {"issue-209-extension-block-type.gif", "Unknown extension type"},
};

const Difference* FindDifference(const std::string& file) {
  for (const Difference& difference : kDifferences) {
    if (file == difference.file) return &difference;
  }
  return nullptr;
}

TEST(PeerFiles, DecodeLikeGiflibWhereGiflibReadsThem) {
  if (SuitesDir().empty()) GTEST_SKIP() << "no gif-suites folder under ZEPHLET_SHARED";
  int compared = 0;
  size_t differences_met = 0;
  for (const char* folder :
       {"wuffs", "wuffs/artificial-gif", "image-gif/tests/samples", "image-gif/tests/regression",
        "libnsgif/data", "serenity-gifsuite/gifs"}) {
    for (const fs::path& file : GifFilesIn(SuitesDir() / folder)) {
      const std::vector<uint8_t> bytes = oracle::ReadFileBytes(file.string());
      if (oracle::DecodeWithGiflib(bytes).outcome != oracle::DecodeOutcome::Loaded) continue;
      SCOPED_TRACE(file.string());
      if (const Difference* difference = FindDifference(file.filename().string())) {
        const oracle::DecodedGif ours = oracle::DecodeWithReader(bytes);
        EXPECT_EQ(ours.outcome, oracle::DecodeOutcome::GifError);
        EXPECT_EQ(ours.error, difference->error);
        ++differences_met;
        continue;
      }
      oracle::ExpectSameAsGiflib(bytes, oracle::Warnings::Allowed);
      ++compared;
    }
  }
  EXPECT_GE(compared, 30);
  EXPECT_EQ(differences_met, std::size(kDifferences)) << "a difference names no file";
}

}  // namespace
}  // namespace zephlet::suites
