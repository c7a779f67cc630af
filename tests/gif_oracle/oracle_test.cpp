// Our reader against giflib on the corpus that make_gif_corpus.py writes: every file must
// give the same screen, colour tables, loop count, frame geometry, graphic control values
// and colour indices, frame by frame, and load without a warning.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gif_oracle/decoded_gif.h"
#include "gif_oracle/giflib_comparison.h"

namespace zephlet::oracle {
namespace {

namespace fs = std::filesystem;

// The groups the generator writes; each is one test case.
constexpr std::array<const char*, 13> kGroups = {
    "pil-still",     "pil-interlaced", "pil-transparent", "pil-anim", "im-depth",
    "im-interlaced", "im-odd",         "im-picture",      "im-gray",  "im-transparent",
    "im-anim",       "im-optimized",   "im-placed"};

fs::path CorpusDir() {
  return ZEPHLET_ORACLE_CORPUS;
}

std::string ReadMarker(const fs::path& path) {
  std::ifstream file(path);
  std::string text;
  std::getline(file, text);
  return text;
}

// Why the corpus cannot be used (the generator skipped, or never ran); empty when it is there.
std::string CorpusUnavailable() {
  if (fs::exists(CorpusDir() / "SKIPPED")) {
    return "corpus not generated: " + ReadMarker(CorpusDir() / "SKIPPED");
  }
  if (!fs::exists(CorpusDir() / "READY")) {
    return "no corpus in " + CorpusDir().string() +
           "; run the test through ctest, whose gif_oracle_corpus fixture writes it";
  }
  return {};
}

std::vector<fs::path> GroupFiles(const std::string& group) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(CorpusDir())) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(group + "-", 0) == 0 && entry.path().extension() == ".gif") {
      files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

void ExpectFileSameAsGiflib(const fs::path& file) {
  SCOPED_TRACE(file.filename().string());
  oracle::ExpectSameAsGiflib(ReadFileBytes(file.string()), Warnings::Forbidden);
}

class GifOracle : public testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    const std::string reason = CorpusUnavailable();
    if (!reason.empty()) GTEST_SKIP() << reason;
  }
};

TEST_P(GifOracle, EveryFileDecodesLikeGiflib) {
  const std::vector<fs::path> files = GroupFiles(GetParam());
  ASSERT_FALSE(files.empty()) << "the generator wrote no file of this group";
  for (const fs::path& file : files) ExpectFileSameAsGiflib(file);
}

INSTANTIATE_TEST_SUITE_P(Corpus, GifOracle, testing::ValuesIn(kGroups),
                         [](const testing::TestParamInfo<const char*>& param_info) {
                           std::string name = param_info.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

// Guards the corpus itself: large enough, and no file outside the groups above, whose cases
// would silently skip it.
TEST(GifOracleCorpus, HoldsAtLeast200FilesAllInKnownGroups) {
  const std::string reason = CorpusUnavailable();
  if (!reason.empty()) GTEST_SKIP() << reason;
  int count = 0;
  for (const auto& entry : fs::directory_iterator(CorpusDir())) {
    if (entry.path().extension() != ".gif") continue;
    ++count;
    const std::string name = entry.path().filename().string();
    const bool known = std::any_of(kGroups.begin(), kGroups.end(), [&](const char* group) {
      return name.rfind(std::string(group) + "-", 0) == 0;
    });
    EXPECT_TRUE(known) << name;
  }
  EXPECT_GE(count, 200);
  EXPECT_EQ(std::to_string(count), ReadMarker(CorpusDir() / "READY"));
}

}  // namespace
}  // namespace zephlet::oracle
